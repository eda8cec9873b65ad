#include "app/FolvaneApplication.h"

#include "app/DialogPickers.h"
#include "app/FileManagerService.h"
#include "app/MessageBoxPrompter.h"
#include "app/SingleInstance.h"
#include "app/StartupAnimation.h"
#include "app/TFormMainFolvane3.h"
#include "app/TSplashForm.h"
#include "app/MainWindowModes.h"
#include "app/ProgramSound.h"
#include "app/TerminationSignals.h"
#include "media/mpris/MprisService.h"
#include "media/ui/AudioPlayerController.h"
#include "platform/ui/PlatformUi.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

#include <memory>

namespace {

QString programFolder;
QString applicationHelpFile;

// Initial placement: centred on the desktop, keeping the stored size.
void centreOnDesktop(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

} // namespace

bool FolvaneApplication::instanceCheckPasses()
{
    if (!SingleInstance::sendCommand(QByteArrayLiteral("raise")))
        return true;
    return Prompter::instance().ask(PromptKind::Confirmation, PromptButton::Yes | PromptButton::No,
                                    QLatin1String(kRunningQuestion))
        == PromptButton::Yes;
}

QString FolvaneApplication::ProgramFolder()
{
    if (programFolder.isEmpty())
        programFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    return programFolder;
}

void FolvaneApplication::setProgramFolder(const QString& folder)
{
    programFolder = folder;
}

QString FolvaneApplication::helpFile()
{
    return applicationHelpFile;
}

void FolvaneApplication::setHelpFile(const QString& path)
{
    applicationHelpFile = path;
}

void FolvaneApplication::nameApplication()
{
    // No display name: the toolkit appends one to every window title. Captions that need the
    // program's title (a message box without its own) take kTitle.
    QApplication::setApplicationName(QStringLiteral("folvane3"));
}

int FolvaneApplication::run(const QStringList& arguments)
{
    MessageBoxPrompter prompter;
    DialogPickers pickers;
    Prompter::setInstance(&prompter);
    Pickers::setInstance(&pickers);
    InstallPlatformUi();

    // A path on the command line goes to the running instance when there is one (its window
    // comes to the front); only a start without a path asks whether to load again.
    const StartTarget start = StartArguments::parse(arguments, QDir::currentPath());
    if (!start.isEmpty() && SingleInstance::sendCommand(SingleInstance::openCommand(start)))
        return 0;
    if (start.isEmpty() && !instanceCheckPasses())
        return 0;
    ProgramFolder();
    QApplication::setQuitOnLastWindowClosed(true);

    auto splash = std::make_unique<TSplashForm>();
    splash->showNow();

    nameApplication();

    TFormMainFolvane3 window;
    window.openAtStart(start);
    window.setSplash(splash.get());
    QObject::connect(&window, &TFormMainFolvane3::splashDone, [&splash] { splash.reset(); });

    centreOnDesktop(&window);
    if (window.settings().animateStartup && !window.startsMaximized())
        StartupAnimation::run(window.frameGeometry());
    if (window.startsMaximized())
        window.showMaximized();
    else
        window.show();

    // Served from here on, once the window stands: a request can then act on it.
    SingleInstance instance;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &TFormMainFolvane3::bringToFront);
    QObject::connect(&instance, &SingleInstance::quitRequested, &window, &TFormMainFolvane3::MenuExitClick);
    QObject::connect(&instance, &SingleInstance::openRequested, &window, &TFormMainFolvane3::showTarget);
    instance.listen();
    if (!start.error.isEmpty())
        Prompter::instance().warning(start.error);

    // Other programs' "Show in folder", when no other file manager serves it.
    FileManagerService fileManager;
    QObject::connect(&fileManager, &FileManagerService::showRequested, &window, &TFormMainFolvane3::showTarget);
    QObject::connect(&fileManager, &FileManagerService::propertiesRequested, &window, &TFormMainFolvane3::showPropertiesOf);
    fileManager.publish(QDBusConnection::sessionBus());

    // The desktop's media keys and media widgets drive the audio playlist.
    MprisService mpris(*window.findChild<AudioPlayerController*>());
    QObject::connect(&mpris, &MprisService::raiseRequested, &window, &TFormMainFolvane3::bringToFront);
    QObject::connect(&mpris, &MprisService::quitRequested, &window, &TFormMainFolvane3::MenuExitClick);
    mpris.publish(QDBusConnection::sessionBus());

    // Where the program is ended without a question, unsaved work is kept, never lost.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window, [&window] {
        window.endWithoutAsking();
        QApplication::quit();
    });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window, [&window] { window.modes().preserveUnsaved(); });

    const int code = QApplication::exec();
    // The end sound plays out after the window has gone.
    ProgramSound::finishPlaying(2000);
    Prompter::setInstance(nullptr);
    Pickers::setInstance(nullptr);
    return code;
}
