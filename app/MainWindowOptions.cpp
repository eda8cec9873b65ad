#include "app/MainWindowOptions.h"

#include "app/FolvaneApplication.h"
#include "app/MainWindowDriveMenu.h"
#include "app/MainWindowBrowse.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowSettings.h"
#include "app/ProgramSound.h"
#include "app/TFormMainFolvane3.h"
#include "app/TOptionDlg.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/RegistryRunKey.h"
#include "platform/Shell.h"
#include "platform/Trash.h"
#include "platform/linux/FileCopier.h"
#include "viewers/ui/FileViewerPane.h"
#include "viewers/ui/TextEditorPane.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QSlider>
#include <QToolButton>

#include <sys/stat.h>
#include <unistd.h>

MainWindowOptions::MainWindowOptions(TFormMainFolvane3& window)
    : QObject(&window), m_window(window)
{
    connect(window.controls().MenuOptionSet, &QAction::triggered, this, &MainWindowOptions::MenuOptionSetClick);
}

void MainWindowOptions::MenuOptionSetClick()
{
    // The values the controls hold now, so that what the dialog applies is their state.
    MainWindowSettings::gather(&m_window, m_window.controls(), m_window.settings());
    TOptionDlg dialog(*this, &m_window);
    dialog.exec();
}

QWidget* MainWindowOptions::window() const
{
    return &m_window;
}

AppSettings& MainWindowOptions::settings()
{
    return m_window.settings();
}

QString MainWindowOptions::settingsFile() const
{
    return m_window.store().filePath();
}

// The options' values on the controls and panes; the window's place and size stay as
// they are.
void MainWindowOptions::applySettings()
{
    const AppSettings& s = m_window.settings();
    auto& c = const_cast<MainWindowControls&>(m_window.controls());
    MainWindowLayout::placeDriveTabs(c, s.tabBottom);
    c.SpinViewerPrevious->setAutoRepeatDelay(qMax(0, s.spinViewDelay));
    c.SpinViewerNext->setAutoRepeatDelay(qMax(0, s.spinViewDelay));
    c.TrackBarMediaRes->setValue(s.movieRes);
    c.ButtonLoopMovie->setChecked(s.loopMovie);
    MainWindowSettings::applyMasks(c, s.masks, s.maskIndex);
    MainWindowSettings::applyBrowse(c, s);
    m_window.browse().applyFileFilters(s.showHiddenSystemfiles);
    ProgramSound::setEnabled(s.fv3sounds);
    if (auto* editor = dynamic_cast<TextEditorPane*>(m_window.pane(vmTextEditor)))
        editor->applySettings();
    if (auto* viewer = dynamic_cast<FileViewerPane*>(m_window.pane(vmFileViewer)))
        viewer->applySettings();
}

void MainWindowOptions::refreshBrowse()
{
    m_window.driveMenu().MenuRefreshClick();
}

QString MainWindowOptions::treeFolder() const
{
    return m_window.navigator().currentFolder();
}

bool MainWindowOptions::autoStartExists() const
{
    return LocalFiles::isFile(RegistryRunKey::entryPath());
}

bool MainWindowOptions::applyAutoStart(bool enabled)
{
    return RegistryRunKey::apply(QLatin1String(FolvaneApplication::kTitle), QCoreApplication::applicationFilePath(), enabled);
}

// The web pane keeps no cache or history of its own yet; the clean-up run joins them here.
Status MainWindowOptions::clearWebCache()
{
    return Status();
}

Status MainWindowOptions::clearWebHistory()
{
    return Status();
}

QString MainWindowOptions::tempFolder() const
{
    return QDir::tempPath();
}

// Only what the user owns: the temporary folder is shared with other users.
Status MainWindowOptions::emptyTempFolder()
{
    const QString folder = tempFolder() + QLatin1Char('/');
    Status last;
    for (const QString& name : LocalFiles::entryNames(folder)) {
        const QByteArray path = FileName::encode(folder + name);
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || st.st_uid != ::getuid())
            continue;
        if (const Status status = FileCopier::removeTree(path, [] { return true; }); !status)
            last = status;
    }
    return last;
}

void MainWindowOptions::runCleanup()
{
    Trash::empty();
    clearWebCache();
    clearWebHistory();
    emptyTempFolder();
    ClearRecentDocuments();
}
