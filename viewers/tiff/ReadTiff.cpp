#include "viewers/tiff/ReadTiff.h"

#include "platform/Prompter.h"
#include "viewers/tiff/TFileTiff.h"
#include "viewers/tiff/TGraphicTiff.h"
#include "viewers/tiff/TiffDirectoryDecoder.h"

namespace {

// A failure the user has been shown already: the status carries the same text.
ViewerStatus shown(const QString& text)
{
    Prompter::instance().information(text);
    return ViewerStatus::failure(QStringLiteral("TIFF: ") + text);
}

} // namespace

ViewerStatus ReadTiffFile(const QString& fileName, QImage& target)
{
    TFileTiff file;
    file.setFileName(fileName);
    if (const ViewerStatus opened = file.openStatus(); !opened)
        return shown(opened.errorString());
    return ReadTiff(file, target);
}

ViewerStatus ReadTiff(const TFileTiff& file, QImage& target)
{
    if (!file.isValid())
        return shown(QLatin1Char('<') + file.FileName() + QStringLiteral("> is not a valid TIFF file"));
    bool decoded = false;
    for (int i = 0; i < file.directoryCount(); ++i) {
        TiffDecodeOutcome outcome = TiffDirectoryDecoder(*file.directory(i)).decode();
        switch (outcome.status) {
        case TiffDecodeOutcome::Decoded:
            target = std::move(outcome.image);
            decoded = true;
            continue;
        case TiffDecodeOutcome::Skipped:
            Prompter::instance().information(outcome.message);
            continue;
        case TiffDecodeOutcome::StopFile:
            Prompter::instance().information(outcome.message);
            break;
        case TiffDecodeOutcome::RangeError:
            return ViewerStatus::failure(QStringLiteral("TIFF: image %1 of \"%2\": %3").arg(i + 1).arg(file.FileName(), outcome.message));
        }
        break;
    }
    if (file.hasTooManyDirectories())
        return ViewerStatus::failure(QStringLiteral("TIFF: \"%1\" has more than %2 images").arg(file.FileName()).arg(TFileTiff::MaxDirectories));
    if (!decoded)
        return ViewerStatus::failure(QStringLiteral("TIFF: no image of \"%1\" could be read").arg(file.FileName()));
    return ViewerStatus();
}
