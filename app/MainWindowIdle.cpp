#include "app/MainWindowIdle.h"

#include "app/MainWindowControls.h"
#include "app/MainWindowModes.h"
#include "app/MainWindowWatch.h"
#include "app/TFormMainFolvane3.h"
#include "browse/FileFormat.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/ui/TextPaneState.h"
#include "platform/ui/ViewPane.h"
#include "viewers/FileKinds.h"
#include "viewers/ViewModeTexts.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHash>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QStyle>
#include <QToolButton>

#include <utility>

namespace {

const TextPaneState* textState(const TFormMainFolvane3* window, TViewMode mode)
{
    return dynamic_cast<const TextPaneState*>(window->pane(mode));
}

// Whether the window's focus is in widget: the window's own focus child, which it keeps
// while another window is active, so the commands stay enabled as the user left them.
bool hasFocusIn(const QWidget* window, const QWidget* widget)
{
    const QWidget* focus = window->focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}

// The style's picture, made once: the style reads and decodes its image files on every
// request, and the idle handler asks for pictures after each change of the current item.
const QIcon& standardPicture(QStyle::StandardPixmap which)
{
    static const QStyle* madeBy = nullptr;
    static QHash<int, QIcon> made;
    if (std::exchange(madeBy, QApplication::style()) != QApplication::style())
        made.clear();
    auto it = made.find(int(which));
    if (it == made.end())
        it = made.insert(int(which), QApplication::style()->standardIcon(which));
    return *it;
}

// The picture of the View button in the file manager, by the kind of the current item.
QIcon viewPicture(const QString& file, bool isDir, bool encryptedZip)
{
    using namespace FileKinds;
    const char* name = "text-x-generic-template";
    if (encryptedZip)
        return QIcon::fromTheme(QStringLiteral("emblem-encrypted"), standardPicture(QStyle::SP_MessageBoxWarning));
    if (isDir)
        name = "folder";
    else if (HasExtension(file, QStringLiteral(".TXT")))
        name = "text-x-generic";
    else if (HasExtension(file, QStringLiteral(".ZIP")))
        name = "package-x-generic";
    else if (IsMovieFile(file))
        name = "video-x-generic";
    else if (IsAudioFile(file) || HasExtension(file, QStringLiteral(".M3U")))
        name = "audio-x-generic";
    else if (IsImageFile(file))
        name = "image-x-generic";
    else if (IsWebPageFile(file) || HasExtension(file, QStringLiteral(".URL")))
        name = "text-html";
    return QIcon::fromTheme(QLatin1String(name), standardPicture(isDir ? QStyle::SP_DirIcon : QStyle::SP_FileIcon));
}

} // namespace

MainWindowIdle::MainWindowIdle(TFormMainFolvane3* window, MainWindowControls& c, MainWindowModes& modes)
    : QObject(window)
    , m_window(window)
    , m_c(c)
    , m_modes(modes)
{
    // The clipboard is asked only when it changes: asking its owner at every idle moment
    // would be a round trip to another program each time.
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto readClipboard = [this, clipboard] {
        const QMimeData* data = clipboard->mimeData();
        m_clipboardHasText = data && data->hasText();
    };
    readClipboard();
    connect(clipboard, &QClipboard::dataChanged, this, readClipboard);
    // The selection is read again only after the list says it changed.
    auto dirty = [this] { m_selectionDirty = true; };
    TFileViewFol* list = c.FileViewFol1;
    connect(list->currentView()->selectionModel(), &QItemSelectionModel::selectionChanged, this, dirty);
    connect(list->currentView()->selectionModel(), &QItemSelectionModel::currentChanged, this, dirty);
    connect(&list->model(), &QAbstractItemModel::modelReset, this, dirty);
    connect(&list->model(), &QAbstractItemModel::rowsInserted, this, dirty);
    connect(&list->model(), &QAbstractItemModel::rowsRemoved, this, dirty);
    connect(&list->model(), &QAbstractItemModel::layoutChanged, this, dirty);
    connect(&m_facts, &PathFactsCache::changed, this, [this] { m_forced = true; });
    connect(&modes, &MainWindowModes::modeSwitched, this, [this] {
        m_forced = true;
        UpdateControlStates();
    });
}

void MainWindowIdle::start()
{
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &MainWindowIdle::UpdateControlStates, Qt::UniqueConnection);
}

const MainWindowIdle::Selection& MainWindowIdle::selection()
{
    if (!m_selectionDirty)
        return m_selection;
    m_selectionDirty = false;
    TFileViewFol* list = m_c.FileViewFol1;
    const QModelIndexList rows = list->selectedRows();
    const QModelIndex current = list->currentView()->currentIndex();
    const bool currentSelected = current.isValid() && list->currentView()->selectionModel()->isSelected(current);
    const QModelIndex item = currentSelected ? current.siblingAtColumn(0) : rows.value(0);
    m_selection.count = int(rows.size());
    m_selection.item = item.isValid() ? item.data(FileListModel::FullPathRole).toString() : QString();
    return m_selection;
}

