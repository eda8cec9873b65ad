// MPEG audio: tags, frame search, VBR headers, encoder search and the derived values.
#include "FuzzSource.h"

#include "media/TMPEGaudio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    withSource(data, size, [](media::AudioSource& source) {
        media::TMPEGaudio mpeg;
        if (mpeg.read(source)) {
            const QString all = mpeg.DurationText() + mpeg.ChannelMode() + mpeg.Encoder()
                              + QString::number(mpeg.BitRate()) + QString::number(mpeg.Valid());
            Q_UNUSED(all);
        }
    });
    return 0;
}
