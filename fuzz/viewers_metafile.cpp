// WMF and EMF files through our record players: any bytes give a picture of the metafile's
// size or a clear failure, never a crash, a read outside the file or a picture beyond the
// size limit. Text records are drawn too, so the fonts' GUI application is made once.
#include "viewers/image/MetafileRenderer.h"
#include "viewers/image/PictureFile.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_viewers_metafile";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    }
    QImage picture;
    const ViewerStatus status = MetafileRenderer::render(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), picture);
    if (!status && status.errorString().isEmpty())
        std::abort();
    if (qint64(picture.width()) * picture.height() > PictureFile::MaxPixels)
        std::abort();
    return 0;
}
