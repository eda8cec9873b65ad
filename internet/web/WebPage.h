#pragma once
// The page of the web pane. Every main-frame navigation passes the program's address rules (http,
// https, file, about:blank); a main-frame navigation is announced with mainFrameNavigating
// before it loads, as the browser control's before-navigate event was, so that frames never
// reach the history. A request for a new window opens the address in the desktop's browser.

#include <QWebEnginePage>

class WebPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit WebPage(QWebEngineProfile* profile, QObject* parent = nullptr);

Q_SIGNALS:
    void mainFrameNavigating(const QString& address);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
};
