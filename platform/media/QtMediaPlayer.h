#pragma once
// The media player device over Qt Multimedia: QMediaPlayer with a QAudioOutput, and a
// QVideoWidget placed in the display rectangle when the caller gives one.

#include "platform/MediaPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QPointer>

#include <memory>

class QVideoWidget;

class QtMediaPlayer final : public MediaPlayer {
    Q_OBJECT
public:
    QtMediaPlayer();
    ~QtMediaPlayer() override;

    MediaMode mode() const override;
    qint64 position() const override { return m_player ? m_player->position() : 0; }
    qint64 length() const override { return m_player ? m_player->duration() : 0; }
    void setDisplay(QWidget* window, const QRect& rect) override;
    void setVolume(int volume) override;
    int volume() const override { return m_volume; }

    // Makes MediaPlayer::create() build this player.
    static void install();

protected:
    Status doOpen(const QString& fileName) override;
    void doClose() override;
    Status doPlay() override;
    bool doPause() override;
    bool doResume() override;
    bool doStop() override;
    bool doSeek(qint64 positionMs) override;

private:
    Status load(const QString& fileName);
    void statusChanged(QMediaPlayer::MediaStatus status);
    void failed(QMediaPlayer::Error error, const QString& text);

    // A fresh framework player for every file, so that nothing of a file that failed to load
    // lingers into the next.
    std::unique_ptr<QMediaPlayer> m_player;
    QAudioOutput m_audio;
    QPointer<QVideoWidget> m_video;
    int m_volume = 1000;
    bool m_open = false;
    bool m_stopped = false; // held by stop, which keeps the position
};
