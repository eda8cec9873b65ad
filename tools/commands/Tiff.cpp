// fvtool tiff FILE...: lists the image file directories of TIFF files.
// fvtool tiff2bmp IN.tif OUT: reads a TIFF file and saves its last image (BMP, or PNG and
// the other formats Qt writes, by OUT's extension).
// fvtool bmp2tiff IN OUT.tif: loads a picture (BMP, PNG, ...) and writes it as a TIFF file.
#include "Command.h"

#include "platform/Prompter.h"
#include "viewers/tiff/Bmp2Tiff.h"
#include "viewers/tiff/ReadTiff.h"
#include "viewers/tiff/TFileTiff.h"
#include "viewers/tiff/TGraphicTiff.h"

#include <QImage>

namespace {

// The reader's messages go to stderr, one line each.
class StderrPrompter final : public Prompter {
public:
    StderrPrompter() { Prompter::setInstance(this); }
    ~StderrPrompter() override { Prompter::setInstance(nullptr); }
    PromptButton ask(PromptKind, PromptButtons buttons, const QString& text, const QString&) override
    {
        fvtool::err(displayText(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        return escapeAnswer(buttons);
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

QString number(const TGraphicTiff& dir, uint16_t tag)
{
    const auto value = dir.value(tag);
    return value ? QString::number(*value) : QStringLiteral("-");
}

void listDirectories(const TFileTiff& file)
{
    fvtool::out(QStringLiteral("%1: %2 directories, byte order %3%4")
                    .arg(file.FileName())
                    .arg(file.directoryCount())
                    .arg(file.isLittleEndian() ? QStringLiteral("II") : QStringLiteral("MM"),
                         file.hasTooManyDirectories() ? QStringLiteral(", more not read") : QString()));
    for (int i = 0; i < file.directoryCount(); ++i) {
        const TGraphicTiff& dir = *file.directory(i);
        fvtool::out(QStringLiteral("  %1: %2x%3 bits %4 samples %5 photometric %6 compression %7 strips %8%9")
                        .arg(i)
                        .arg(number(dir, tiff::ImageWidth), number(dir, tiff::ImageLength),
                             number(dir, tiff::BitsPerSample), number(dir, tiff::SamplesPerPixel),
                             number(dir, tiff::Photometric), number(dir, tiff::Compression))
                        .arg(dir.stripCount())
                        .arg(dir.hasError() ? QStringLiteral(" (damaged)") : QString()));
    }
}

int usage(const char* text)
{
    fvtool::err(QStringLiteral("usage: fvtool ") + QLatin1String(text));
    return 2;
}

const char* const TiffUsage = "tiff FILE...";
const char* const Tiff2BmpUsage = "tiff2bmp IN.tif OUT.bmp";
const char* const Bmp2TiffUsage = "bmp2tiff IN.bmp OUT.tif";

int runTiff(const QStringList& args)
{
    if (args.isEmpty())
        return usage(TiffUsage);
    StderrPrompter prompter;
    int status = 0;
    for (const QString& path : args) {
        TFileTiff file;
        file.setFileName(path);
        if (!file.openStatus() || !file.isValid()) {
            fvtool::err(file.openStatus() ? QString(path + QStringLiteral(": not a TIFF file")) : file.openStatus().errorString());
            status = 1;
            continue;
        }
        listDirectories(file);
    }
    return status;
}

int runTiff2Bmp(const QStringList& args)
{
    if (args.size() != 2)
        return usage(Tiff2BmpUsage);
    StderrPrompter prompter;
    QImage image;
    if (const ViewerStatus read = ReadTiffFile(args[0], image); !read) {
        fvtool::err(read.errorString());
        return 1;
    }
    if (!image.save(args[1])) {
        fvtool::err(args[1] + QStringLiteral(": cannot write the picture"));
        return 1;
    }
    return 0;
}

int runBmp2Tiff(const QStringList& args)
{
    if (args.size() != 2)
        return usage(Bmp2TiffUsage);
    QImage image;
    if (!image.load(args[0])) {
        fvtool::err(args[0] + QStringLiteral(": cannot read the picture"));
        return 1;
    }
    if (const ViewerStatus written = WriteTiffFile(args[1], image); !written) {
        fvtool::err(written.errorString());
        return 1;
    }
    return 0;
}

} // namespace

FVTOOL_COMMAND(tiff, TiffUsage, runTiff)
FVTOOL_COMMAND(tiff2bmp, Tiff2BmpUsage, runTiff2Bmp)
FVTOOL_COMMAND(bmp2tiff, Bmp2TiffUsage, runBmp2Tiff)
