#include "fileops/FileDropMime.h"

#include "platform/FileName.h"

#include <QMimeData>
#include <QUrl>

namespace {

// A local path from one line holding a file URL; empty for anything else.
QString localPath(QByteArray line)
{
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith('#') || line.size() > 3 * FileDropMime::kMaxPathBytes)
        return QString();
    QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile())
        return QString();
    // "localhost" names this machine; any other host is a share elsewhere, not a local file.
    if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        url.setHost(QString());
    if (!url.host().isEmpty())
        return QString();
    const QString path = FileName::fromUrl(url);
    if (!path.startsWith(QLatin1Char('/')) || path.contains(QChar(0)) || FileName::encode(path).size() > FileDropMime::kMaxPathBytes)
        return QString();
    return path;
}

QList<QByteArray> linesOf(const QByteArray& bytes)
{
    return bytes.left(FileDropMime::kMaxBytes).split('\n');
}

QByteArray urlOf(const QString& path)
{
    return FileName::toUrl(path).toEncoded();
}

} // namespace

namespace FileDropMime {

QByteArray uriListBytes(const QStringList& paths)
{
    QByteArray bytes;
    for (const QString& path : paths)
        bytes += urlOf(path) + "\r\n";
    return bytes;
}

QByteArray gnomeCopiedFilesBytes(const QStringList& paths)
{
    QByteArray bytes = "copy";
    for (const QString& path : paths)
        bytes += '\n' + urlOf(path);
    return bytes;
}

void write(QMimeData* mime, const QStringList& paths)
{
    mime->setData(QLatin1String(kUriList), uriListBytes(paths));
    mime->setData(QLatin1String(kGnomeCopiedFiles), gnomeCopiedFilesBytes(paths));
    // Plain text for editors; the URL forms carry the bytes.
    mime->setText(FileName::display(paths.join(QLatin1Char('\n'))));
}

QStringList parseUriList(const QByteArray& bytes)
{
    QStringList paths;
    for (const QByteArray& line : linesOf(bytes)) {
        const QString path = localPath(line);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

FileDropList parseGnomeCopiedFiles(const QByteArray& bytes)
{
    FileDropList list;
    const QList<QByteArray> lines = linesOf(bytes);
    if (lines.isEmpty())
        return list;
    const QByteArray action = lines.first().trimmed();
    if (action != "copy" && action != "cut")
        return list;
    list.cut = action == "cut";
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString path = localPath(lines[i]);
        if (!path.isEmpty())
            list.paths << path;
    }
    return list;
}

FileDropList read(const QMimeData* mime)
{
    if (!mime)
        return {};
    if (mime->hasFormat(QLatin1String(kGnomeCopiedFiles))) {
        FileDropList list = parseGnomeCopiedFiles(mime->data(QLatin1String(kGnomeCopiedFiles)));
        if (!list.paths.isEmpty())
            return list;
    }
    FileDropList list;
    if (mime->hasFormat(QLatin1String(kUriList)))
        list.paths = parseUriList(mime->data(QLatin1String(kUriList)));
    list.cut = !list.paths.isEmpty() && mime->data(QLatin1String(kKdeCutSelection)).trimmed() == "1";
    return list;
}

bool hasFiles(const QMimeData* mime)
{
    return !read(mime).paths.isEmpty();
}

} // namespace FileDropMime
