#pragma once
// The audio CD device over libcdio: the table of contents and the tray through the drive's
// commands, playback by digital extraction (CdDigitalPlayback over libcdio-paranoia) into
// the installed audio sink, with the volume and the mute as per-channel gains.

#include "platform/CdAudio.h"
#include "platform/CdDigitalPlayback.h"

#include <array>
#include <memory>

typedef struct _CdIo CdIo_t;

class LibcdioDevice final : public CdAudioDevice {
public:
    LibcdioDevice();
    ~LibcdioDevice() override;

    bool open(const QString& device) override;
    void close() override;
    bool isOpen() const override { return m_cdio != nullptr; }
    bool isReady() override;
    bool mediaPresent() override;
    int trackCount() override;
    int currentTrack() override;
    CdPosition position() override;
    CdPosition trackLength(int track) override;
    MediaMode mode() override;
    bool play(int fromTrack) override;
    bool pause() override;
    bool resume() override;
    bool stop() override;
    bool seekToTrack(int track) override;
    bool canEject() override;
    bool openDoor() override;
    bool closeDoor() override;
    bool setChannelOn(CdChannel channel, bool on) override;
    bool setVolume(int left, int right) override;
    bool volume(int* left, int* right) override;

private:
    bool need();
    bool done(int code, const char* what);
    bool playFrom(int lsn);
    int trackStart(int track);
    int trackAt(int lsn);
    CdDigitalPlayback& playback();
    void applyGains();

    CdIo_t* m_cdio = nullptr;
    QString m_device;
    std::unique_ptr<CdAudioSink> m_sink; // made on the thread that made the device
    std::unique_ptr<CdDigitalPlayback> m_playback;
    int m_seekLsn = -1; // where a seek left the head while stopped
    std::array<int, 2> m_levels{65535, 65535};
    std::array<bool, 2> m_on{true, true};
};
