#pragma once
// The audio CD device over libcdio (MMC commands on the drive).

#include "platform/CdAudio.h"

#include <array>

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

    CdIo_t* m_cdio = nullptr;
    QString m_device;
    int m_seekLsn = -1; // where a seek left the head while stopped
    std::array<int, 2> m_levels{255, 255}; // the levels a muted channel goes back to
    std::array<bool, 2> m_on{true, true};
};
