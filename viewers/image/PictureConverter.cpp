#include "viewers/image/PictureConverter.h"

#include "platform/AtomicFile.h"
#include "platform/FileName.h"
#include "platform/PathText.h"
#include "viewers/FileKinds.h"
#include "viewers/image/GifEncoder.h"
#include "viewers/image/JpegEncoder.h"
#include "viewers/image/PictureFile.h"
#include "viewers/image/WmfWriter.h"
#include "viewers/tiff/Bmp2Tiff.h"

#include <QBuffer>

#include <sys/stat.h>

namespace {

const Conversion kConversions[] = {
    {"bmp2jpg", "BMP to JPG", ".BMP", ".jpg"},
    {"bmp2gif", "BMP to GIF", ".BMP", ".gif"},
    {"bmp2wmf", "BMP to WMF", ".BMP", ".wmf"},
    {"bmp2tif", "BMP to TIF", ".BMP", ".tif"},
    {"jpg2bmp", "JPG to BMP", ".JPG", ".bmp"},
    {"jpg2gif", "JPG to GIF", ".JPG", ".gif"},
    {"wmf2bmp", "WMF to BMP", ".WMF", ".bmp"},
    {"gif2bmp", "GIF to BMP", ".GIF", ".bmp"},
    {"gif2jpg", "GIF to JPG", ".GIF", ".jpg"},
    {"tif2bmp", "TIF to BMP", ".TIF", ".bmp"},
};

ViewerStatus encodeAs(const QString& targetExt, const QImage& picture, QByteArray& bytes)
{
    if (targetExt == QLatin1String(".jpg"))
        return JpegEncoder::encode(picture, bytes);
    if (targetExt == QLatin1String(".gif"))
        return GifEncoder::encode(picture, bytes);
    if (targetExt == QLatin1String(".wmf"))
        return WmfWriter::write(picture, bytes);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (targetExt == QLatin1String(".tif"))
        return WriteTiffStream(buffer, picture);
    if (!picture.save(&buffer, "bmp"))
        return ViewerStatus::failure(QStringLiteral("BMP: the picture cannot be written"));
    return ViewerStatus();
}

JobConflict conflictOf(const QString& source, const struct stat& from, const QByteArray& target, const struct stat& existing)
{
    JobConflict conflict;
    conflict.source = FileName::encode(source);
    conflict.existing = target;
    conflict.sourceSize = from.st_size;
    conflict.existingSize = existing.st_size;
    conflict.sourceModified = QDateTime::fromSecsSinceEpoch(from.st_mtim.tv_sec);
    conflict.existingModified = QDateTime::fromSecsSinceEpoch(existing.st_mtim.tv_sec);
    return conflict;
}

} // namespace

std::span<const Conversion> PictureConverter::conversions()
{
    return kConversions;
}

PictureConverter::PictureConverter(const Conversion& conversion, const QString& targetFolder, AskReplace askReplace)
    : m_conversion(conversion), m_target(targetFolder), m_askReplace(std::move(askReplace))
{
}

QString PictureConverter::outputOf(const QString& source) const
{
    QString base = PathText::nameOf(source);
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    return PathText::withTrailingSlash(m_target) + base + QLatin1String(m_conversion.targetExt);
}

PictureConverter::Outcome PictureConverter::convert(const QString& source, QStringList& messages)
{
    const QString error = QStringLiteral("ERROR on ") + PathText::nameOf(source);
    if (!FileKinds::HasExtension(source, QLatin1String(m_conversion.sourceExt))) {
        messages << error;
        return Outcome::Failed;
    }
    const QString output = outputOf(source);
    if (const Outcome allowed = mayWrite(source, output, messages); allowed != Outcome::Written)
        return allowed;
    LoadedPicture picture;
    QByteArray bytes;
    ViewerStatus status = PictureFile::load(source, 0, picture);
    messages << picture.notes;
    if (status)
        status = encodeAs(QLatin1String(m_conversion.targetExt), picture.image, bytes);
    if (!status) {
        messages << error + QStringLiteral(": ") + status.errorString();
        return Outcome::Failed;
    }
    if (const Status saved = AtomicFile::replace(FileName::encode(output), bytes, 0644); !saved) {
        messages << error + QStringLiteral(": ") + saved.errorString();
        return Outcome::Failed;
    }
    return Outcome::Written;
}

// An output that exists is replaced only when the user says so; never the source itself.
PictureConverter::Outcome PictureConverter::mayWrite(const QString& source, const QString& output, QStringList& messages)
{
    const QByteArray target = FileName::encode(output);
    struct stat existing {};
    if (::stat(target.constData(), &existing) != 0)
        return Outcome::Written;
    struct stat from {};
    if (::stat(FileName::encode(source).constData(), &from) == 0 && from.st_dev == existing.st_dev && from.st_ino == existing.st_ino) {
        messages << QStringLiteral("ERROR on ") + PathText::nameOf(source) + QStringLiteral(": the output would replace the file itself");
        return Outcome::Failed;
    }
    if (m_replaceAll)
        return Outcome::Written;
    switch (m_askReplace(conflictOf(source, from, target, existing))) {
    case JobConflictChoice::ProceedAll:
        m_replaceAll = true;
        return Outcome::Written;
    case JobConflictChoice::Proceed:
        return Outcome::Written;
    case JobConflictChoice::Skip:
        return Outcome::Kept;
    case JobConflictChoice::Cancel:
        break;
    }
    return Outcome::Cancelled;
}
