#include "browse/FileTypeNames.h"

#include "platform/FileTypes.h"

namespace {
FileTypeNames* installed = nullptr;
}

FileTypeNames::~FileTypeNames() = default;

FileTypeNames& FileTypeNames::instance()
{
    static PlatformTypeNames fallback;
    return installed ? *installed : fallback;
}

void FileTypeNames::setInstance(FileTypeNames* source)
{
    installed = source;
}

QString PlatformTypeNames::typeName(const QString& fileName, bool isFolder)
{
    if (isFolder) {
        if (m_folder.isEmpty())
            m_folder = FileTypes::typeName(fileName, true);
        return m_folder;
    }
    // Patterns such as "*.tar.gz" or "Makefile" decide by more than the last suffix, so the
    // cache key is everything after the first dot (or the whole name when there is none).
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'), 1);
    const QStringView key = dot < 0 ? QStringView(fileName) : QStringView(fileName).mid(dot);
    for (const Recent& recent : m_recent) {
        if (!recent.key.isNull() && key.compare(recent.key, Qt::CaseInsensitive) == 0)
            return recent.name;
    }
    const QString name = lookUp(key, fileName);
    m_recent[m_next++ % 4] = Recent{key.toString(), name};
    return name;
}

QString PlatformTypeNames::lookUp(QStringView key, const QString& fileName)
{
    const QString lowered = key.toString().toLower();
    auto it = m_bySuffix.constFind(lowered);
    if (it != m_bySuffix.constEnd())
        return *it;
    const QString name = FileTypes::typeName(fileName, false);
    if (m_bySuffix.size() >= 20000)
        m_bySuffix.clear(); // many names without a dot: keep the cache bounded
    m_bySuffix.insert(lowered, name);
    return name;
}
