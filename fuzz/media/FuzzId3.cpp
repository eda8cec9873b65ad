// ID3v2 and ID3v1 tags: every frame value is made, so every decoding path runs.
#include "FuzzSource.h"

#include "media/TID3v1.h"
#include "media/TID3v2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    withSource(data, size, [](media::AudioSource& source) {
        media::TID3v2 v2;
        if (v2.read(source)) {
            const QString all = v2.Title() + v2.Artist() + v2.Album() + v2.Year() + v2.Genre()
                              + v2.Comment() + v2.Composer() + v2.Encoder() + v2.Copyright()
                              + v2.Language() + v2.Link() + v2.Band() + v2.OriginalArtist()
                              + v2.Conductor() + v2.Publisher() + QString::number(v2.Track());
            Q_UNUSED(all);
        }
        media::TID3v1 v1;
        if (v1.read(source)) {
            const QString all = v1.Title() + v1.Comment() + v1.Genre();
            Q_UNUSED(all);
        }
    });
    return 0;
}
