// RIFF wave files: the chunk walk and the format.
#include "FuzzSource.h"

#include "media/TWAVFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    withSource(data, size, [](media::AudioSource& source) {
        media::TWAVFile wav;
        if (wav.read(source)) {
            const QString all = wav.DurationText() + wav.ChannelMode();
            Q_UNUSED(all);
        }
    });
    return 0;
}
