#pragma once
// The main window: its controls (MainWindowLayout), its life (FormCreate, FormShow,
// FormResize, FormKeyUp, FormClose, FormDestroy), the settings it loads at creation and
// saves at close, the tool-band layout of each mode, and the two private messages:
// loadProgress (WM_LOADPROGRESS, passed on to the splash window while it exists) and
// viewSelected (WM_VIEWSELECTED, runs the View command).
//
// The right-hand side shows one registered pane per mode (registerPane, MainWindowPanes);
// switching modes leaves one pane and enters the next, and shows the band and chrome the
// pane asks for. The browse panes follow the navigator and are wired by MainWindowBrowse.
// Feature controllers reach the window through its WindowContext (MainWindowContext).

#include "app/AppSettings.h"
#include "app/MainWindowControls.h"
#include "app/SettingsStore.h"
#include "app/StartArguments.h"
#include "app/TSplashForm.h"
#include "browse/BrowseNavigator.h"
#include "platform/Prompter.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class MainWindowBands;
class MainWindowBrowse;
class MainWindowContext;
class MainWindowDriveMenu;
class MainWindowFolderMenu;
class MainWindowIdle;
class MainWindowMask;
class MainWindowModes;
class MainWindowPathMenus;
class MainWindowWatch;
class TransferMenus;
class TSplashForm;
class ViewCommands;
class ViewPane;
class WindowContext;
class FolderChecks;

class TFormMainFolvane3 : public QMainWindow {
    Q_OBJECT
public:
    // settingsPath: the settings tree file (the user's own by default).
    explicit TFormMainFolvane3(const QString& settingsPath = QString(), QWidget* parent = nullptr);
    ~TFormMainFolvane3() override;

    const MainWindowControls& controls() const { return m_c; }
    AppSettings& settings() { return m_settings; }
    const SettingsStore& store() const { return m_store; }
    MainWindowBands& bands() { return *m_bands; }
    MainWindowBrowse& browse() { return *m_browse; }
    MainWindowDriveMenu& driveMenu() { return *m_driveMenu; }
    MainWindowFolderMenu& folderMenu() { return *m_folderMenu; }
    MainWindowPathMenus& pathMenus() { return *m_pathMenus; }
    // The one owner of the browse panes' current folder.
    BrowseNavigator& navigator() { return m_navigator; }
    // What the feature controllers reach of the window.
    WindowContext& context();
    // The mode machine (SwitchViewMode), the idle handler and the view commands.
    MainWindowModes& modes() { return *m_modes; }
    MainWindowIdle& idle() { return *m_idle; }
    ViewCommands& viewCommands() { return *m_viewCommands; }
    // The file transfer commands of the File and Edit menus and the browse popups.
    TransferMenus& transferMenus() { return *m_transfer; }
    // The change watcher and the refresh owed to the browse panes.
    MainWindowWatch& watch() { return *m_watch; }

    int CurrentMode() const { return m_currentMode; }
    const QString& CurrentFile() const { return m_currentFile; }
    const QString& CurrentPath() const { return m_currentPath; }
    // The current folder, kept as program state (the process's working folder never moves).
    void setCurrentPath(const QString& path) { m_currentPath = path; }
    void setCurrentFile(const QString& file) { m_currentFile = file; }

    void setSplash(TSplashForm* splash) { m_splash = splash; }
    bool startsMaximized() const { return m_settings.appState == int(StoredWindowState::Maximized); }

    // WM_LOADPROGRESS: passed on to the splash window while it exists, else ignored.
    void loadProgress(int count, const QString& name);
    // WM_VIEWSELECTED: runs the View command as if the user had chosen it.
    void viewSelected();

    void LoadSettings();
    bool SaveSettings();
    void LoadBandLayout(int mode);
    void SaveBandLayout(int mode);

    // Makes pane the one shown for its mode and puts its widget in the pane stack.
    void registerPane(ViewPane* pane);
    ViewPane* pane(int mode) const;

    // SwitchViewMode: leaves the current mode (saving its band layout, leaving its pane,
    // which may refuse) and enters mode: its band layout, its band and chrome, and its pane
    // entered with path. False when the shown pane kept its unsaved work.
    bool enterMode(int mode, const QString& path = QString());
    // The program ends where nothing can be asked (the session ends, SIGTERM): the shown
    // pane keeps its unsaved work safe, and the settings are saved.
    void endWithoutAsking();

    // The recent-folders update: puts folder first when it is new and saves the settings;
    // folders that are gone are dropped when a worker has looked (recentPathsChecked).
    void UpdateRecentPaths(const QString& folder);

    // A path from the command line: the window opens there in the file manager, with the
    // item selected, instead of the stored place. Called before the window is shown.
    void openAtStart(const StartTarget& target);

public Q_SLOTS:
    void MenuExitClick();
    void bringToFront();
    // A path sent by another start or another program ("Show in folder"): the file manager
    // shows the folder with the item selected, and the window comes to the front.
    void showTarget(const StartTarget& target);
    // The properties dialog of path, in front.
    void showPropertiesOf(const QString& path);

Q_SIGNALS:
    // The splash window has served its time: the start folder's rows are listed.
    void splashDone();
    // The recent folders were checked and those gone dropped.
    void recentPathsChecked();
    // The Left and Right keys in the movie and image modes step to the previous (-1) or
    // next (+1) file, as the spinner's arrows do.
    void stepFileRequested(int direction);
    // A pane of another mode is asked to show path (the viewer modes connect to it).
    void viewModeRequested(int mode, const QString& path);
    // The View command chose the audio playlist for path (an audio or .M3U file).
    void playlistRequested(const QString& path);
    // The settings could not be written; text says why.
    void settingsSaveFailed(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class MainWindowModes;
    void FormCreate();
    // The folder popup's transfer items run the tree's transfer commands.
    void connectFolderMenu();
    // The system commands, CD player, calendar, about box and mail.
    void connectAccessories();
    void FormShow();
    // A message box at start; the splash steps aside while it is shown.
    void tellOverSplash(PromptKind kind, const QString& text);
    void FormResize();
    void FormKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void FormClose();
    void FormDestroy();
    void MenuHelpContentsClick();
    void connectDeleteButtons();
    void startFolderChecked(const QString& folder, const QStringList& goneRecent);
    void dropRecentPaths(const QStringList& gone);

    MainWindowControls m_c;
    BrowseNavigator m_navigator;
    std::unique_ptr<MainWindowContext> m_context;
    std::array<ViewPane*, kViewModeCount> m_panes{};
    MainWindowModes* m_modes = nullptr;
    MainWindowIdle* m_idle = nullptr;
    ViewCommands* m_viewCommands = nullptr;
    AppSettings m_settings;
    SettingsStore m_store;
    MainWindowBands* m_bands = nullptr;
    MainWindowBrowse* m_browse = nullptr;
    MainWindowDriveMenu* m_driveMenu = nullptr;
    MainWindowFolderMenu* m_folderMenu = nullptr;
    MainWindowPathMenus* m_pathMenus = nullptr;
    TransferMenus* m_transfer = nullptr;
    FolderChecks* m_folderChecks = nullptr;
    MainWindowWatch* m_watch = nullptr;
    QPointer<TSplashForm> m_splash;
    const QEvent* m_keyEvent = nullptr;
    QPointer<QWidget> m_keyReceiver;
    bool m_shown = false;
    int m_currentMode = vmFileManager;
    QString m_currentFile;
    QString m_currentPath;
    QString m_startItem; // the stored item, selected once the start folder is listed
    QString m_loadWarning;
};
