#include "app/TFormMainFolvane3.h"

#include "app/FolderChecks.h"
#include "app/FolvaneApplication.h"
#include "app/MainWindowBands.h"
#include "app/MainWindowBrowse.h"
#include "app/MainWindowContext.h"
#include "app/MainWindowDriveMenu.h"
#include "app/MainWindowIdle.h"
#include "app/MainWindowWatch.h"
#include "fileops/ui/DropTargets.h"
#include "app/MainWindowModes.h"
#include "app/MainWindowOptions.h"
#include "app/MainWindowFolderMenu.h"
#include "app/MainWindowMask.h"
#include "app/MainWindowPathMenus.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowPanes.h"
#include "app/MainWindowSettings.h"
#include "app/ProgramSound.h"
#include "app/RecentPaths.h"
#include "app/TSplashForm.h"
#include "app/ViewCommands.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "fileops/ui/FileToolsMenus.h"
#include "fileops/ui/TransferMenus.h"
#include "accessories/ui/AccessoryMenus.h"
#include "accessories/ui/MailCommand.h"
#include "archive/ui/ZipToolsMenus.h"
#include "viewers/ui/ConvertMenus.h"
#include "sync/ui/SyncMenus.h"
#include "internet/ui/UrlRipMenu.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/ui/PropertiesDialog.h"
#include "platform/ui/ViewPane.h"
#include "search/ui/SearchCommands.h"
#include "viewers/text/EditorRecovery.h"
#include "viewers/ui/TextEditorControl.h"
#include "viewers/ui/TextEditorPane.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProgressBar>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>
#include <QUrl>

#include <utility>

TFormMainFolvane3::TFormMainFolvane3(const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent)
    , m_store(settingsPath.isEmpty() ? Registry::userStorePath() : settingsPath,
              QLatin1String(FolvaneApplication::kTitle),
              QCoreApplication::applicationFilePath())
{
    setObjectName(QStringLiteral("FormMainFolvane3"));
    setWindowTitle(QStringLiteral("FolVane III"));
    MainWindowLayout::build(this, m_c);
    m_context = std::make_unique<MainWindowContext>(*this, m_c);
    MainWindowPanes::registerAll(*this, m_c);
    m_modes = new MainWindowModes(this, m_c);
    m_bands = new MainWindowBands(this, m_c);
    m_browse = new MainWindowBrowse(this, m_c);
    new MainWindowMask(this, m_c.ComboBoxMask, m_c.FileViewFol1);
    const BrowseWidgets browse{m_c.TabControlDriveFol1, m_c.PathViewFol1, m_c.FileViewFol1};
    m_driveMenu = new MainWindowDriveMenu(*m_context, browse);
    m_folderMenu = new MainWindowFolderMenu(*m_context, browse, m_driveMenu);
    m_transfer = new TransferMenus(*m_context);
    m_transfer->setPanes(m_c.PathViewFol1, m_c.FileViewFol1);
    (new FileToolsMenus(*m_context, *m_transfer))->setList(m_c.FileViewFol1);
    auto* zipTools = new ZipToolsMenus(*m_context, *m_transfer);
    zipTools->setSmallStubSetting([this] { return m_settings.useSmallZipToExe; });
    connect(m_folderMenu, &MainWindowFolderMenu::zipFolderRequested, zipTools, &ZipToolsMenus::zipFolder);
    new ConvertMenus(*m_context, *m_transfer);
    MainWindowPanes::connectCommands(*this);
    connectFolderMenu();
    auto* search = new SearchCommands(*m_context, m_c.PathViewFol1, m_c.FileViewFol1);
    connect(m_folderMenu, &MainWindowFolderMenu::findRequested, search, &SearchCommands::MenuFindClick);
    connectDeleteButtons();
    m_viewCommands = new ViewCommands(this, m_c, *m_modes);
    m_idle = new MainWindowIdle(this, m_c, *m_modes);
    m_watch = new MainWindowWatch(this, m_c, m_idle->folderFacts());
    auto* drops = new DropTargets(this, {m_c.TabControlDriveFol1, m_c.PathViewFol1, m_c.FileViewFol1});
    drops->setCaptionHold([this](bool held) {
        m_idle->holdCaption(held);
        if (!held)
            m_idle->UpdateControlStates();
    });
    drops->setCurrentPath([this] { return m_currentPath; });
    connect(drops, &DropTargets::listDroppedFromProgram, this, [this] {
        if (m_settings.fv3sounds)
            PlayProgramSound("fvplop");
    });
    m_folderChecks = new FolderChecks(this);
    connect(m_folderChecks, &FolderChecks::startChecked, this, &TFormMainFolvane3::startFolderChecked);
    connect(m_folderChecks, &FolderChecks::recentChecked, this, [this](const QStringList& gone) {
        dropRecentPaths(gone);
        Q_EMIT recentPathsChecked();
    });
    // The design size: the client area of 882 x 654 under the menu bar.
    m_settings.appWidth = MainWindowLayout::kClientWidth;
    m_settings.appHeight = MainWindowLayout::kClientHeight + m_c.MainMenu1->sizeHint().height();
    resize(m_settings.appWidth, m_settings.appHeight);

    connect(m_c.MenuExit, &QAction::triggered, this, &TFormMainFolvane3::MenuExitClick);
    connect(m_c.MenuHelpContents, &QAction::triggered, this, &TFormMainFolvane3::MenuHelpContentsClick);
    connect(this, &TFormMainFolvane3::viewModeRequested, this, [this](int mode, const QString& path) { enterMode(mode, path); });
    connect(m_bands, &MainWindowBands::layoutChanged, this, [this] { SaveBandLayout(m_currentMode); });
    connect(this, &TFormMainFolvane3::settingsSaveFailed, this,
            [](const QString& text) { Prompter::instance().error(text); });
    // Key preview: the window sees key releases before the focused control.
    qApp->installEventFilter(this);
    FormCreate();
    m_pathMenus = new MainWindowPathMenus(*m_context);
    new SyncMenus(*m_context);
    new MainWindowOptions(*this);
    new UrlRipMenu(*m_context, this);
    connectAccessories();
}