void MainWindowIdle::UpdateControlStates()
{
    // A pass can open no window, but a style or a pane may run events: never nested.
    if (m_running || !m_window->isVisible())
        return;
    QScopedValueRollback<bool> running(m_running, true);
    const QString treePath = m_c.PathViewFol1->SelectedPath();
    updateCaption(treePath);
    m_folderIsValid = folderOfActivePaneExists(treePath);
    const ControlFacts facts = gatherFacts(treePath);
    m_states = ComputeControlStates(facts);
    applyEveryIdle(m_states);
    // The refresh owed to the browse panes waits for the file manager to show them.
    if (TViewMode(m_window->CurrentMode()) == vmFileManager && m_window->watch().applyPendingRefresh())
        return;

    const TViewMode mode = TViewMode(m_window->CurrentMode());
    const QString item = mode == vmWebBrowser ? m_c.ComboBoxURL->currentText()
        : mode == vmFileManager                 ? selection().item
                                                : m_window->CurrentFile();
    const QString folder = PathText::withTrailingSlash(treePath);
    const int count = selection().count;
    // Compared with the last pass's own copies: other handlers set CurrentFile and
    // CurrentPath too (the list's selection, the tree's folder change).
    if (!m_forced && folder == m_lastPath && item == m_lastItem && count == m_lastCount && mode == m_lastMode)
        return;
    m_forced = false;
    if (!treePath.isEmpty() && m_facts.facts(treePath).isDir)
        m_window->setCurrentPath(folder);
    // In a pane the current file is the one the pane shows; the switch set it.
    if (mode == vmFileManager || mode == vmWebBrowser)
        m_window->setCurrentFile(item);
    m_lastPath = folder;
    m_lastItem = item;
    m_lastCount = count;
    m_lastMode = mode;
    const ControlFacts now = gatherFacts(treePath);
    applyOnChange(ComputeControlStates(now), now);
}

void MainWindowIdle::updateCaption(const QString& treePath)
{
    if (m_captionHeld)
        return;
    const TViewMode mode = TViewMode(m_window->CurrentMode());
    const PathFactsCache::Facts facts = m_facts.facts(treePath);
    const QString caption = facts.isDir
        ? ViewModeTexts::Caption(mode, facts.driveName, FormatFileSize(facts.total), FormatFileSize(facts.free))
        : ViewModeTexts::ModeTitle(mode);
    if (m_window->windowTitle() != caption)
        m_window->setWindowTitle(caption);
}

bool MainWindowIdle::folderOfActivePaneExists(const QString& treePath)
{
    if (hasFocusIn(m_window, m_c.FileViewFol1))
        return !m_c.FileViewFol1->isDriveView() && m_facts.facts(m_c.FileViewFol1->Directory()).isDir;
    if (hasFocusIn(m_window, m_c.PathViewFol1))
        return m_facts.facts(treePath).isDir;
    return false;
}

ControlFacts MainWindowIdle::gatherFacts(const QString& treePath)
{
    ControlFacts f;
    f.mode = TViewMode(m_window->CurrentMode());
    f.listFocused = hasFocusIn(m_window, m_c.FileViewFol1);
    f.treeFocused = hasFocusIn(m_window, m_c.PathViewFol1);
    f.selectionCount = selection().count;
    f.listIsDriveView = m_c.FileViewFol1->isDriveView();
    const QTreeWidgetItem* node = m_c.PathViewFol1->currentItem();
    f.treeHasSelection = node != nullptr;
    f.treeLevel = node ? node->data(0, TPathViewFol::LevelRole).toInt() : 0;
    f.treePathExists = m_facts.facts(treePath).isDir;
    f.renaming = qobject_cast<QLineEdit*>(m_window->focusWidget())
        && (f.listFocused || f.treeFocused);
    f.folderIsValid = m_folderIsValid;
    f.currentFile = m_window->CurrentFile();
    const PathFactsCache::Facts file = m_facts.facts(f.currentFile);
    f.currentFileExists = file.exists;
    f.selectedItemExists = !selection().item.isEmpty() && m_facts.facts(selection().item).exists;
    if (const TextPaneState* editor = textState(m_window, vmTextEditor)) {
        f.editorHasSelection = editor->hasSelection();
        f.editorCanUndo = editor->canUndo();
        f.editorModified = editor->isModified();
        f.editorLineCount = editor->lineCount();
    }
    if (const TextPaneState* viewer = textState(m_window, vmFileViewer))
        f.viewerHasSelection = viewer->hasSelection();
    f.clipboardHasText = m_clipboardHasText;
    return f;
}

