#include "viewers/DesktopAssociations.h"

#include "platform/LocalFiles.h"
#include "viewers/KeyFile.h"

#include <QMimeDatabase>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <deque>

namespace {

const QString kEntrySection = QStringLiteral("Desktop Entry");
// The program's own desktop entry and program name.
const QString kOwnId = QStringLiteral("folvane3.desktop");
const QString kOwnProgram = QStringLiteral("folvane3");
// Sub-folders of applications/ are read this deep (ids join them with "-").
constexpr int kMaxDepth = 3;

QStringList listValue(const QString& value)
{
    QStringList items = value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& item : items)
        item = item.trimmed();
    items.removeAll(QString());
    return items;
}

void mergeSection(QHash<QString, QStringList>& into, const KeyFile& file, const QString& section)
{
    for (const QString& type : file.keys(section))
        into[type] += listValue(file.value(section, type));
}

// The program an Exec line starts: its first word, unquoted, without its folder.
QString execProgramName(const QString& exec)
{
    QString first = exec.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    if (first.startsWith(QLatin1Char('"')))
        first = exec.section(QLatin1Char('"'), 1, 1);
    return first.section(QLatin1Char('/'), -1);
}

} // namespace

DesktopAssociations::DesktopAssociations(const Folders& folders)
{
    readLists(folders);
    readEntries(folders.data);
}

DesktopAssociations::Folders DesktopAssociations::environmentFolders()
{
    Folders folders;
    folders.config = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders.data = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    const QString desktops = QProcessEnvironment::systemEnvironment().value(QStringLiteral("XDG_CURRENT_DESKTOP"));
    for (const QString& desktop : desktops.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders.desktops << desktop.toLower();
    return folders;
}

DesktopAssociations& DesktopAssociations::instance()
{
    static DesktopAssociations associations(environmentFolders());
    return associations;
}

void DesktopAssociations::readLists(const Folders& folders)
{
    // The precedence of the freedesktop mime-apps standard: per folder, the desktop-specific
    // lists before the common one; config folders before the data folders' applications/.
    QStringList files;
    auto addFolder = [&](const QString& folder) {
        for (const QString& desktop : folders.desktops)
            files << folder + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list");
        files << folder + QStringLiteral("/mimeapps.list");
    };
    for (const QString& folder : folders.config)
        addFolder(folder);
    for (const QString& folder : folders.data)
        addFolder(folder + QStringLiteral("/applications"));
    for (const QString& path : files) {
        const KeyFile file = KeyFile::read(path);
        mergeSection(m_lists.defaults, file, QStringLiteral("Default Applications"));
        mergeSection(m_lists.added, file, QStringLiteral("Added Associations"));
        mergeSection(m_lists.removed, file, QStringLiteral("Removed Associations"));
    }
}

void DesktopAssociations::readEntries(const QStringList& dataFolders)
{
    for (const QString& folder : dataFolders)
        scanApplications(folder + QStringLiteral("/applications"), QString(), 0);
}

void DesktopAssociations::scanApplications(const QString& folder, const QString& prefix, int depth)
{
    for (const QString& name : LocalFiles::entryNames(folder)) {
        const QString path = folder + QLatin1Char('/') + name;
        if (LocalFiles::isDir(path)) {
            if (depth < kMaxDepth)
                scanApplications(path, prefix + name + QLatin1Char('-'), depth + 1);
            continue;
        }
        const QString id = prefix + name;
        if (!name.endsWith(QLatin1String(".desktop")) || m_entries.contains(id))
            continue;
        const KeyFile file = KeyFile::read(path);
        Entry entry;
        // A hidden or broken entry in an earlier folder hides the id in the later ones.
        if (file.value(kEntrySection, QStringLiteral("Type")) == QLatin1String("Application")
            && file.value(kEntrySection, QStringLiteral("Hidden")) != QLatin1String("true")) {
            entry.path = path;
            entry.mimeTypes = listValue(file.value(kEntrySection, QStringLiteral("MimeType")));
            entry.self = id == kOwnId || execProgramName(file.value(kEntrySection, QStringLiteral("Exec"))) == kOwnProgram;
        }
        m_entries.insert(id, entry);
        for (const QString& type : std::as_const(entry.mimeTypes))
            m_entriesByType[type] << id;
    }
}

QString DesktopAssociations::entryPath(const QString& desktopId) const
{
    return m_entries.value(desktopId).path;
}

bool DesktopAssociations::usable(const QString& id, const QString& mimeType) const
{
    const auto it = m_entries.constFind(id);
    return it != m_entries.cend() && !it->path.isEmpty() && !it->self
        && !m_lists.removed.value(mimeType).contains(id);
}

std::optional<QString> DesktopAssociations::handlerForOneType(const QString& mimeType) const
{
    for (const QString& id : m_lists.defaults.value(mimeType)) {
        // A default is honoured even when listed as removed: the user chose it.
        const auto it = m_entries.constFind(id);
        if (it != m_entries.cend() && !it->path.isEmpty())
            return it->self ? QString() : id;
    }
    for (const QString& id : m_lists.added.value(mimeType)) {
        if (usable(id, mimeType))
            return id;
    }
    for (const QString& id : m_entriesByType.value(mimeType)) {
        if (usable(id, mimeType))
            return id;
    }
    return std::nullopt;
}

QString DesktopAssociations::handlerForType(const QString& mimeType) const
{
    {
        QMutexLocker lock(&m_cacheLock);
        const auto it = m_cache.constFind(mimeType);
        if (it != m_cache.cend())
            return *it;
    }
    // Breadth first from the type through its parents (text/x-csrc, text/plain, ...);
    // the set of types seen ends a parent cycle in a broken database.
    QMimeDatabase db;
    std::deque<QString> queue{mimeType};
    QStringList seen{mimeType};
    std::optional<QString> handler;
    while (!queue.empty() && !handler) {
        const QString type = queue.front();
        queue.pop_front();
        handler = handlerForOneType(type);
        const QMimeType known = db.mimeTypeForName(type);
        QStringList next = known.isValid() ? known.parentMimeTypes() : QStringList();
        if (known.isValid() && known.name() != type)
            next.prepend(known.name());
        for (const QString& parent : std::as_const(next)) {
            if (!seen.contains(parent)) {
                seen << parent;
                queue.push_back(parent);
            }
        }
    }
    QMutexLocker lock(&m_cacheLock);
    m_cache.insert(mimeType, handler.value_or(QString()));
    return handler.value_or(QString());
}

QString DesktopAssociations::handlerForFile(const QString& fileName, const QByteArray& head) const
{
    return handlerForType(QMimeDatabase().mimeTypeForFileNameAndData(fileName, head).name());
}