void TFormMainFolvane3::connectAccessories()
{
    auto* mail = new MailCommand(m_transfer->panes(), [this] {
        const auto* editor = dynamic_cast<TextEditorPane*>(pane(vmTextEditor));
        if (!editor || !editor->IsOpen())
            return EditorMail();
        return EditorMail{QFileInfo(editor->FileName()).fileName(), editor->editor()->toPlainText()};
    }, this);
    auto* accessories = new AccessoryMenus(*m_context, mail, m_settings.versionStr, [this] { close(); });
    connect(accessories, &AccessoryMenus::exploreRequested, m_c.PathViewFol1, &TPathViewFol::OpenWithExplorer);
    connect(accessories, &AccessoryMenus::searchRequested, m_c.PathViewFol1, &TPathViewFol::FindWithExplorer);
}

WindowContext& TFormMainFolvane3::context()
{
    return *m_context;
}

void TFormMainFolvane3::connectFolderMenu()
{
    TransferMenus* t = m_transfer;
    MainWindowFolderMenu* menu = m_folderMenu;
    connect(menu, &MainWindowFolderMenu::folderCopyRequested, t, [t] { t->treeCopy(false); });
    connect(menu, &MainWindowFolderMenu::folderCutRequested, t, [t] { t->treeCopy(true); });
    connect(menu, &MainWindowFolderMenu::folderPasteRequested, t, &TransferMenus::treePaste);
    connect(menu, &MainWindowFolderMenu::folderDeleteRequested, t, &TransferMenus::treeDelete);
    connect(menu, &MainWindowFolderMenu::folderRenameRequested, t, &TransferMenus::treeRename);
    connect(menu, &MainWindowFolderMenu::newFolderRequested, t, &TransferMenus::treeNewFolder);
    connect(menu, &MainWindowFolderMenu::folderCopyToRequested, t, [t] { t->treeCopyTo(false); });
    connect(menu, &MainWindowFolderMenu::folderMoveToRequested, t, [t] { t->treeCopyTo(true); });
    connect(t, &TransferMenus::treePastePendingChanged, menu, &MainWindowFolderMenu::setFolderPastePending);
}

TFormMainFolvane3::~TFormMainFolvane3()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

