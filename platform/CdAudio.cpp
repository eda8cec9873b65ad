#include "platform/CdAudio.h"

#ifdef FOLVANE_HAVE_CDIO
#include "platform/cdio/LibcdioDevice.h"
#endif

namespace {

// A build without libcdio: no drive can be opened.
class NoCdDevice final : public CdAudioDevice {
public:
    bool open(const QString&) override { return fail(QStringLiteral("Audio CD support is not available in this build of the program.")); }
    void close() override {}
    bool isOpen() const override { return false; }
    bool isReady() override { return false; }
    bool mediaPresent() override { return false; }
    int trackCount() override { return 0; }
    int currentTrack() override { return 0; }
    CdPosition position() override { return {}; }
    CdPosition trackLength(int) override { return {}; }
    MediaMode mode() override { return MediaMode::NotReady; }
    bool play(int) override { return false; }
    bool pause() override { return false; }
    bool resume() override { return false; }
    bool stop() override { return false; }
    bool seekToTrack(int) override { return false; }
    bool canEject() override { return false; }
    bool openDoor() override { return false; }
    bool closeDoor() override { return false; }
    bool setChannelOn(CdChannel, bool) override { return false; }
    bool setVolume(int, int) override { return false; }
    bool volume(int*, int*) override { return false; }
};

std::function<std::unique_ptr<CdAudioDevice>()>& factory()
{
    static std::function<std::unique_ptr<CdAudioDevice>()> make;
    return make;
}

} // namespace

CdPosition CdPosition::fromFrames(int track, std::int64_t frames)
{
    frames = std::max<std::int64_t>(0, frames);
    CdPosition p;
    p.track = track;
    p.frames = int(frames % kFramesPerSecond);
    p.seconds = int(frames / kFramesPerSecond % 60);
    p.minutes = int(frames / kFramesPerSecond / 60);
    return p;
}

std::uint32_t CdPosition::packedTmsf() const
{
    return std::uint32_t(track & 0xff) | std::uint32_t(minutes & 0xff) << 8 | std::uint32_t(seconds & 0xff) << 16
        | std::uint32_t(frames & 0xff) << 24;
}

std::uint32_t CdPosition::packedMsf() const
{
    return std::uint32_t(minutes & 0xff) | std::uint32_t(seconds & 0xff) << 8 | std::uint32_t(frames & 0xff) << 16;
}

CdPosition CdPosition::fromPackedTmsf(std::uint32_t packed)
{
    return {int(packed & 0xff), int(packed >> 8 & 0xff), int(packed >> 16 & 0xff), int(packed >> 24 & 0xff)};
}

CdAudioDevice::~CdAudioDevice() = default;

std::unique_ptr<CdAudioDevice> CdAudioDevice::create()
{
    if (factory())
        return factory()();
#ifdef FOLVANE_HAVE_CDIO
    return std::make_unique<LibcdioDevice>();
#else
    return std::make_unique<NoCdDevice>();
#endif
}

void CdAudioDevice::setFactory(std::function<std::unique_ptr<CdAudioDevice>()> make)
{
    factory() = std::move(make);
}
