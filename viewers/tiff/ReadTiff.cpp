#include "viewers/tiff/ReadTiff.h"

#include "platform/Prompter.h"
#include "viewers/tiff/TFileTiff.h"
#include "viewers/tiff/TGraphicTiff.h"
#include "viewers/tiff/TiffDirectoryDecoder.h"

namespace {

bool fail(QString* errorString, const QString& text)
{
    if (errorString)
        *errorString = text;
    return false;
}

} // namespace

bool ReadTiffFile(const QString& fileName, QImage& target, QString* errorString)
{
    TFileTiff file;
    file.setFileName(fileName);
    if (!file.openError().isEmpty()) {
        const QString text = QStringLiteral("Cannot open \"%1\": %2").arg(fileName, file.openError());
        Prompter::instance().information(text);
        return fail(errorString, text);
    }
    return ReadTiff(file, target, errorString);
}

bool ReadTiff(const TFileTiff& file, QImage& target, QString* errorString)
{
    if (!file.isValid()) {
        const QString text = QLatin1Char('<') + file.FileName() + QStringLiteral("> is not a valid TIFF file");
        Prompter::instance().information(text);
        return fail(errorString, text);
    }
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
            return fail(errorString, outcome.message);
        }
        break;
    }
    if (file.hasTooManyDirectories())
        return fail(errorString, QStringLiteral("The file has more than %1 images").arg(TFileTiff::MaxDirectories));
    if (!decoded)
        return fail(errorString, QStringLiteral("No image of \"%1\" could be read").arg(file.FileName()));
    return true;
}
