#include "internet/ui/WebBrowserPane.h"

#include "internet/SavePageName.h"
#include "internet/WebAddress.h"
#include "internet/ui/WebEngineModule.h"
#include "internet/ui/WebModuleLoader.h"
#include "internet/ui/WebView.h"
#include "platform/LocalFiles.h"
#include "platform/Pickers.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"
#include "viewers/FileKinds.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct Site {
    const char* name;
    const char* caption;
    const char* address;
};

// The fixed destinations of ButtonWeb's drop-down.
const Site kSites[] = {
    {"MenuQuorvel", "Quorvel", "https://www.debian.org/"},
    {"MenuGoogle", "Google", "https://www.google.com/"},
    {"MenuYahoo", "Yahoo", "https://www.yahoo.com/"},
    {"MenuWorldTime", "World Time", "https://www.timeanddate.com/worldclock/"},
};

} // namespace

const QString WebBrowserPane::kHomeAddress = QString::fromLatin1(kSites[0].address);

WebBrowserPane::WebBrowserPane(WindowContext& context, QComboBox* addressBox, QWidget* parent)
    : BasicViewPane({vmWebBrowser, "WebBrowser1", bandBrowser, PaneChrome::AddressBox, nullptr}, parent)
    , m_context(context)
    , m_address(addressBox)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_address->setToolTip(QStringLiteral("Enter URL"));
    m_address->setInsertPolicy(QComboBox::NoInsert);
    connect(m_address, &QComboBox::activated, this, &WebBrowserPane::navigateToAddressBox);
    connect(m_address->lineEdit(), &QLineEdit::returnPressed, this, &WebBrowserPane::navigateToAddressBox);
    connectButtons();
    buildSitesMenu();
    updateButtons();
}

void WebBrowserPane::connectButtons()
{
    const std::pair<BandButton, void (WebBrowserPane::*)()> handlers[] = {
        {BandButton::BrowserBack, &WebBrowserPane::WebBackBtnClick},
        {BandButton::BrowserForward, &WebBrowserPane::WebForwardBtnClick},
        {BandButton::BrowserStop, &WebBrowserPane::WebStopBtnClick},
        {BandButton::BrowserRefresh, &WebBrowserPane::WebRefreshBtnClick},
        {BandButton::WebHome, &WebBrowserPane::WebHomeBtnClick},
        {BandButton::WebSave, &WebBrowserPane::WebSaveBtnClick},
    };
    for (const auto& [which, handler] : handlers)
        connect(m_context.button(which), &QToolButton::clicked, this, handler);
}

void WebBrowserPane::buildSitesMenu()
{
    QToolButton* web = m_context.button(BandButton::Web);
    auto* menu = new QMenu(web);
    menu->setObjectName(QStringLiteral("PopupMenuBrowserURLS"));
    for (const Site& site : kSites) {
        QAction* item = menu->addAction(QString::fromLatin1(site.caption));
        item->setObjectName(QLatin1String(site.name));
        const QString address = QString::fromLatin1(site.address);
        connect(item, &QAction::triggered, this, [this, address] { NavigateTo(address); });
    }
    web->setMenu(menu);
    web->setPopupMode(QToolButton::MenuButtonPopup);
}

bool WebBrowserPane::ensureView()
{
    if (m_view)
        return true;
    if (m_unavailable)
        return false;
    WebEngineModule* module = WebModuleLoader::load();
    if (!module) {
        showUnavailable(WebModuleLoader::errorString());
        return false;
    }
    m_view = module->createView(this);
    m_layout->addWidget(m_view);
    connect(m_view, &WebView::mainFrameNavigating, this, &WebBrowserPane::beforeNavigate);
    connect(m_view, &WebView::loadStarted, this, [this] {
        m_loading = true;
        updateButtons();
    });
    connect(m_view, &WebView::loadProgress, this, &WebBrowserPane::showProgress);
    connect(m_view, &WebView::loadFinished, this, &WebBrowserPane::documentComplete);
    connect(m_view, &WebView::linkHovered, this, [this](const QString& link) {
        if (auto* window = qobject_cast<QMainWindow*>(m_context.window()))
            window->statusBar()->showMessage(link);
    });
    connect(m_view, &WebView::pageSaved, this, &WebBrowserPane::pageSaved);
    return true;
}

void WebBrowserPane::showUnavailable(const QString& reason)
{
    m_unavailable = new QLabel(reason, this);
    m_unavailable->setObjectName(QStringLiteral("LabelWebUnavailable"));
    m_unavailable->setAlignment(Qt::AlignCenter);
    m_unavailable->setWordWrap(true);
    m_layout->addWidget(m_unavailable);
}