void MainWindowIdle::applyEveryIdle(const ControlStates& s)
{
    m_c.buttons[size_t(BandButton::FileViewerCopy)]->setEnabled(s.fileViewerCopy);
    m_c.buttons[size_t(BandButton::TextEditorPrint)]->setEnabled(s.textEditorPrint);
    m_c.buttons[size_t(BandButton::UnDo)]->setEnabled(s.undo);
    for (BandButton b : {BandButton::EditorCut, BandButton::EditorCopy, BandButton::EditorDelete})
        m_c.buttons[size_t(b)]->setEnabled(s.editorCutCopyDelete);
    m_c.buttons[size_t(BandButton::EditorPaste)]->setEnabled(s.editorPaste);
    m_c.buttons[size_t(BandButton::Save)]->setEnabled(s.save);
    m_c.topMenus[size_t(MainMenu::FileTools)]->setEnabled(s.fileTools);
    m_c.topMenus[size_t(MainMenu::Drive)]->setEnabled(s.drive);
}

void MainWindowIdle::applyOnChange(const ControlStates& s, const ControlFacts& facts)
{
    const TViewMode mode = TViewMode(m_window->CurrentMode());
    const QString file = m_window->CurrentFile();
    const int count = selection().count;
    TFileViewFol* list = m_c.FileViewFol1;
    const int selected = count > 0 ? list->currentView()->currentIndex().row() : -1;
    const QString hint = ViewModeTexts::SpinnerHintText(mode, list->model().rowCount(), selected, [list](int row) {
        return PathText::nameOf(list->model().index(row, 0).data(FileListModel::FullPathRole).toString());
    });
    m_c.SpinViewer->setToolTip(Prompter::displayText(hint));
    m_c.SpinViewerPrevious->setToolTip(m_c.SpinViewer->toolTip());
    m_c.SpinViewerNext->setToolTip(m_c.SpinViewer->toolTip());
    // In a pane the spinner and View stay usable: View closes the pane.
    const bool viewEnabled = s.view || mode != vmFileManager;
    m_c.SpinViewer->setEnabled(viewEnabled);
    QPalette arrows = m_c.SpinViewer->palette();
    arrows.setColor(QPalette::ButtonText, viewEnabled ? QColor(Qt::darkBlue) : QColor(Qt::gray));
    m_c.SpinViewer->setPalette(arrows);
    m_c.MenuViewFile->setEnabled(viewEnabled);
    m_c.buttons[size_t(BandButton::TextEditor)]->setEnabled(s.textEditor);
    m_c.buttons[size_t(BandButton::TextEditor)]->setIcon(QIcon::fromTheme(
        s.textEditor && FileKinds::IsTextFile(file) ? QStringLiteral("text-x-generic") : QStringLiteral("text-x-generic-template"),
        standardPicture(QStyle::SP_FileIcon)));
    for (BandButton b : {BandButton::NewTextFile, BandButton::Zip})
        m_c.buttons[size_t(b)]->setEnabled(s.newTextFileAndZip);
    m_c.buttons[size_t(BandButton::UnZip)]->setEnabled(s.unZip);
    m_c.buttons[size_t(BandButton::Delete)]->setEnabled(s.deleteButton);
    if (QAction* menuDelete = m_window->findChild<QAction*>(QStringLiteral("MenuDelete")))
        menuDelete->setEnabled(s.deleteButton);
    updateViewButton(facts);
    if (mode == vmFileManager)
        updateStatus();
}

void MainWindowIdle::updateViewButton(const ControlFacts& facts)
{
    const TViewMode mode = facts.mode;
    m_c.MenuViewFile->setToolTip(ViewModeTexts::ViewHint(mode, facts.currentFile));
    m_c.ButtonViewFile->setToolTip(m_c.MenuViewFile->toolTip());
    QToolButton* web = m_c.buttons[size_t(BandButton::Web)];
    if (mode == vmWebBrowser) {
        web->setToolTip(ViewModeTexts::ModeTitle(vmFileManager));
        web->setIcon(standardPicture(QStyle::SP_DirHomeIcon));
    } else {
        web->setToolTip(QStringLiteral("World Wide Web"));
        web->setIcon(standardPicture(QStyle::SP_DriveNetIcon));
    }
    if (mode == vmFileManager) {
        const PathFactsCache::Facts file = m_facts.facts(facts.currentFile);
        // The encrypted-archive picture only when ShowZipEncryptStatus asks for it.
        const bool encrypted = file.zipEncrypted && m_window->settings().showZipEncryptStatus;
        m_c.MenuViewFile->setIcon(viewPicture(facts.currentFile, file.isDir, encrypted));
    } else if (mode != vmWebBrowser) {
        m_c.MenuViewFile->setIcon(standardPicture(QStyle::SP_DialogCloseButton));
    }
}

void MainWindowIdle::updateStatus()
{
    for (QLabel* panel : m_c.statusPanels)
        panel->clear();
    const int count = selection().count;
    if (count == 0)
        return;
    m_c.statusPanels[0]->setText(QString::number(count) + QStringLiteral(" selected"));
    m_c.statusPanels[1]->setText(FormatFileSize(m_c.FileViewFol1->SelectedSize()));
}
