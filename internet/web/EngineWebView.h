#pragma once
// The web pane's page area on Qt WebEngine: a QWebEngineView showing a WebPage on the
// program's profile, reporting through WebView's signals. The view holds the profile
// while it lives (WebProfile::acquire and release).

#include "internet/ui/WebView.h"

class PageSaver;
class QWebEngineView;
class WebPage;

class EngineWebView : public WebView {
    Q_OBJECT
public:
    explicit EngineWebView(QWidget* parent = nullptr);
    ~EngineWebView() override;

    void load(const QString& address) override;
    void stop() override;
    QString address() const override;
    QString title() const override;
    void savePage(const QString& target) override;

private:
    QWebEngineView* m_view;
    WebPage* m_page;
    PageSaver* m_saver;
};
