#pragma once
// The web browser pane WebBrowser1 (mode vmWebBrowser): the page, the address box
// ComboBoxURL above it and the buttons of ToolBarBrowser, with the window's own back and
// forward history (BrowserHistory). The engine starts on the first entry into web mode.
//
// Every address the program loads goes through the address box (NavigateTo): only a text
// with "://" whose scheme is http, https or file (or about:blank) is loaded, whether it was
// typed, chosen from a favourite or read from a .URL file. Back and Forward load the
// history's neighbouring entry once; the engine's own history is not used.
//
// The page area comes from the web module, loaded on the first entry; when it cannot be
// loaded the pane says why instead of showing a page.

#include "internet/BrowserHistory.h"
#include "platform/ui/BasicViewPane.h"

class QComboBox;
class QLabel;
class QMenu;
class QVBoxLayout;
class WebView;
class WindowContext;

class WebBrowserPane : public BasicViewPane {
    Q_OBJECT
public:
    static const QString kHomeAddress;

    WebBrowserPane(WindowContext& context, QComboBox* addressBox, QWidget* parent = nullptr);

    void enter(const QString& path) override;
    void leave() override;

    // Shows address in the pane, entering web mode first from any other mode.
    void NavigateTo(const QString& address);
    // Loads the address box's text when it holds "://" and passes the address rules.
    void navigateToAddressBox();

    const BrowserHistory& history() const { return m_history; }
    // The page shown (empty before the engine started) and its title.
    QString currentAddress() const;
    QString currentTitle() const;
    // The clean-up's last step: stops loading, empties the drop-down list and puts the home
    // address in the box. The history stays.
    void clearAddresses();

    void WebBackBtnClick();
    void WebForwardBtnClick();
    void WebStopBtnClick();
    void WebRefreshBtnClick();
    void WebHomeBtnClick();
    void WebSaveBtnClick();

Q_SIGNALS:
    // A page finished loading (ok false: it failed).
    void loadFinished(bool ok);
    // Save page ended; ok false: target was left as it was.
    void pageSaved(const QString& target, bool ok);

private:
    // Makes the view through the web module; false (with the reason shown) when it cannot.
    bool ensureView();
    void showUnavailable(const QString& reason);
    // Puts address in the box and loads it, in web mode.
    void navigate(const QString& address);
    void connectButtons();
    void buildSitesMenu();
    void beforeNavigate(const QString& address);
    void showProgress(int progress);
    void documentComplete(bool ok);
    void updateButtons();

    WindowContext& m_context;
    QComboBox* m_address;
    QVBoxLayout* m_layout;
    WebView* m_view = nullptr;
    QLabel* m_unavailable = nullptr;
    BrowserHistory m_history;
    bool m_loading = false;
    QString m_requested; // the address loaded by the event being handled
};
