#include "app/ViewCommands.h"

#include "app/MainWindowControls.h"
#include "app/MainWindowModes.h"
#include "app/SettingsStore.h"
#include "app/TFormMainFolvane3.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "platform/HistoryList.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Pickers.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/ui/ViewPane.h"
#include "platform/ui/WindowContext.h"
#include "viewers/DesktopAssociations.h"
#include "viewers/FileKinds.h"
#include "viewers/RunCommand.h"
#include "viewers/ui/TRunDlg.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QThreadPool>
#include <QItemSelectionModel>
#include <QMenu>
#include <QToolButton>

using namespace FileKinds;

namespace {

const QString kNoSelection = QStringLiteral("No file selected!\r\nSelect the file you what to view.");

// The open dialog's filters. "All Files" is "*": on Linux "*.*" would hide names without a dot.
const char* const kOpenFilters[] = {
    "Text File (*.TXT)", "All Files (*)", "Movies (*.WMV *.MPG *.MPEG *.AVI *.ASX *.ASF *.MP4 *.MKV *.WEBM *.MOV)",
    "Images (*.BMP *.JPG *.JPEG *.ICO *.WMF *.EMF *.GIF)", "ZIP (*.ZIP)", "Browser (*.HTM *.HTML *.URL)",
};
enum OpenFilter { TextFilter = 1, AllFilter, MovieFilter, ImageFilter, ZipFilter, BrowserFilter };

// The filter of each mode in the open dialog (mode 0 and the shell: all files).
constexpr int kModeFilter[kViewModeCount] = {AllFilter, BrowserFilter, AllFilter, TextFilter, MovieFilter, ImageFilter, ZipFilter};

QString runHistoryKey()
{
    return SettingsStore::subkeyPath(QStringLiteral("MRURun"));
}

QStringList loadRunHistory(const QString& settingsFile)
{
    Registry registry(settingsFile);
    return registry.load() ? HistoryList::read(registry, runHistoryKey(), QStringLiteral("MRURun")) : QStringList();
}

void saveRunHistory(const QString& settingsFile, const QStringList& items, const QString& text)
{
    Registry registry(settingsFile);
    // A store that cannot be read is left alone rather than replaced by this one list.
    if (!registry.load())
        return;
    HistoryList::write(registry, runHistoryKey(), QStringLiteral("MRURun"), HistoryList::prepared(items, text, true));
    registry.save();
}

// Whether a file the open dialog chose stays in the mode it was chosen in.
bool staysInMode(TViewMode mode, const QString& path)
{
    switch (mode) {
    case vmWebBrowser: return IsWebPageFile(path) || HasExtension(path, QStringLiteral(".URL"));
    case vmFileViewer: return true;
    case vmTextEditor: return HasExtension(path, QStringLiteral(".TXT")) && IsTextFile(path);
    case vmMoviePlayer: return IsMovieFile(path);
    case vmImageViewer: return IsImageFile(path);
    case vmZipViewer: return HasExtension(path, QStringLiteral(".ZIP")) && IsZipFile(path);
    case vmFileManager: return false;
    }
    return false;
}

} // namespace

ViewCommands::ViewCommands(TFormMainFolvane3* window, MainWindowControls& c, MainWindowModes& modes)
    : QObject(window)
    , m_window(window)
    , m_c(c)
    , m_modes(modes)
{
    auto button = [&c](BandButton which) { return c.buttons[size_t(which)]; };
    connect(c.MenuViewFile, &QAction::triggered, this, &ViewCommands::MenuViewFileClick);
    connect(button(BandButton::TextEditor), &QToolButton::clicked, this, &ViewCommands::ButtonTextEditorClick);
    connect(button(BandButton::Open), &QToolButton::clicked, this, &ViewCommands::MenuOpenClick);
    connect(button(BandButton::Web), &QToolButton::clicked, this, &ViewCommands::ButtonWebClick);
    connect(button(BandButton::C_Prompt), &QToolButton::clicked, this, &ViewCommands::ButtonC_PromptClick);
    connect(c.SpinViewerPrevious, &QToolButton::clicked, this, [this] { ToolBarViewSpinner(-1); });
    connect(c.SpinViewerNext, &QToolButton::clicked, this, [this] { ToolBarViewSpinner(1); });
    addMenuItems();
    // Warm the desktop's associations off the UI thread: the first View then finds them read.
    QThreadPool::globalInstance()->start([] { DesktopAssociations::instance(); });
}

