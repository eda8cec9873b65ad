#pragma once
// The web module's entry: the plugin object QPluginLoader makes when the window first enters
// web mode.

#include "internet/ui/WebEngineModule.h"

#include <QObject>

class WebEnginePlugin : public QObject, public WebEngineModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID FolvaneWebEngineModule_iid)
    Q_INTERFACES(WebEngineModule)
public:
    WebView* createView(QWidget* parent) override;
    bool clearCache() override;
    bool clearHistoryAndCookies() override;
};
