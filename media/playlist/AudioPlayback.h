#pragma once
// The playlist's player (MediaPlayerAudio) and its commands, without a widget: Play/Pause,
// Stop, Next, Prev, playing a chosen entry, seeking, the volume, the position tick and what
// happens when a song ends. The panel shows what this reports.
//
// Only the back end's end of the media ends a song: a completion notice is asked for on
// play and resume alone, so a Stop, a pause or a close never looks like the end of a song
// (which would start the next one under continuous play).

#include "media/playlist/PlaybackRules.h"
#include "media/playlist/Playlist.h"
#include "platform/MediaPlayer.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QRandomGenerator;

namespace media {

class AudioPlayback : public QObject {
    Q_OBJECT
public:
    explicit AudioPlayback(Playlist& playlist, QObject* parent = nullptr);
    ~AudioPlayback() override;

    // The device, made at its first use: starting the media framework takes a while, and
    // the window is not kept waiting for it at start.
    MediaPlayer& player();
    // The song loaded, empty when none.
    QString fileName() const { return m_player ? m_player->fileName() : QString(); }
    // The device's mode; NotReady before its first use (reading it never starts the device).
    MediaMode mode() const { return m_player ? m_player->mode() : MediaMode::NotReady; }

    // Continuous play and shuffle are read when a song ends (the tool buttons' states).
    void setContinuous(std::function<bool()> on) { m_continuous = std::move(on); }
    void setShuffle(std::function<bool()> on) { m_shuffle = std::move(on); }
    // The generator shuffle draws from (tests seed one).
    void setRandom(QRandomGenerator* random) { m_random = random; }

    // Pauses a playing song, resumes a paused one; else plays the selected entry (the first
    // when none is selected).
    void playPause();
    void stop();
    // Select the next (previous) entry, wrapping, and play it; one entry plays again.
    void next();
    void previous();
    // Loads the entry and plays it.
    void playEntry(int index);
    void seek(qint64 positionMs);
    void setVolume(int volume); // 0..1000
    int volume() const { return m_volume; }

    // The position timer (1000 ms) runs while a song is loaded.
    bool timerActive() const { return m_timer.isActive(); }
    // One tick of it: reports the position.
    void tick();

    // The mode's name for the status bar: "Not ready", "Stopped", "Playing", ...
    static QString modeName(MediaMode mode);

Q_SIGNALS:
    void songStarted(const QString& path);
    void songStopped();
    // Opening or playing the file failed; the player is reset.
    void playFailed(const QString& path, const QString& reason);
    void positionChanged(qint64 positionMs, qint64 lengthMs);
    // The selected entry changed (next, previous, shuffle).
    void currentChanged(int index);
    // The song ended by itself and continuous play is off: the player stands at its end.
    void songEnded();
    void modeChanged(const QString& name);
    void volumeChanged(int volume);

private:
    void startSong(const QString& path);
    bool playRequest(bool resuming);
    void noticed(MediaNotifyValue value);
    void endOfSong();
    void select(int index);
    void reset();

    Playlist& m_playlist;
    std::unique_ptr<MediaPlayer> m_player;
    QTimer m_timer;
    std::function<bool()> m_continuous;
    std::function<bool()> m_shuffle;
    QRandomGenerator* m_random = nullptr;
    int m_volume = 1000;
};

} // namespace media