void ViewCommands::addMenuItems()
{
    QMenu* file = m_c.topMenus[size_t(MainMenu::File)];
    QAction* open = new QAction(QStringLiteral("&Open"), file);
    open->setObjectName(QStringLiteral("MenuOpen"));
    open->setStatusTip(QStringLiteral("Open a file"));
    file->insertAction(m_c.MenuViewFile, open);
    connect(open, &QAction::triggered, this, &ViewCommands::MenuOpenClick);
    // The list's popup: View, Edit and Open at its head.
    auto* popup = m_window->findChild<QMenu*>(QStringLiteral("PopupMenuFile"));
    if (!popup)
        return;
    QAction* first = popup->actions().value(0);
    const struct {
        const char* name;
        const char* caption;
        void (ViewCommands::*handler)();
    } items[] = {
        {"PopupFileView", "View", &ViewCommands::MenuViewFileClick},
        {"PopupFileEdit", "Edit", &ViewCommands::ButtonTextEditorClick},
        {"PopupFileOpen", "Open", &ViewCommands::MenuOpenClick},
    };
    for (const auto& item : items) {
        QAction* action = new QAction(QLatin1String(item.caption), popup);
        action->setObjectName(QLatin1String(item.name));
        popup->insertAction(first, action);
        connect(action, &QAction::triggered, this, item.handler);
    }
    popup->insertSeparator(first);
}

bool ViewCommands::ownPanes() const
{
    return m_c.FileViewFol1->OpenByDblClickFV();
}

QString ViewCommands::selectedOrFirst()
{
    TFileViewFol* list = m_c.FileViewFol1;
    const QStringList selected = list->selectedPaths();
    if (!selected.isEmpty())
        return selected.first();
    QAbstractItemView* view = list->currentView();
    const QModelIndex first = list->model().index(0, 0);
    view->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->setFocus();
    list->followSelection();
    return first.data(FileListModel::FullPathRole).toString();
}

void ViewCommands::MenuViewFileClick()
{
    const TViewMode mode = TViewMode(m_window->CurrentMode());
    if (mode != vmFileManager && mode != vmWebBrowser) {
        m_modes.SwitchViewMode(vmFileManager, m_window->CurrentFile());
        return;
    }
    if (m_c.FileViewFol1->model().rowCount() == 0) {
        m_c.MenuViewFile->setEnabled(false);
        return;
    }
    carryOut(ChooseView(selectedOrFirst(), ViewRule::View, ownPanes(), DesktopAssociations::instance()));
}

void ViewCommands::carryOut(const ViewChoice& choice)
{
    switch (choice.action) {
    case ViewAction::EnterFolder: m_modes.SwitchViewMode(vmFileManager, choice.path); break;
    case ViewAction::ShowCurrentFile: m_modes.SwitchViewMode(vmFileManager, m_window->CurrentFile()); break;
    case ViewAction::AccessError: Prompter::instance().error(MainWindowModes::accessErrorText(choice.path)); break;
    case ViewAction::ShowInMode: m_modes.SwitchViewMode(choice.mode, choice.path); break;
    case ViewAction::Playlist: Q_EMIT m_window->playlistRequested(choice.path); break;
    case ViewAction::RunDialog: runProgram(choice.path); break;
    case ViewAction::OpenWith: openWithHandler(choice.path, choice.handler); break;
    case ViewAction::ShellOpen: ShellExecuteOrReport(QStringLiteral("Open"), choice.path); break;
    }
}

void ViewCommands::openWithHandler(const QString& path, const QString& handler)
{
    const DesktopAssociations& associations = DesktopAssociations::instance();
    QString id = handler;
    if (id.isEmpty())
        id = associations.handlerForFile(PathText::nameOf(path), readHead(path, 1000).value_or(QByteArray()));
    if (id.isEmpty()) {
        m_modes.SwitchViewMode(vmFileViewer, path);
        return;
    }
    const RunCommand::Plan plan = RunCommand::PlanOpenWith(associations.entryPath(id), path, RunCommand::launcherFinder());
    const ShellExecuteResult result = RunCommand::Start(plan);
    if (!result.accepted)
        Prompter::instance().error(ShellFailureMessage(QStringLiteral("Open"), path, result));
}

bool ViewCommands::ShellExecuteOrReport(const QString& verb, const QString& file)
{
    const ShellExecuteResult result = ShellExecute(verb, file);
    if (result.failed())
        Prompter::instance().error(ShellFailureMessage(verb, file, result));
    return result.accepted;
}

void ViewCommands::runProgram(const QString& path)
{
    TRunDlg dialog(m_window);
    int& index = m_window->context().historyIndex(HistoryIndex::Run);
    const QString settingsFile = m_window->context().settingsFile();
    dialog.setFileName(PathText::nameOf(path));
    dialog.setHistory(loadRunHistory(settingsFile), index);
    dialog.setMinimize(m_window->settings().runMinimized);
    const bool ok = dialog.exec() == QDialog::Accepted;
    index = qMax(0, dialog.historyIndex());
    m_window->settings().runMinimized = dialog.minimize();
    saveRunHistory(settingsFile, dialog.history(), dialog.parameters());
    if (!ok)
        return;
    const RunCommand::Plan plan = RunCommand::PlanRun(path, dialog.parameters(), RunCommand::launcherFinder());
    if (dialog.minimize() && plan.isValid())
        m_window->showMinimized();
    const ShellExecuteResult result = RunCommand::Start(plan);
    // A program that cannot start is reported, so the user knows nothing ran.
    if (!result.accepted)
        Prompter::instance().error(ShellFailureMessage(QStringLiteral("Run"), path, result));
}

