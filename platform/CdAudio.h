#pragma once
// The audio CD device of the CD player window: open a drive, ask for the disc (ready, media
// present, tracks, current track, lengths, position), play from a track, pause, resume, stop,
// seek to a track, open and close the tray, mute a channel and set the volume. Positions are
// tracks-minutes-seconds-frames (75 frames a second). Built over libcdio; without a drive (or
// without libcdio in the build) opening fails with a clear error.

#include "platform/MediaPlayer.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

struct CdPosition {
    int track = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = 0;

    static constexpr int kFramesPerSecond = 75;

    // From a count of frames (the track's own or the disc's).
    static CdPosition fromFrames(int track, std::int64_t frames);
    std::int64_t totalFrames() const { return (std::int64_t(minutes) * 60 + seconds) * kFramesPerSecond + frames; }
    std::int64_t milliseconds() const { return totalFrames() * 1000 / kFramesPerSecond; }
    // The packed forms of the device interface: TMSF (track in the low byte) and MSF.
    std::uint32_t packedTmsf() const;
    std::uint32_t packedMsf() const;
    static CdPosition fromPackedTmsf(std::uint32_t packed);
    bool operator==(const CdPosition&) const = default;
};

enum class CdChannel { Left, Right };

class CdAudioDevice {
public:
    virtual ~CdAudioDevice();

    // device: "/dev/sr0", or empty for the first CD drive. False with errorString() when there
    // is no drive or it cannot be opened.
    virtual bool open(const QString& device) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual bool isReady() = 0;
    virtual bool mediaPresent() = 0;
    virtual int trackCount() = 0;
    virtual int currentTrack() = 0;
    virtual CdPosition position() = 0;       // track and the time within it
    virtual CdPosition trackLength(int track) = 0; // minutes, seconds, frames
    virtual MediaMode mode() = 0;

    virtual bool play(int fromTrack) = 0; // to the end of the disc
    virtual bool pause() = 0;
    virtual bool resume() = 0;
    virtual bool stop() = 0;
    virtual bool seekToTrack(int track) = 0;

    virtual bool canEject() = 0;
    virtual bool openDoor() = 0;
    virtual bool closeDoor() = 0;

    virtual bool setChannelOn(CdChannel channel, bool on) = 0;
    // 0..65535 per channel, as the auxiliary volume of the platform.
    virtual bool setVolume(int left, int right) = 0;
    virtual bool volume(int* left, int* right) = 0;

    QString errorString() const { return m_error; }

    static std::unique_ptr<CdAudioDevice> create();
    static void setFactory(std::function<std::unique_ptr<CdAudioDevice>()> factory);

protected:
    bool fail(const QString& error)
    {
        m_error = error;
        return false;
    }
    void clearError() { m_error.clear(); }

private:
    QString m_error;
};
