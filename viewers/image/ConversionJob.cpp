#include "viewers/image/ConversionJob.h"

#include "platform/AtomicFile.h"
#include "platform/FileName.h"
#include "platform/PathText.h"
#include "viewers/FileKinds.h"
#include "viewers/image/JpegEncoder.h"
#include "viewers/image/PictureFile.h"
#include "viewers/tiff/Bmp2Tiff.h"

#include <QBuffer>

#include <sys/stat.h>

namespace {

const Conversion kConversions[] = {
    {"bmp2jpg", "BMP to JPG", ".BMP", ".jpg"},
    {"bmp2tif", "BMP to TIF", ".BMP", ".tif"},
    {"jpg2bmp", "JPG to BMP", ".JPG", ".bmp"},
    {"tif2bmp", "TIF to BMP", ".TIF", ".bmp"},
};

ViewerStatus encodeAs(const QString& targetExt, const QImage& picture, QByteArray& bytes)
{
    if (targetExt == QLatin1String(".jpg"))
        return JpegEncoder::encode(picture, bytes);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (targetExt == QLatin1String(".tif"))
        return WriteTiffStream(buffer, picture);
    if (!picture.save(&buffer, "bmp"))
        return ViewerStatus::failure(QStringLiteral("BMP: the picture cannot be written"));
    return ViewerStatus();
}

} // namespace

std::optional<Conversion> ConversionJob::conversionNamed(const QString& name)
{
    for (const Conversion& conversion : kConversions) {
        if (name == QLatin1String(conversion.name))
            return conversion;
    }
    return std::nullopt;
}

ConversionJob::ConversionJob(const Conversion& conversion, const QString& targetFolder, const QStringList& files)
    : m_conversion(conversion)
    , m_target(targetFolder)
    , m_files(files)
{
}

QString ConversionJob::outputOf(const QString& source) const
{
    QString base = PathText::nameOf(source);
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base.truncate(dot);
    return PathText::withTrailingSlash(m_target) + base + QLatin1String(m_conversion.targetExt);
}

QStringList ConversionJob::messages() const
{
    return m_messages;
}

bool ConversionJob::plan()
{
    addTotal(m_files.size());
    return true;
}

void ConversionJob::execute()
{
    for (const QString& source : m_files) {
        if (stopped())
            return;
        setCurrentItem(source);
        convert(source);
        itemDone();
    }
}

void ConversionJob::convert(const QString& source)
{
    const QString error = QStringLiteral("ERROR on ") + PathText::nameOf(source);
    if (!FileKinds::HasExtension(source, QLatin1String(m_conversion.sourceExt))) {
        m_messages << error;
        return;
    }
    const QString output = outputOf(source);
    if (!mayWrite(source, output))
        return;
    LoadedPicture picture;
    QByteArray bytes;
    ViewerStatus status = PictureFile::load(source, 0, picture);
    m_messages << picture.notes;
    if (status)
        status = encodeAs(QLatin1String(m_conversion.targetExt), picture.image, bytes);
    if (!status) {
        m_messages << error + QStringLiteral(": ") + status.errorString();
        return;
    }
    if (const Status saved = AtomicFile::replace(FileName::encode(output), bytes, 0644); !saved) {
        m_messages << error + QStringLiteral(": ") + saved.errorString();
        return;
    }
    ++m_written;
}

// An output that exists is replaced only when the user says so; never the source itself.
bool ConversionJob::mayWrite(const QString& source, const QString& output)
{
    const QByteArray target = FileName::encode(output);
    struct stat existing {};
    if (::stat(target.constData(), &existing) != 0)
        return true;
    struct stat from {};
    if (::stat(FileName::encode(source).constData(), &from) == 0 && from.st_dev == existing.st_dev && from.st_ino == existing.st_ino) {
        m_messages << QStringLiteral("ERROR on ") + PathText::nameOf(source) + QStringLiteral(": the output would replace the file itself");
        return false;
    }
    if (m_replaceAll)
        return true;
    JobConflict conflict;
    conflict.source = FileName::encode(source);
    conflict.existing = target;
    conflict.sourceSize = from.st_size;
    conflict.existingSize = existing.st_size;
    conflict.sourceModified = QDateTime::fromSecsSinceEpoch(from.st_mtim.tv_sec);
    conflict.existingModified = QDateTime::fromSecsSinceEpoch(existing.st_mtim.tv_sec);
    switch (askConflict(conflict)) {
    case JobConflictChoice::ProceedAll:
        m_replaceAll = true;
        return true;
    case JobConflictChoice::Proceed:
        return true;
    case JobConflictChoice::Skip:
    case JobConflictChoice::Cancel:
        break;
    }
    return false;
}
