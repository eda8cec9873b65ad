#include "internet/web/WebPage.h"

#include "internet/WebAddress.h"
#include "platform/Shell.h"

namespace {

// Takes the first address a new window would load and hands it to the desktop's browser.
class ExternalPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        const QString address = url.toString(QUrl::FullyEncoded);
        if (WebAddress::isAllowed(address) && url.scheme() != QLatin1String("about"))
            ShellExecute(QStringLiteral("Open"), address);
        deleteLater();
        return false;
    }
};

} // namespace

WebPage::WebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
}

bool WebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    // Frames load what their page asks (about:srcdoc, data: images); the pane itself shows
    // only addresses that pass the rules.
    if (isMainFrame) {
        const QString address = url.toString(QUrl::FullyEncoded);
        if (!WebAddress::isAllowed(address))
            return false;
        Q_EMIT mainFrameNavigating(address);
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

QWebEnginePage* WebPage::createWindow(WebWindowType)
{
    return new ExternalPage(profile(), this);
}
