#include "platform/FileTypes.h"

#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QMutex>

namespace {

QMutex cacheMutex;

QHash<QString, FileTypeInfo>& cache()
{
    static QHash<QString, FileTypeInfo> entries;
    return entries;
}

FileTypeInfo lookUp(const QString& name, const QString& suffix)
{
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    FileTypeInfo info;
    if (!type.isValid() || type.isDefault()) {
        info.typeName = suffix.isEmpty() ? QStringLiteral("File") : suffix.toUpper() + QStringLiteral(" File");
        info.iconName = QStringLiteral("application-octet-stream");
        info.genericIconName = QStringLiteral("unknown");
        return info;
    }
    info.typeName = type.comment();
    if (!info.typeName.isEmpty())
        info.typeName[0] = info.typeName[0].toUpper();
    info.iconName = type.iconName();
    info.genericIconName = type.genericIconName();
    return info;
}

} // namespace

FileTypeInfo FileTypes::of(const QString& path, bool isFolder)
{
    if (isFolder)
        return {QStringLiteral("File Folder"), QStringLiteral("folder"), QStringLiteral("folder")};
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot > 0 ? name.mid(dot + 1).toLower() : QString();
    // Names like "Makefile" or "README" have their own types; they are few and cached by name.
    const QString key = suffix.isEmpty() ? QStringLiteral("/") + name : suffix;
    {
        QMutexLocker lock(&cacheMutex);
        const auto it = cache().constFind(key);
        if (it != cache().constEnd())
            return *it;
    }
    const FileTypeInfo info = lookUp(suffix.isEmpty() ? name : QStringLiteral("x.") + suffix, suffix);
    QMutexLocker lock(&cacheMutex);
    cache().insert(key, info);
    return info;
}

void FileTypes::clearCache()
{
    QMutexLocker lock(&cacheMutex);
    cache().clear();
}
