#include "internet/web/WebEnginePlugin.h"

#include "internet/web/EngineWebView.h"
#include "internet/web/WebProfile.h"

#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

WebView* WebEnginePlugin::createView(QWidget* parent)
{
    return new EngineWebView(parent);
}

bool WebEnginePlugin::clearCache()
{
    QWebEngineProfile* profile = WebProfile::existing();
    if (!profile)
        return false;
    profile->clearHttpCache();
    return true;
}

bool WebEnginePlugin::clearHistoryAndCookies()
{
    QWebEngineProfile* profile = WebProfile::existing();
    if (!profile)
        return false;
    profile->clearAllVisitedLinks();
    profile->cookieStore()->deleteAllCookies();
    return true;
}
