#include "viewers/tiff/ReadTiff.h"

#include "platform/Prompter.h"
#include "viewers/tiff/TFileTiff.h"
#include "viewers/tiff/TGraphicTiff.h"
#include "viewers/tiff/TiffDirectoryDecoder.h"

namespace {

void showToUser(const QString& text)
{
    Prompter::instance().information(text);
}

// A failure the user has been told already: the status carries the same text.
ViewerStatus shown(const QString& text, const TiffNotice& inform = showToUser)
{
    inform(text);
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
    return ReadTiff(file, target, showToUser);
}

ViewerStatus ReadTiff(const TFileTiff& file, QImage& target, const TiffNotice& inform)
{
    if (!file.isValid())
        return shown(QLatin1Char('<') + file.FileName() + QStringLiteral("> is not a valid TIFF file"), inform);
    bool decoded = false;
    for (int i = 0; i < file.directoryCount(); ++i) {
        TiffDecodeOutcome outcome = TiffDirectoryDecoder(*file.directory(i)).decode();
        switch (outcome.status) {
        case TiffDecodeOutcome::Decoded:
            target = std::move(outcome.image);
            decoded = true;
            continue;
        case TiffDecodeOutcome::Skipped:
            inform(outcome.message);
            continue;
        case TiffDecodeOutcome::StopFile:
            inform(outcome.message);
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