void TFormMainFolvane3::FormCreate()
{
    LoadSettings();
    if (m_settings.fv3sounds)
        PlayProgramSound("fv3start");
    const QString help = FolvaneApplication::ProgramFolder() + QStringLiteral("help/fvhelp.html");
    FolvaneApplication::setHelpFile(QFileInfo(help).isFile() ? help : QString());
}

void TFormMainFolvane3::LoadSettings()
{
    const SettingsStore::LoadResult result = m_store.load(m_settings, SettingsStore::FolderCheck::Later);
    m_currentMode = qBound(0, m_settings.modeCurrent, kViewModeCount - 1);
    m_currentFile = m_settings.currentItemSel;
    m_currentPath = m_settings.currentPathSel;
    LoadBandLayout(m_currentMode);
    MainWindowSettings::apply(this, m_c, m_settings);
    ProgramSound::setEnabled(m_settings.fv3sounds);
    // Told when the window is shown, where the splash window cannot cover the message.
    m_loadWarning = result.error;
}

bool TFormMainFolvane3::SaveSettings()
{
    MainWindowSettings::gather(this, m_c, m_settings);
    m_settings.modeCurrent = m_currentMode;
    m_settings.currentItemSel = m_currentFile;
    m_settings.currentPathSel = m_currentPath;
    if (m_store.save(m_settings))
        return true;
    Q_EMIT settingsSaveFailed(m_store.errorString());
    return false;
}

void TFormMainFolvane3::LoadBandLayout(int mode)
{
    if (const auto record = m_store.loadBandLayout(mode))
        m_bands->applyRecord(*record);
}

void TFormMainFolvane3::SaveBandLayout(int mode)
{
    m_store.saveBandLayout(mode, m_bands->record());
}

void TFormMainFolvane3::registerPane(ViewPane* pane)
{
    m_panes[pane->mode()] = pane;
    if (m_c.rightPane->indexOf(pane->widget()) < 0)
        m_c.rightPane->addWidget(pane->widget());
}

ViewPane* TFormMainFolvane3::pane(int mode) const
{
    return mode >= 0 && mode < kViewModeCount ? m_panes[mode] : nullptr;
}

bool TFormMainFolvane3::enterMode(int mode, const QString& path)
{
    return m_modes->SwitchViewMode(TViewMode(qBound(0, mode, kViewModeCount - 1)), path);
}

void TFormMainFolvane3::connectDeleteButtons()
{
    // The toolbar delete buttons are the Delete command of the Edit menu.
    QAction* menuDelete = findChild<QAction*>(QStringLiteral("MenuDelete"));
    for (BandButton which : {BandButton::Delete, BandButton::EditorDelete})
        connect(m_c.buttons[size_t(which)], &QToolButton::clicked, menuDelete, &QAction::trigger);
}

void TFormMainFolvane3::UpdateRecentPaths(const QString& folder)
{
    // Nothing is asked of the disks here: the worker looks and drops what is gone.
    RecentPaths::update(m_settings.mruPaths, folder, [](const QString&) { return true; });
    SaveSettings();
    m_folderChecks->checkRecent(m_settings.mruPaths);
}

void TFormMainFolvane3::dropRecentPaths(const QStringList& gone)
{
    if (gone.isEmpty())
        return;
    for (const QString& folder : gone)
        m_settings.mruPaths.removeAll(folder);
    SaveSettings();
}

void TFormMainFolvane3::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFormMainFolvane3::FormShow()
{
    if (!m_loadWarning.isEmpty())
        tellOverSplash(PromptKind::Warning, std::exchange(m_loadWarning, QString()));
    // Text the editor kept when the program was last ended without asking (the session
    // ended, SIGTERM): the user learns where it is, once.
    if (const QStringList kept = EditorRecovery::takeUntold(); !kept.isEmpty())
        tellOverSplash(PromptKind::Information,
                       QStringLiteral("Text that was not saved when the program last ended was kept in:\r\n")
                           + kept.join(QStringLiteral("\r\n")));
    m_browse->applyFileFilters(m_settings.showHiddenSystemfiles);
    m_modes->firstSwitch(TViewMode(m_currentMode), m_currentFile);
    m_idle->start();
    m_watch->start();
    // Whatever the mode, the browse panes open the stored folder (or the stored item's) once
    // a worker has found it, with the item selected; the tree's folder change puts it in the
    // recent folders. The stored values, not the panes' state while the window was built,
    // say where the user was.
    m_startItem = m_settings.currentItemSel;
    m_folderChecks->checkStart(m_startItem, m_settings.currentPathSel, m_settings.mruPaths);
}

