#include "browse/BrowsePaths.h"

namespace BrowsePaths {

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool isOnDrive(const QString& root, const QString& path)
{
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path.startsWith(root) && (path.size() == root.size() || path.at(root.size()) == QLatin1Char('/'));
}

} // namespace BrowsePaths
