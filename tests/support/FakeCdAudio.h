#pragma once
// An audio CD device for tests of the CD player: a drive with the disc given to insertDisc
// (track lengths in frames), a tray, channels and volume, and a position the test moves.

#include "platform/CdAudio.h"

#include <QList>
#include <QStringList>

class FakeCdAudio final : public CdAudioDevice {
public:
    void insertDisc(const QList<std::int64_t>& trackFrames) { m_tracks = trackFrames; m_doorOpen = false; }
    void ejectDisc() { m_tracks.clear(); m_mode = MediaMode::Stopped; }
    void setPosition(int track, std::int64_t frames) { m_track = track; m_frames = frames; }
    void setNoDrive(bool none) { m_noDrive = none; }
    bool doorOpen() const { return m_doorOpen; }
    bool channelOn(CdChannel channel) const { return m_on[channel == CdChannel::Left ? 0 : 1]; }
    const QStringList& requests() const { return m_requests; }

    // Makes CdAudioDevice::create() return devices sharing this one's state: the fake stays
    // owned by the test.
    void install();

    bool open(const QString& device) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool isReady() override { return m_open && !m_tracks.isEmpty(); }
    bool mediaPresent() override { return isReady(); }
    int trackCount() override { return isReady() ? int(m_tracks.size()) : 0; }
    int currentTrack() override { return isReady() ? m_track : 0; }
    CdPosition position() override { return isReady() ? CdPosition::fromFrames(m_track, m_frames) : CdPosition(); }
    CdPosition trackLength(int track) override;
    MediaMode mode() override { return !m_open ? MediaMode::NotReady : m_doorOpen ? MediaMode::Open : m_mode; }
    bool play(int fromTrack) override;
    bool pause() override { return step(QStringLiteral("pause"), MediaMode::Paused); }
    bool resume() override { return step(QStringLiteral("resume"), MediaMode::Playing); }
    bool stop() override { return step(QStringLiteral("stop"), MediaMode::Stopped); }
    bool seekToTrack(int track) override;
    bool canEject() override { return m_open; }
    bool openDoor() override;
    bool closeDoor() override;
    bool setChannelOn(CdChannel channel, bool on) override;
    bool setVolume(int left, int right) override;
    bool volume(int* left, int* right) override;

private:
    bool step(const QString& request, MediaMode mode);

    QList<std::int64_t> m_tracks;
    MediaMode m_mode = MediaMode::Stopped;
    int m_track = 1;
    std::int64_t m_frames = 0;
    bool m_open = false;
    bool m_noDrive = false;
    bool m_doorOpen = false;
    bool m_on[2] = {true, true};
    int m_left = 65535;
    int m_right = 65535;
    QStringList m_requests;
};
