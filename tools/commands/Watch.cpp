// fvtool watch DIR... [--seconds N] [--limit N]: watches the folders with the program's change
// watcher and prints each notice as it arrives, one a line: the event, a tab, the path (and a
// tab and the new path of a rename). "ready" comes first, once the watches are in place, so a
// script knows when to start changing files; drives and media coming and going are printed
// too. Ends after N seconds (default: when killed). --limit caps the watches taken, as the
// system's limit would, so the polling of the folders beyond it can be tried.
#include "Command.h"

#include "fileops/TShellNotification.h"
#include "platform/linux/FolderWatcher.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace {

// A line at once, also into a pipe: a script waits for it.
void say(const QString& line)
{
    fvtool::out(line);
    std::fflush(stdout);
}

QString eventName(ChangeEvent event)
{
    switch (event) {
    case ChangeEvent::RenameItem: return QStringLiteral("rename");
    case ChangeEvent::Create: return QStringLiteral("create");
    case ChangeEvent::Delete: return QStringLiteral("delete");
    case ChangeEvent::MakeFolder: return QStringLiteral("mkdir");
    case ChangeEvent::RemoveFolder: return QStringLiteral("rmdir");
    case ChangeEvent::Attributes: return QStringLiteral("attributes");
    case ChangeEvent::UpdateDir: return QStringLiteral("updatedir");
    case ChangeEvent::UpdateItem: return QStringLiteral("updateitem");
    case ChangeEvent::RenameFolder: return QStringLiteral("renamefolder");
    case ChangeEvent::MediaInsert: return QStringLiteral("mediainsert");
    case ChangeEvent::MediaRemove: return QStringLiteral("mediaremove");
    case ChangeEvent::DriveRemove: return QStringLiteral("driveremove");
    case ChangeEvent::DriveAdd: return QStringLiteral("driveadd");
    case ChangeEvent::FreeSpace: return QStringLiteral("freespace");
    case ChangeEvent::AllEvents: break;
    }
    return QStringLiteral("?");
}

int runWatch(const QStringList& args)
{
    QStringList folders;
    int seconds = 0;
    int limit = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QLatin1String("--seconds") && hasValue)
            seconds = args[++i].toInt();
        else if (args[i] == QLatin1String("--limit") && hasValue)
            limit = args[++i].toInt();
        else if (args[i].startsWith(QLatin1String("--"))) {
            fvtool::err(QStringLiteral("unknown option ") + args[i]);
            return 2;
        } else
            folders << args[i];
    }
    if (folders.isEmpty()) {
        fvtool::err(QStringLiteral("watch needs at least one folder"));
        return 2;
    }
    TShellNotification watcher;
    watcher.folderWatcher().setWatchLimit(limit);
    QObject::connect(&watcher, &TShellNotification::noticed, [](const ChangeNotice& notice) {
        say(eventName(notice.event) + QLatin1Char('\t') + notice.path
                    + (notice.path2.isEmpty() ? QString() : QLatin1Char('\t') + notice.path2));
    });
    QObject::connect(&watcher, &TShellNotification::watchLimitReached, [&watcher] {
        say(QStringLiteral("polled\t") + watcher.folderWatcher().polledFolders().join(QLatin1Char('\t')));
    });
    bool told = false;
    QObject::connect(&watcher.folderWatcher(), &FolderWatcher::synced, [&told] {
        if (!std::exchange(told, true))
            say(QStringLiteral("ready"));
    });
    // The first folder named stays watched whatever the limit; the rest may be polled.
    watcher.setShownFolders(folders.mid(0, 1), folders.mid(1));
    watcher.setActive(true);
    if (seconds > 0)
        QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    return QCoreApplication::exec();
}

} // namespace

FVTOOL_COMMAND(watch, "watch DIR... [--seconds N] [--limit N]", runWatch)
