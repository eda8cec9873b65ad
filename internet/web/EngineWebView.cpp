#include "internet/web/EngineWebView.h"

#include "internet/web/PageSaver.h"
#include "internet/web/WebPage.h"
#include "internet/web/WebProfile.h"

#include <QVBoxLayout>
#include <QWebEngineView>

EngineWebView::EngineWebView(QWidget* parent)
    : WebView(parent)
    , m_view(new QWebEngineView(this))
    , m_page(new WebPage(WebProfile::acquire(), m_view))
    , m_saver(new PageSaver(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    m_view->setPage(m_page);
    connect(m_page, &WebPage::mainFrameNavigating, this, &WebView::mainFrameNavigating);
    connect(m_view, &QWebEngineView::loadStarted, this, &WebView::loadStarted);
    connect(m_view, &QWebEngineView::loadProgress, this, &WebView::loadProgress);
    connect(m_view, &QWebEngineView::loadFinished, this, &WebView::loadFinished);
    connect(m_page, &QWebEnginePage::linkHovered, this, &WebView::linkHovered);
    connect(m_saver, &PageSaver::saved, this, &WebView::pageSaved);
}

EngineWebView::~EngineWebView()
{
    // The page goes before the profile it runs on; the last view closes the profile.
    delete m_view;
    WebProfile::release();
}

void EngineWebView::load(const QString& address)
{
    m_view->load(QUrl(address));
}

void EngineWebView::stop()
{
    m_view->stop();
}

QString EngineWebView::address() const
{
    return m_view->url().toString(QUrl::FullyEncoded);
}

QString EngineWebView::title() const
{
    return m_view->title();
}

void EngineWebView::savePage(const QString& target)
{
    m_saver->save(*m_page, target);
}
