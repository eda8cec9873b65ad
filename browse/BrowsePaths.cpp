#include "browse/BrowsePaths.h"

#include "platform/Drives.h"
#include "platform/PathText.h"

namespace BrowsePaths {

bool isOnDrive(const QString& root, const QString& path)
{
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path.startsWith(root) && (path.size() == root.size() || path.at(root.size()) == QLatin1Char('/'));
}

QString networkForm(const QString& path)
{
    QString text = PathText::withoutTrailingSlash(path);
    const DriveInfo drive = DriveOfPath(text);
    if (drive.type != DriveType::Network || !drive.device.startsWith(QLatin1String("//")))
        return text;
    text = drive.device + text.mid(drive.root == QLatin1String("/") ? 0 : drive.root.size());
    return QStringLiteral("file:") + text.replace(QLatin1Char(' '), QStringLiteral("%20"));
}

} // namespace BrowsePaths
