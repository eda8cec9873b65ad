#pragma once
// The web pane's engine profile, made on the first entry into web mode and never before:
// loading the engine costs a browser's start, which the program's own start must not pay.
// Its data and cache live in the program's folders (WebProfileFolders).
//
// Every engine view holds the profile while it lives (acquire / release); when the last
// one goes, the profile is closed at once. The engine writes what it keeps (preferences,
// visited links, network state, the cache index) when its profile closes: closing it with
// the last view makes that happen while the window is torn down, into the folders it was
// made for, and not at the process's very end (when those folders may be gone: a test's
// temporary home, or an XDG folder changed meanwhile). The next view makes a new profile.

class QWebEngineProfile;

class WebProfile {
public:
    // The profile, made now when it is not yet, held by one more view.
    static QWebEngineProfile* acquire();
    // A view that acquired the profile has let its page go; the last one closes the profile.
    static void release();
    // The profile when one is open, else nullptr (the clean-up then clears the folders on
    // disk without starting the engine).
    static QWebEngineProfile* existing();
};
