#include "app/MainWindowModes.h"

#include "app/MainWindowBands.h"
#include "app/MainWindowControls.h"
#include "app/TFormMainFolvane3.h"
#include "browse/FileFormat.h"
#include "browse/TFileViewFol.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/ui/ViewPane.h"
#include "viewers/FileKinds.h"
#include "viewers/ViewModeTexts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QSlider>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

#include <sys/stat.h>

namespace {

// The status panel 2 texts of the panes that write no status of their own here.
const char* const kPaneStatus[kViewModeCount] = {nullptr, nullptr, nullptr, nullptr, nullptr, "IMAGE VIEWER", "ZIP VIEWER"};

} // namespace

MainWindowModes::MainWindowModes(TFormMainFolvane3* window, MainWindowControls& c)
    : QObject(window)
    , m_window(window)
    , m_c(c)
{
    // The window is built showing the file manager.
    m_shownPane = window->pane(vmFileManager);
    m_shownPane->enter(QString());
}

QString MainWindowModes::accessErrorText(const QString& path)
{
    return QStringLiteral("Can not access file\r\n") + path
        + QStringLiteral("\r\n\r\nThe file is being used by another\r\napplication or is damaged.");
}

bool MainWindowModes::editorAccepts(const QString& path)
{
    if (!LocalFiles::exists(path))
        return true;
    if (!FileKinds::CanOpenFile(path)) {
        Prompter::instance().error(accessErrorText(path));
        return false;
    }
    return FileKinds::IsTextFile(path)
        || Prompter::instance().confirm(PathText::nameOf(path) + QStringLiteral("\r\nNot a text file, open to edit?"));
}

bool MainWindowModes::SwitchViewMode(TViewMode mode, const QString& path, LeaveCheck check)
{
    // A queued spinner click or a second command cannot start a switch inside this one.
    if (m_switching)
        return false;
    QScopedValueRollback<bool> busy(m_switching, true);
    m_c.SpinViewer->setEnabled(false);
    // The editor is refused the file before anything is left, so a No keeps the window
    // as it was.
    const bool allowed = (mode != vmTextEditor || editorAccepts(path)) && (check == LeaveCheck::Asked || m_shownPane->mayLeave());
    if (allowed) {
        m_window->SaveBandLayout(m_window->CurrentMode());
        m_shownPane->leave();
        if (mode == vmFileManager)
            bringBrowsePanesTo(path);
        showPane(mode, path);
        record(mode, path);
    }
    m_c.SpinViewer->setEnabled(true);
    Q_EMIT modeSwitched();
    return allowed;
}

void MainWindowModes::firstSwitch(TViewMode mode, const QString& path)
{
    m_shownPane->leave();
    showPane(mode, path);
    record(mode, path);
    Q_EMIT modeSwitched();
}

void MainWindowModes::bringBrowsePanesTo(const QString& path)
{
    BrowseNavigator& navigator = m_window->navigator();
    if (LocalFiles::isFile(path)) {
        const QString folder = PathText::withTrailingSlash(PathText::folderOf(path));
        if (folder != PathText::withTrailingSlash(m_c.FileViewFol1->Directory()))
            navigator.reload(folder);
        m_c.FileViewFol1->SelectFileWhenListed(path);
    } else if (LocalFiles::isDir(path)) {
        navigator.reload(PathText::withTrailingSlash(path));
    } else {
        // A path that is gone: the current folder (program state), or the nearest folder
        // above it that still exists; the navigator falls back to the home folder.
        navigator.reload(m_window->CurrentPath());
    }
}

void MainWindowModes::showPane(TViewMode mode, const QString& path)
{
    ViewPane* next = m_window->pane(mode);
    m_window->LoadBandLayout(mode);
    m_window->bands().showBand(next->toolBand());
    m_c.rightPane->setCurrentWidget(next->widget());
    const PaneChromes chrome = next->chrome();
    m_c.PanelPath->setVisible(chrome.testFlag(PaneChrome::PathPanel));
    m_c.ComboBoxURL->setVisible(chrome.testFlag(PaneChrome::AddressBox));
    m_c.MediaTrackBar->setVisible(chrome.testFlag(PaneChrome::TrackBar));
    m_c.ButtonHex->setVisible(chrome.testFlag(PaneChrome::HexButton));
    m_c.TrackBarMediaRes->setEnabled(mode == vmMoviePlayer);
    // A widget in a tool bar shows and hides through its action.
    QToolBar* imageBand = m_c.bands[bandImage];
    for (QAction* action : imageBand->actions()) {
        if (imageBand->widgetForAction(action) == m_c.ComboboxScaleJPG)
            action->setVisible(mode == vmImageViewer && FileKinds::IsJfifOrExifFile(path));
    }
    m_c.MeterItemStatus->hide();
    for (int i = 0; i < 3; ++i)
        m_c.statusPanels[size_t(i)]->clear();
    if ((mode == vmMoviePlayer || mode == vmImageViewer || mode == vmZipViewer) && LocalFiles::exists(path))
        SelectFileInList(path);
    m_shownPane = next;
    next->enter(path);
    showPaneStatus(mode, path);
    QWidget* focus = mode == vmFileManager ? m_c.FileViewFol1->currentView() : next->widget();
    if (focus->isVisible())
        focus->setFocus();
}

void MainWindowModes::showPaneStatus(TViewMode mode, const QString& path)
{
    if (mode == vmFileManager)
        return;
    if (kPaneStatus[mode]) {
        m_c.statusPanels[0]->setText(PathText::nameOf(path));
        m_c.statusPanels[2]->setText(QLatin1String(kPaneStatus[mode]));
    }
    // The archive's own size: the list may not show its folder yet (the first switch).
    struct stat st {};
    if (mode == vmZipViewer && ::stat(FileName::encode(path).constData(), &st) == 0)
        m_c.statusPanels[1]->setText(FormatFileSize(st.st_size));
}

void MainWindowModes::record(TViewMode mode, const QString& path)
{
    m_window->m_currentMode = mode;
    m_window->setCurrentFile(path);
    // A web address has no folder: the current folder stays.
    if (LocalFiles::isDir(path))
        m_window->setCurrentPath(PathText::withTrailingSlash(path));
    else if (LocalFiles::exists(path))
        m_window->setCurrentPath(PathText::withTrailingSlash(PathText::folderOf(path)));
}

void MainWindowModes::SelectFileInList(const QString& path)
{
    m_c.FileViewFol1->SelectFileInList(path);
}

QString MainWindowModes::StepFileSelection(bool forward)
{
    TFileViewFol* list = m_c.FileViewFol1;
    const int count = list->model().rowCount();
    if (count == 0)
        return QString();
    QAbstractItemView* view = list->currentView();
    const QModelIndex current = view->currentIndex();
    const bool selected = current.isValid() && view->selectionModel()->isSelected(current);
    const int from = selected ? current.row() : (forward ? -1 : count);
    const int row = ((from + (forward ? 1 : -1)) % count + count) % count;
    const QModelIndex index = list->model().index(row, 0);
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
    list->followSelection();
    return index.data(FileListModel::FullPathRole).toString();
}

bool MainWindowModes::mayClose()
{
    return m_shownPane->mayLeave();
}

void MainWindowModes::preserveUnsaved()
{
    m_shownPane->preserveUnsaved();
}