void ViewCommands::ButtonTextEditorClick()
{
    const QStringList selected = m_c.FileViewFol1->selectedPaths();
    if (selected.isEmpty()) {
        Prompter::instance().error(kNoSelection);
        return;
    }
    const QString path = selected.first();
    if (!LocalFiles::exists(path)) {
        Prompter::instance().error(path + QStringLiteral("\r\nDoes not exists!\r\nSelect the file you what to view."));
        return;
    }
    // The switch refuses a file that cannot be read and asks before editing one that is no text.
    m_modes.SwitchViewMode(vmTextEditor, path);
}

QStringList ViewCommands::openFilters()
{
    QStringList filters;
    for (const char* filter : kOpenFilters)
        filters << QLatin1String(filter);
    return filters;
}

QString ViewCommands::openDialogFolder(bool inFileManager) const
{
    const QTreeWidgetItem* node = m_c.PathViewFol1->currentItem();
    const bool belowRoot = node && node->data(0, TPathViewFol::LevelRole).toInt() > TPathViewFol::RootLevel;
    if (!inFileManager || belowRoot)
        return m_c.PathViewFol1->SelectedPath();
    const QString desktop = SpecialFolderPath(SpecialFolder::CommonDesktop);
    return desktop.isEmpty() ? SpecialFolderPath(SpecialFolder::Desktop) : desktop;
}

void ViewCommands::MenuOpenClick()
{
    const TViewMode mode = TViewMode(m_window->CurrentMode());
    const bool inFileManager = !ownPanes() || mode == vmFileManager;
    // The editor offers to save its text before another file is chosen.
    if (mode == vmTextEditor && !m_modes.shownPane()->mayLeave())
        return;
    QStringList filters = openFilters();
    // The mode's filter is offered first, so the dialog starts with it.
    filters.move(kModeFilter[inFileManager ? vmFileManager : mode] - 1, 0);
    const QString path = Pickers::instance().openFile(QStringLiteral("Open"), openDialogFolder(inFileManager), filters.join(QStringLiteral(";;")));
    if (path.isEmpty() || !LocalFiles::isFile(path))
        return;
    if (inFileManager) {
        openChosenFile(path);
        return;
    }
    if (!staysInMode(mode, path)) {
        m_modes.SwitchViewMode(vmFileManager, PathText::folderOf(path), MainWindowModes::LeaveCheck::Asked);
        openChosenFile(path);
        return;
    }
    const QString url = HasExtension(path, QStringLiteral(".URL")) ? ReadInternetShortcutUrl(path) : QString();
    m_modes.SwitchViewMode(mode, url.isEmpty() ? path : url, MainWindowModes::LeaveCheck::Asked);
}

void ViewCommands::openChosenFile(const QString& path)
{
    // A program is never opened unasked: the Run dialog asks first.
    if (IsProgramToRun(path, readHead(path, 1000).value_or(QByteArray())))
        runProgram(path);
    else
        ShellExecuteOrReport(QStringLiteral("Open"), path);
}

void ViewCommands::ButtonWebClick()
{
    const TViewMode mode = TViewMode(m_window->CurrentMode());
    if (mode == vmWebBrowser) {
        m_modes.SwitchViewMode(vmFileManager, m_window->CurrentFile());
        return;
    }
    if (mode != vmFileManager && !m_modes.SwitchViewMode(vmFileManager, m_window->CurrentFile()))
        return;
    m_modes.SwitchViewMode(vmWebBrowser, m_window->CurrentFile());
}

void ViewCommands::ToolBarViewSpinner(int direction)
{
    Q_EMIT m_window->stepFileRequested(direction);
    TFileViewFol* list = m_c.FileViewFol1;
    if (list->model().rowCount() == 0) {
        m_c.SpinViewer->setEnabled(false);
        return;
    }
    QString path = selectedOrFirst();
    if (m_window->CurrentMode() != vmFileManager)
        path = m_modes.StepFileSelection(direction > 0);
    carryOut(ChooseView(path, ViewRule::Spinner, ownPanes(), DesktopAssociations::instance()));
}

void ViewCommands::ButtonC_PromptClick()
{
    // The terminal starts in the current folder; the program's own working folder stays.
    QString folder = BrowseNavigator::nearestExisting(m_window->CurrentPath());
    if (folder.isEmpty())
        folder = QDir::homePath();
    const RunCommand::Plan plan = RunCommand::PlanTerminal(folder, RunCommand::launcherFinder());
    const ShellExecuteResult result = RunCommand::Start(plan);
    if (!result.accepted)
        Prompter::instance().error(ShellFailureMessage(QStringLiteral("Open"), plan.program.isEmpty() ? QStringLiteral("terminal") : plan.program, result));
}