void TFormMainFolvane3::tellOverSplash(PromptKind kind, const QString& text)
{
    if (m_splash)
        m_splash->hide();
    Prompter::instance().ask(kind, PromptButton::Ok, text);
    if (m_splash)
        m_splash->show();
}

void TFormMainFolvane3::startFolderChecked(const QString& folder, const QStringList& goneRecent)
{
    dropRecentPaths(goneRecent);
    m_browse->goToFolder(folder);
    m_c.FileViewFol1->SelectFileWhenListed(std::exchange(m_startItem, QString()));
    // The splash shows the start folder's listing until its rows are in the list.
    connect(
        m_c.FileViewFol1, &TFileViewFol::rowsListed, this,
        [this] {
            Q_EMIT splashDone();
            m_splash = nullptr;
        },
        Qt::SingleShotConnection);
}

void TFormMainFolvane3::loadProgress(int count, const QString& name)
{
    if (m_splash)
        m_splash->loadProgress(count, name);
}

void TFormMainFolvane3::viewSelected()
{
    m_c.MenuViewFile->trigger();
}

void TFormMainFolvane3::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TFormMainFolvane3::FormResize()
{
    if (m_c.FileViewFol1->isVisible())
        m_c.FileViewFol1->update();
}

bool TFormMainFolvane3::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this) {
        // An ignored key event travels on to the parents of its receiver: see it once.
        auto* widget = static_cast<QWidget*>(watched);
        const bool travelling = event == m_keyEvent && m_keyReceiver && widget->isAncestorOf(m_keyReceiver);
        m_keyEvent = event;
        m_keyReceiver = widget;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!travelling && !key->isAutoRepeat())
            FormKeyUp(key->key(), key->modifiers());
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMainFolvane3::FormKeyUp(int key, Qt::KeyboardModifiers modifiers)
{
    if (m_currentMode != vmMoviePlayer && m_currentMode != vmImageViewer)
        return;
    if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return;
    if (key == Qt::Key_Left)
        m_viewCommands->ToolBarViewSpinner(-1);
    else if (key == Qt::Key_Right)
        m_viewCommands->ToolBarViewSpinner(1);
}

void TFormMainFolvane3::MenuExitClick()
{
    close();
}

void TFormMainFolvane3::bringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TFormMainFolvane3::openAtStart(const StartTarget& target)
{
    if (target.isEmpty())
        return;
    m_currentMode = vmFileManager;
    m_currentFile = target.item;
    m_currentPath = PathText::withTrailingSlash(target.folder);
    m_settings.currentItemSel = target.item;
    m_settings.currentPathSel = m_currentPath;
}

void TFormMainFolvane3::showTarget(const StartTarget& target)
{
    bringToFront();
    if (target.isEmpty())
        return;
    if (m_currentMode != vmFileManager && !enterMode(vmFileManager))
        return;
    m_browse->goToFolder(target.folder);
    if (!target.item.isEmpty())
        m_c.FileViewFol1->SelectFileWhenListed(target.item);
}

void TFormMainFolvane3::showPropertiesOf(const QString& path)
{
    bringToFront();
    if (const QString error = ShowProperties(path, this); !error.isEmpty())
        Prompter::instance().error(error);
}

void TFormMainFolvane3::MenuHelpContentsClick()
{
    // Any failure to show the help is ignored.
    if (!FolvaneApplication::helpFile().isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(FolvaneApplication::helpFile()));
}

void TFormMainFolvane3::closeEvent(QCloseEvent* event)
{
    // A pane with unsaved work asks first; Cancel keeps the program open.
    if (!m_modes->mayClose()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TFormMainFolvane3::endWithoutAsking()
{
    m_modes->preserveUnsaved();
    FormClose();
}

void TFormMainFolvane3::FormClose()
{
    m_bands->flush();
    SaveSettings();
    if (m_settings.fv3sounds)
        PlayProgramSound("fv3end");
}

void TFormMainFolvane3::FormDestroy()
{
    // The components are freed with the window; nothing else to release.
}
