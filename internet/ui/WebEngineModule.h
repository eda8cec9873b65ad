#pragma once
// What the web module (a plugin loaded on the first entry into web mode) offers the window:
// engine views on the program's own profile, and the clean-up of that profile while it is in
// use. The module holds everything that links the engine; WebModuleLoader finds and loads it.

#include <QtPlugin>

class QWidget;
class WebView;

class WebEngineModule {
public:
    virtual ~WebEngineModule() = default;

    // A new view on the program's profile (made now when it is not yet).
    virtual WebView* createView(QWidget* parent) = 0;
    // The profile's clean-up through the engine. False when no profile was made in this run:
    // the caller then deletes the profile's folders on disk.
    virtual bool clearCache() = 0;
    virtual bool clearHistoryAndCookies() = 0;
};

#define FolvaneWebEngineModule_iid "org.folvane.Folvane3.WebEngineModule/1"
Q_DECLARE_INTERFACE(WebEngineModule, FolvaneWebEngineModule_iid)
