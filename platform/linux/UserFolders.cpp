#include "platform/Shell.h"

#include "platform/Pickers.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString userDir(QStandardPaths::StandardLocation location)
{
    const QString path = QStandardPaths::writableLocation(location);
    // Without an entry in user-dirs.dirs the desktop falls back to the home itself, which is
    // not that special folder.
    if (path.isEmpty() || QDir::cleanPath(path) == QDir::cleanPath(QDir::homePath()))
        return QString();
    return QDir::cleanPath(path);
}

} // namespace

QString SpecialFolderPath(SpecialFolder folder)
{
    switch (folder) {
    case SpecialFolder::Desktop: return userDir(QStandardPaths::DesktopLocation);
    case SpecialFolder::Documents: return userDir(QStandardPaths::DocumentsLocation);
    case SpecialFolder::Pictures: return userDir(QStandardPaths::PicturesLocation);
    case SpecialFolder::Videos: return userDir(QStandardPaths::MoviesLocation);
    case SpecialFolder::Music: return userDir(QStandardPaths::MusicLocation);
    case SpecialFolder::Favorites: {
        const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/QuorVel/Folvane3/Favorites");
        return QDir().mkpath(path) ? path : QString();
    }
    case SpecialFolder::CommonDesktop:
    case SpecialFolder::CommonDocuments:
        return QString();
    }
    return QString();
}

QString BrowseForFolder(const QString& title, const QString& startFolder)
{
    const QString chosen = Pickers::instance().pickFolder(title, startFolder);
    return chosen.isEmpty() ? chosen : QDir::cleanPath(chosen);
}
