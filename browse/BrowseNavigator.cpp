#include "browse/BrowseNavigator.h"

#include "browse/FileListing.h"
#include "platform/Drives.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"

#include <QDir>

namespace {

bool isMyComputer(const QString& folder)
{
    return folder.compare(FileListing::myComputer(), Qt::CaseInsensitive) == 0;
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

BrowseNavigator::BrowseNavigator(QObject* parent)
    : QObject(parent)
{
}

bool BrowseNavigator::isDriveView() const
{
    return isMyComputer(m_current);
}

QString BrowseNavigator::nearestExisting(const QString& folder)
{
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        return QString();
    QString candidate = QDir::cleanPath(folder);
    while (!LocalFiles::isDir(candidate)) {
        const QString parent = PathText::folderOf(candidate);
        if (parent == candidate)
            return QString();
        candidate = parent;
    }
    return candidate;
}

QString BrowseNavigator::parentOf(const QString& folder)
{
    if (isMyComputer(folder))
        return folder;
    const QString path = PathText::withoutTrailingSlash(QDir::cleanPath(folder));
    if (path == DriveOfPath(path).root)
        return FileListing::myComputer();
    return PathText::folderOf(path);
}

void BrowseNavigator::goTo(const QString& folder, Change change)
{
    if (folder.isEmpty())
        return;
    if (isMyComputer(folder)) {
        m_current = FileListing::myComputer();
    } else {
        const QString existing = nearestExisting(folder);
        m_current = withSlash(existing.isEmpty() ? QDir::homePath() : existing);
        m_last = m_current;
    }
    Q_EMIT folderChanged(m_current, change);
}

void BrowseNavigator::reload(const QString& folder)
{
    goTo(folder, Change::Reloaded);
}

void BrowseNavigator::goUp()
{
    if (!m_current.isEmpty() && !isDriveView())
        goTo(parentOf(m_current), Change::WentUp);
}

void BrowseNavigator::refresh()
{
    reload(m_last.isEmpty() ? QDir::homePath() : m_last);
}
