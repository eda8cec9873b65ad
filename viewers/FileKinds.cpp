#include "viewers/FileKinds.h"

#include "platform/FileDescriptor.h"
#include "platform/FileName.h"
#include "viewers/KeyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace FileKinds {

namespace {

constexpr qsizetype kCutLength = 5;
constexpr qsizetype kTextProbe = 1000;

bool extensionIn(const QString& path, std::initializer_list<const char*> list)
{
    const QString ext = CutExtension(path);
    if (ext.isEmpty())
        return false;
    for (const char* item : list) {
        if (ext == QLatin1String(item))
            return true;
    }
    return false;
}

} // namespace

QString CutExtension(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < slash)
        return QString();
    return path.mid(dot, kCutLength).toUpper();
}

bool HasExtension(const QString& path, const QString& ext)
{
    const QString cut = CutExtension(path);
    return !cut.isEmpty() && cut == ext.left(kCutLength).toUpper();
}

bool IsMovieFile(const QString& path)
{
    // The containers Linux users keep their films in join the classic list.
    return extensionIn(path, {".WMV", ".AVI", ".ASX", ".ASF", ".MPEG", ".MPG", ".MP4", ".MKV", ".WEBM", ".MOV"});
}

bool IsAudioFile(const QString& path)
{
    // The open formats play through the media framework and have their tags read by TagLib.
    return extensionIn(path, {".WMA", ".MP3", ".MID", ".WAV", ".OGG", ".FLAC", ".OPUS", ".M4A"});
}

bool IsImageFile(const QString& path)
{
    return extensionIn(path, {".BMP", ".ICO", ".WMF", ".EMF", ".GIF", ".JPG", ".JPEG"});
}

bool IsProgramFile(const QString& path)
{
    return extensionIn(path, {".EXE", ".PIF", ".COM", ".BAT"});
}

bool IsWebPageFile(const QString& path)
{
    return extensionIn(path, {".HTM", ".HTML"});
}

std::optional<QByteArray> readHead(const QString& path, qsizetype max)
{
    const QByteArray native = FileName::encode(path);
    struct stat st {};
    if (native.isEmpty() || ::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    FileDescriptor fd = FileDescriptor::open(native, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (!fd.isOpen() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    QByteArray bytes(qMin<qsizetype>(max, qMax<qsizetype>(st.st_size, 0)), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

bool CanOpenFile(const QString& path)
{
    return readHead(path, 0).has_value();
}

bool IsTextBytes(const QByteArray& head)
{
    for (qsizetype i = 0; i < qMin(head.size(), kTextProbe); ++i) {
        const auto byte = uchar(head[i]);
        if (byte < 32 && byte != 9 && byte != 10 && byte != 13)
            return false;
    }
    return true;
}

bool IsTextFile(const QString& path)
{
    const std::optional<QByteArray> head = readHead(path, kTextProbe);
    return head && IsTextBytes(*head);
}

bool IsZipFile(const QString& path)
{
    const std::optional<QByteArray> head = readHead(path, 4);
    return head && *head == QByteArrayView("PK\x03\x04", 4);
}

bool IsJfifOrExifFile(const QString& path)
{
    const std::optional<QByteArray> head = readHead(path, 10);
    if (!head || head->size() < 10)
        return false;
    const QByteArray mark = head->mid(6, 4);
    return mark == "JFIF" || mark == "Exif";
}

QString ReadInternetShortcutUrl(const QString& path)
{
    return KeyFile::read(path).value(QStringLiteral("InternetShortcut"), QStringLiteral("URL"));
}

} // namespace FileKinds
