#pragma once
// The web pane's engine profile, made on the first entry into web mode and never before:
// loading the engine costs a browser's start, which the program's own start must not pay.
// Its data and cache live in the program's folders (WebProfileFolders).

class QWebEngineProfile;

class WebProfile {
public:
    // The profile, made now when it is not yet.
    static QWebEngineProfile* instance();
    // The profile when it was made in this run, else nullptr (the clean-up then clears the
    // folders on disk without starting the engine).
    static QWebEngineProfile* existing();
};
