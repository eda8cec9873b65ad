#include "viewers/image/PictureFile.h"

#include "platform/FileDescriptor.h"
#include "platform/FileName.h"
#include "viewers/image/JpegDecoder.h"
#include "viewers/image/MetafileRenderer.h"
#include "viewers/tiff/ReadTiff.h"
#include "viewers/tiff/TFileTiff.h"

#include <QBuffer>
#include <QImageReader>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

ViewerStatus failure(const QString& name, const QString& reason)
{
    return ViewerStatus::failure(QStringLiteral("Cannot read \"%1\": %2").arg(name, reason));
}

bool startsWith(const QByteArray& bytes, const char* magic, int length)
{
    return bytes.size() >= length && std::memcmp(bytes.constData(), magic, size_t(length)) == 0;
}

// BMP, ICO and GIF through Qt's readers, their size checked before the pixels are taken.
ViewerStatus decodeWithQt(const QByteArray& bytes, const QString& name, const char* format, LoadedPicture& picture)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > PictureFile::MaxPixels)
        return failure(name, QStringLiteral("the picture is too large (%1 x %2)").arg(size.width()).arg(size.height()));
    const bool animated = picture.kind == PictureKind::Gif && reader.supportsAnimation() && reader.imageCount() != 1;
    if (!reader.read(&picture.image))
        return failure(name, reader.errorString());
    if (animated)
        picture.animation = bytes;
    return ViewerStatus();
}

ViewerStatus decodeTiff(const QByteArray& bytes, const QString& name, LoadedPicture& picture)
{
    TFileTiff file;
    file.setData(bytes, name);
    return ReadTiff(file, picture.image, [&picture](const QString& note) { picture.notes << note; });
}

// The first bytes read of every picture file: enough to tell its kind.
constexpr qint64 kHeadSize = 64 * 1024;

// Opens a regular file (a FIFO would block the reader, a device acts on being read) of at
// most MaxFileSize bytes. The open file is checked again: one swapped for a FIFO after the
// first check does not block, as it is opened without waiting.
ViewerStatus openFile(const QString& path, FileDescriptor& file)
{
    const QByteArray native = FileName::encode(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return failure(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(st.st_mode))
        return failure(path, QStringLiteral("it is not a regular file"));
    if (st.st_size > PictureFile::MaxFileSize)
        return failure(path, QStringLiteral("the file is too large"));
    file = FileDescriptor::open(native, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (!file.isOpen() || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return failure(path, QStringLiteral("it cannot be read as a regular file"));
    return ViewerStatus();
}

// Appends up to count bytes read after those already in bytes.
ViewerStatus readUpTo(const FileDescriptor& file, const QString& path, qint64 count, QByteArray& bytes)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + qsizetype(count));
    const std::int64_t got = file.readAt(start, bytes.data() + start, count);
    if (got < 0)
        return failure(path, QString::fromLocal8Bit(std::strerror(errno)));
    bytes.truncate(start + qsizetype(got));
    return ViewerStatus();
}

// Reads the rest of the file after the bytes already read, up to MaxFileSize in all (a file
// that grew since it was opened is cut there).
ViewerStatus readRest(const FileDescriptor& file, const QString& path, QByteArray& bytes)
{
    struct stat st {};
    if (::fstat(file.get(), &st) != 0)
        return failure(path, QString::fromLocal8Bit(std::strerror(errno)));
    const qint64 size = qBound<qint64>(bytes.size(), st.st_size, PictureFile::MaxFileSize);
    return readUpTo(file, path, size - bytes.size(), bytes);
}

} // namespace

std::optional<PictureKind> PictureFile::sniff(const QByteArray& bytes)
{
    if (startsWith(bytes, "\xFF\xD8\xFF", 3))
        return PictureKind::Jpeg;
    if (startsWith(bytes, "GIF87a", 6) || startsWith(bytes, "GIF89a", 6))
        return PictureKind::Gif;
    if (startsWith(bytes, "BM", 2))
        return PictureKind::Bitmap;
    if (startsWith(bytes, "\0\0\1\0", 4))
        return PictureKind::Icon;
    if (startsWith(bytes, "II*\0", 4) || startsWith(bytes, "MM\0*", 4))
        return PictureKind::Tiff;
    // A placeable WMF key, an EMF header record whose signature " EMF" sits at 40, or a
    // plain WMF header: memory or disk type, 9 words long, version 1 or 3.
    if (startsWith(bytes, "\xD7\xCD\xC6\x9A", 4) || (startsWith(bytes, "\1\0\0\0", 4) && bytes.mid(40, 4) == " EMF")
        || ((startsWith(bytes, "\1\0\x09\0", 4) || startsWith(bytes, "\2\0\x09\0", 4)) && (bytes.mid(4, 2) == QByteArray("\0\3", 2) || bytes.mid(4, 2) == QByteArray("\0\1", 2))))
        return PictureKind::Metafile;
    return std::nullopt;
}

ViewerStatus PictureFile::readBytes(const QString& path, QByteArray& bytes)
{
    FileDescriptor file;
    if (ViewerStatus opened = openFile(path, file); !opened)
        return opened;
    return readRest(file, path, bytes);
}

ViewerStatus PictureFile::decode(const QByteArray& bytes, const QString& name, int scaleIndex, LoadedPicture& picture)
{
    const std::optional<PictureKind> kind = sniff(bytes);
    if (!kind)
        return failure(name, bytes.isEmpty() ? QStringLiteral("the file is empty") : QStringLiteral("it is not a picture this viewer reads"));
    picture.kind = *kind;
    switch (*kind) {
    case PictureKind::Jpeg:
        return JpegDecoder::decode(bytes, scaleIndex, picture.image);
    case PictureKind::Tiff:
        return decodeTiff(bytes, name, picture);
    case PictureKind::Bitmap:
        return decodeWithQt(bytes, name, "bmp", picture);
    case PictureKind::Icon:
        return decodeWithQt(bytes, name, "ico", picture);
    case PictureKind::Gif:
        return decodeWithQt(bytes, name, "gif", picture);
    case PictureKind::Metafile:
        if (ViewerStatus drawn = MetafileRenderer::render(bytes, picture.image); !drawn)
            return failure(name, drawn.errorString());
        return ViewerStatus();
    }
    return failure(name, QStringLiteral("it is not a picture this viewer reads"));
}

ViewerStatus PictureFile::load(const QString& path, int scaleIndex, LoadedPicture& picture)
{
    FileDescriptor file;
    if (ViewerStatus opened = openFile(path, file); !opened)
        return opened;
    // A JPEG is decoded as it is read; other kinds are read whole first.
    QByteArray bytes;
    if (ViewerStatus read = readUpTo(file, path, kHeadSize, bytes); !read)
        return read;
    if (sniff(bytes) == PictureKind::Jpeg) {
        picture.kind = PictureKind::Jpeg;
        return JpegDecoder::decode(file, bytes, scaleIndex, picture.image);
    }
    if (ViewerStatus read = readRest(file, path, bytes); !read)
        return read;
    return decode(bytes, path, scaleIndex, picture);
}
