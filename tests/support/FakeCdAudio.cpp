#include "support/FakeCdAudio.h"

namespace {

// What CdAudioDevice::create() hands out: a forwarder to the test's fake.
class Forwarder final : public CdAudioDevice {
public:
    explicit Forwarder(FakeCdAudio* fake) : m_fake(fake) {}
    bool open(const QString& device) override { return m_fake->open(device); }
    void close() override { m_fake->close(); }
    bool isOpen() const override { return m_fake->isOpen(); }
    bool isReady() override { return m_fake->isReady(); }
    bool mediaPresent() override { return m_fake->mediaPresent(); }
    int trackCount() override { return m_fake->trackCount(); }
    int currentTrack() override { return m_fake->currentTrack(); }
    CdPosition position() override { return m_fake->position(); }
    CdPosition trackLength(int track) override { return m_fake->trackLength(track); }
    MediaMode mode() override { return m_fake->mode(); }
    bool play(int fromTrack) override { return m_fake->play(fromTrack); }
    bool pause() override { return m_fake->pause(); }
    bool resume() override { return m_fake->resume(); }
    bool stop() override { return m_fake->stop(); }
    bool seekToTrack(int track) override { return m_fake->seekToTrack(track); }
    bool canEject() override { return m_fake->canEject(); }
    bool openDoor() override { return m_fake->openDoor(); }
    bool closeDoor() override { return m_fake->closeDoor(); }
    bool setChannelOn(CdChannel channel, bool on) override { return m_fake->setChannelOn(channel, on); }
    bool setVolume(int left, int right) override { return m_fake->setVolume(left, right); }
    bool volume(int* left, int* right) override { return m_fake->volume(left, right); }

private:
    FakeCdAudio* m_fake;
};

} // namespace

void FakeCdAudio::install()
{
    CdAudioDevice::setFactory([this] { return std::make_unique<Forwarder>(this); });
}

bool FakeCdAudio::open(const QString& device)
{
    m_requests << QStringLiteral("open ") + device;
    if (m_noDrive)
        return fail(QStringLiteral("There is no CD drive in this computer."));
    m_open = true;
    return true;
}

CdPosition FakeCdAudio::trackLength(int track)
{
    if (!isReady() || track < 1 || track > m_tracks.size())
        return {};
    return CdPosition::fromFrames(0, m_tracks[track - 1]);
}

bool FakeCdAudio::step(const QString& request, MediaMode mode)
{
    m_requests << request;
    if (!isReady())
        return fail(QStringLiteral("The CD device is not ready."));
    m_mode = mode;
    return true;
}

bool FakeCdAudio::play(int fromTrack)
{
    if (!step(QStringLiteral("play %1").arg(fromTrack), MediaMode::Playing))
        return false;
    if (fromTrack < 1 || fromTrack > m_tracks.size())
        return fail(QStringLiteral("The CD has no track ") + QString::number(fromTrack) + QStringLiteral("."));
    setPosition(fromTrack, 0);
    return true;
}

bool FakeCdAudio::seekToTrack(int track)
{
    m_requests << QStringLiteral("seek %1").arg(track);
    if (!isReady() || track < 1 || track > m_tracks.size())
        return fail(QStringLiteral("The CD has no track ") + QString::number(track) + QStringLiteral("."));
    setPosition(track, 0);
    return true;
}

bool FakeCdAudio::openDoor()
{
    m_requests << QStringLiteral("door open");
    m_doorOpen = true;
    return m_open;
}

bool FakeCdAudio::closeDoor()
{
    m_requests << QStringLiteral("door closed");
    m_doorOpen = false;
    return m_open;
}

bool FakeCdAudio::setChannelOn(CdChannel channel, bool on)
{
    m_on[channel == CdChannel::Left ? 0 : 1] = on;
    return m_open;
}

bool FakeCdAudio::setVolume(int left, int right)
{
    m_left = qBound(0, left, 65535);
    m_right = qBound(0, right, 65535);
    return m_open;
}

bool FakeCdAudio::volume(int* left, int* right)
{
    *left = m_left;
    *right = m_right;
    return m_open;
}
