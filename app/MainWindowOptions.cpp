#include "app/MainWindowOptions.h"

#include "app/FolvaneApplication.h"
#include "app/MainWindowDriveMenu.h"
#include "app/MainWindowBrowse.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowSettings.h"
#include "app/ProgramSound.h"
#include "app/TFormMainFolvane3.h"
#include "app/TOptionDlg.h"
#include "internet/CleanupJob.h"
#include "internet/ui/CleanupCommand.h"
#include "internet/ui/TFavoritesMenu.h"
#include "platform/JobWaiter.h"
#include "platform/LocalFiles.h"
#include "platform/RegistryRunKey.h"
#include "platform/TempFolderCleaner.h"
#include "viewers/ui/FileViewerPane.h"
#include "viewers/ui/TextEditorPane.h"

#include <QAction>
#include <QCoreApplication>
#include <QSlider>
#include <QToolButton>

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

Status MainWindowOptions::clearWebCache()
{
    return cleanup().runStepNow(CleanupStep::InternetCache);
}

Status MainWindowOptions::clearWebHistory()
{
    return cleanup().runStepNow(CleanupStep::InternetHistory);
}

QString MainWindowOptions::tempFolder() const
{
    return TempFolderCleaner::temporaryFolder();
}

// Only what the user owns and no process holds: the temporary folder is shared. The Clean up
// run's own step, on a worker, so that the window keeps painting through a large folder.
Status MainWindowOptions::emptyTempFolder()
{
    CleanupJob job(CleanupStep::TemporaryFiles);
    RunJob(job, QString::fromLatin1(CleanupSteps::texts(CleanupStep::TemporaryFiles).running));
    if (job.errorString().isEmpty())
        return Status();
    return Status::failure(QStringLiteral("Clean up"), job.errorString());
}

void MainWindowOptions::runCleanup()
{
    cleanup().RunCleanup();
}

void MainWindowOptions::organizeFavorites()
{
    m_window.findChild<TFavoritesMenu*>()->OrganizeFavoritesClick();
}

// The window's Clean up command, made with the web pane.
CleanupCommand& MainWindowOptions::cleanup() const
{
    return *m_window.findChild<CleanupCommand*>();
}
