// ASF headers of WMA files, read for the format (TWMAfile) and for the attributes (TWMAData).
#include "FuzzSource.h"

#include "media/TWMAData.h"
#include "media/TWMAfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    withSource(data, size, [](media::AudioSource& source) {
        media::TWMAfile wma;
        if (wma.read(source)) {
            const QString all = wma.Title() + wma.Comment() + wma.ChannelMode();
            Q_UNUSED(all);
        }
        media::TWMAData attributes;
        if (attributes.read(source)) {
            const QString all = attributes.Tags().Lyrics + attributes.DurationText();
            Q_UNUSED(all);
        }
    });
    return 0;
}
