#include "fileops/DroppedStream.h"

#include "fileops/DropRules.h"
#include "fileops/FileDropMime.h"
#include "platform/AtomicFile.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"

#include <QMimeData>

namespace DroppedStream {

namespace {

bool isListOrText(const QString& format)
{
    return format == QLatin1String(FileDropMime::kUriList) || format == QLatin1String(kSuggestedName)
        || format.startsWith(QLatin1String("text/")) || format.startsWith(QLatin1String("x-special/"))
        || format.startsWith(QLatin1String("application/x-qt-")) || format.startsWith(QLatin1String("application/x-kde-"));
}

} // namespace

Stream of(const QMimeData* mime)
{
    Stream stream;
    if (!mime || !mime->hasFormat(QLatin1String(kSuggestedName)) || FileDropMime::hasFiles(mime))
        return stream;
    for (const QString& format : mime->formats()) {
        if (isListOrText(format))
            continue;
        stream.name = DropRules::streamFileName(QString::fromUtf8(mime->data(QLatin1String(kSuggestedName))).trimmed());
        stream.bytes = mime->data(format);
        break;
    }
    return stream;
}

bool save(const QString& folder, const Stream& stream)
{
    if (stream.name.isEmpty())
        return false;
    const QString path = PathText::joined(PathText::withoutTrailingSlash(folder), stream.name);
    if (LocalFiles::exists(path)
        && !Prompter::instance().confirm(QStringLiteral("The file \"") + stream.name
                                         + QStringLiteral("\" already exists in this folder.\r\nDo you want to replace it?")))
        return false;
    const Status written = AtomicFile::replace(FileName::encode(path), stream.bytes, 0644);
    if (!written)
        Prompter::instance().error(written.errorString());
    return bool(written);
}

} // namespace DroppedStream
