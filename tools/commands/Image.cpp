// fvtool image FILE [--scale 1|2|4|8]: decodes a picture as the image viewer does (JPEG at
// the given scale) and prints its width and height, "WIDTHxHEIGHT", and its kind.
#include "Command.h"

#include "viewers/image/PictureFile.h"

namespace {

const char* const ImageUsage = "image FILE [--scale 1|2|4|8]";

int usage()
{
    fvtool::err(QStringLiteral("usage: fvtool ") + QLatin1String(ImageUsage));
    return 2;
}

const char* kindName(PictureKind kind)
{
    switch (kind) {
    case PictureKind::Bitmap: return "bmp";
    case PictureKind::Icon: return "ico";
    case PictureKind::Metafile: return "metafile";
    case PictureKind::Gif: return "gif";
    case PictureKind::Jpeg: return "jpeg";
    case PictureKind::Tiff: return "tiff";
    }
    return "";
}

int runImage(const QStringList& args)
{
    int scaleIndex = 0;
    if (args.size() == 3 && args[1] == QLatin1String("--scale")) {
        scaleIndex = QStringList{"1", "2", "4", "8"}.indexOf(args[2]);
        if (scaleIndex < 0)
            return usage();
    } else if (args.size() != 1) {
        return usage();
    }
    LoadedPicture picture;
    const ViewerStatus loaded = PictureFile::load(args[0], scaleIndex, picture);
    for (const QString& note : picture.notes)
        fvtool::err(note);
    if (!loaded) {
        fvtool::err(loaded.errorString());
        return 1;
    }
    fvtool::out(QStringLiteral("%1x%2 %3%4")
                    .arg(picture.image.width())
                    .arg(picture.image.height())
                    .arg(QLatin1String(kindName(picture.kind)), picture.animation.isEmpty() ? QString() : QStringLiteral(" animated")));
    return 0;
}

} // namespace

FVTOOL_COMMAND(image, ImageUsage, runImage)
