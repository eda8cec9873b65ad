#include "media/playlist/M3uFile.h"

#include "platform/AtomicFile.h"
#include "platform/FileName.h"
#include "platform/PathText.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace media {

QString M3uFile::decodeLine(QByteArrayView line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(line);
    if (utf8.hasError())
        text = QString::fromLatin1(line);
    return text;
}

QString M3uFile::resolve(const QString& name, const QString& folder)
{
    if (name.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return FileName::fromUrl(QUrl(name));
    if (name.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(name);
    // Playlists written on other systems separate folders with "\".
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(PathText::joined(folder, relative));
}

QStringList M3uFile::parse(const QByteArray& bytes, const QString& folder)
{
    QStringList paths;
    QByteArrayView rest(bytes.constData(), qMin<qsizetype>(bytes.size(), kMaxBytes));
    // A byte-order mark at the start says UTF-8 and is no part of the first name.
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (line.size() > kMaxLine)
            continue;
        const QString text = decodeLine(line).trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        const QString path = resolve(text, folder);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

QStringList M3uFile::read(const QString& path, QString* error)
{
    // Opened without blocking and checked on the descriptor: a FIFO named .m3u never hangs.
    const QByteArray native = FileName::encode(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        if (error)
            *error = QStringLiteral("cannot read %1").arg(path);
        return {};
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray bytes = file.read(kMaxBytes);
    return parse(bytes, PathText::folderOf(path));
}

QByteArray M3uFile::compose(const QList<AudioInfo>& entries)
{
    QByteArray out("#EXTM3U\r\n");
    for (const AudioInfo& entry : entries) {
        out += "#EXTINF:" + entry.seconds.toUtf8() + ',' + entry.artist.toUtf8() + " - " + entry.title.toUtf8() + "\r\n";
        // The name's own bytes, so that a name in no valid encoding still names its file.
        out += FileName::encode(entry.path) + "\r\n";
    }
    return out;
}

Status M3uFile::save(const QString& path, const QList<AudioInfo>& entries)
{
    return AtomicFile::replace(FileName::encode(path), compose(entries), 0644);
}

} // namespace media
