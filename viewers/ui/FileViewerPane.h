#pragma once
// The text/hex file viewer pane (mode vmFileViewer): the control FileViewer, its popup
// PopupMenuFileViewer, the band ToolBarView's buttons (Hex, Copy, Font), the status line and
// the viewer's stored values (subkey "Viewer"). Enter steps to the next file of the list,
// Backspace switches between text and hex (the mode is stored), a double click closes.
// While a search runs, the status bar's meter shows how far it got.

#include "platform/ui/TextPaneState.h"
#include "platform/ui/ViewPane.h"

#include <QWidget>

class BrowsePanes;
class FileViewerControl;
class QMenu;
class QTimer;
class WindowContext;
struct ViewerSettings;

class FileViewerPane : public QWidget, public ViewPane, public TextPaneState {
    Q_OBJECT
public:
    FileViewerPane(WindowContext& context, ViewerSettings& settings, QWidget* parent = nullptr);

    FileViewerControl* viewer() const { return m_viewer; }
    QMenu* PopupMenuFileViewer() const { return m_popup; }
    // The file list, which Enter steps through.
    void setBrowsePanes(BrowsePanes* panes) { m_panes = panes; }

    TViewMode mode() const override { return vmFileViewer; }
    QWidget* widget() const override { return const_cast<FileViewerPane*>(this); }
    int toolBand() const override { return bandView; }
    PaneChromes chrome() const override { return PaneChrome::HexButton; }
    QString settingsGroup() const override;
    void enter(const QString& path) override;
    void leave() override;
    // Selects the next (previous) item of the file list, from the last to the first, and
    // shows it.
    void stepFile(int direction) override;
    // What the idle handler enables Copy by.
    bool hasSelection() const override;

    void applySettings();
    bool hasLines() const;
    void MenuCopyClick();
    void MenuSelectAllClick();
    void MenuFontClick();
    // ButtonHexClick: hex mode from the button's down state.
    void ButtonHexClick();
    void PopupFileViewerHexClick();
    // Back to the file manager, as View does.
    void close();
    // Starts a search; its end is told by the control's searchDone.
    void startFind(const QString& text, bool matchCase);

Q_SIGNALS:
    void findRequested();
    void deleteRequested();
    void sendCopyRequested();

private:
    void buildPopup();
    void PopupMenuFileViewerPopup();
    void showStatus();
    void showSearchProgress();

    WindowContext& m_context;
    ViewerSettings& m_settings;
    FileViewerControl* m_viewer;
    BrowsePanes* m_panes = nullptr;
    QMenu* m_popup = nullptr;
    QTimer* m_progressTimer;
};