void WebBrowserPane::enter(const QString& path)
{
    if (!ensureView()) {
        m_context.statusPanel(0)->setText(m_unavailable->text());
        return;
    }
    // The window records the mode once the pane is entered: load here, without asking it.
    if (FileKinds::IsWebPageFile(path) && LocalFiles::isFile(path))
        navigate(WebAddress::forLocalFile(path));
    else if (WebAddress::looksNavigable(path))
        navigate(path);
    else if (m_history.entries().isEmpty())
        navigate(kHomeAddress);
    if (m_view->isVisible())
        m_view->setFocus();
}

void WebBrowserPane::leave()
{
    if (m_view)
        m_view->stop();
    m_context.meter()->hide();
}

void WebBrowserPane::NavigateTo(const QString& address)
{
    if (m_context.currentMode() != vmWebBrowser) {
        // Entering the mode with the address loads it (once).
        m_context.switchMode(vmWebBrowser, address);
        return;
    }
    navigate(address);
}

void WebBrowserPane::navigate(const QString& address)
{
    m_address->setEditText(address);
    navigateToAddressBox();
}

void WebBrowserPane::navigateToAddressBox()
{
    const QString text = m_address->currentText().trimmed();
    if (!WebAddress::looksNavigable(text) || !WebAddress::isAllowed(text))
        return;
    // Enter on a text that is in the drop-down list is also reported as choosing that item:
    // one key press loads the page once.
    if (m_requested == text)
        return;
    m_requested = text;
    QTimer::singleShot(0, this, [this] { m_requested.clear(); });
    if (!ensureView())
        return;
    m_history.markTyped();
    m_view->load(text);
}

void WebBrowserPane::beforeNavigate(const QString& address)
{
    const bool typed = m_history.isTyped();
    m_history.beforeNavigate(address);
    if (typed) {
        const QSignalBlocker blocker(m_address);
        m_address->clear();
        m_address->addItems(m_history.typedAddresses());
    }
    m_address->setEditText(address);
    m_context.statusPanel(0)->setText(address);
    updateButtons();
}

void WebBrowserPane::showProgress(int progress)
{
    QProgressBar* meter = m_context.meter();
    if (progress >= 1 && progress <= 100) {
        meter->setValue(progress);
        meter->show();
    } else {
        meter->hide();
        meter->setValue(0);
    }
}

void WebBrowserPane::documentComplete(bool ok)
{
    m_loading = false;
    m_context.statusPanel(0)->setText(QStringLiteral("Done"));
    m_context.meter()->hide();
    updateButtons();
    Q_EMIT loadFinished(ok);
}

void WebBrowserPane::updateButtons()
{
    m_context.button(BandButton::BrowserBack)->setEnabled(m_history.canGoBack());
    m_context.button(BandButton::BrowserForward)->setEnabled(m_history.canGoForward());
    m_context.button(BandButton::BrowserStop)->setEnabled(m_loading);
    m_context.button(BandButton::WebSave)->setEnabled(m_view && !m_view->address().isEmpty());
}

QString WebBrowserPane::currentAddress() const
{
    return m_view ? m_view->address() : QString();
}

QString WebBrowserPane::currentTitle() const
{
    return m_view ? m_view->title() : QString();
}

void WebBrowserPane::WebBackBtnClick()
{
    WebStopBtnClick();
    if (m_history.canGoBack())
        navigate(m_history.backAddress());
}

void WebBrowserPane::WebForwardBtnClick()
{
    WebStopBtnClick();
    if (m_history.canGoForward())
        navigate(m_history.forwardAddress());
}

void WebBrowserPane::WebStopBtnClick()
{
    if (m_view)
        m_view->stop();
}

void WebBrowserPane::WebRefreshBtnClick()
{
    navigateToAddressBox();
}

void WebBrowserPane::WebHomeBtnClick()
{
    navigate(kHomeAddress);
}

void WebBrowserPane::WebSaveBtnClick()
{
    if (currentAddress().isEmpty())
        return;
    const QString chosen = Pickers::instance().saveFile(QStringLiteral("Save As"), QString(),
                                                        QStringLiteral("All Files (*.*);;Text Files (*.TXT)"));
    if (chosen.isEmpty())
        return;
    // The question is about the file that will be written, after its extension changed.
    const QString target = SavePageName::finalName(chosen);
    if (LocalFiles::exists(target)
        && !Prompter::instance().confirm(target + QStringLiteral(" already exists.\r\nDo you want to replace it?")))
        return;
    m_view->savePage(target);
}

void WebBrowserPane::clearAddresses()
{
    WebStopBtnClick();
    if (m_view)
        m_view->update();
    m_history.clearTyped();
    m_address->clear();
    m_address->setEditText(kHomeAddress);
}
