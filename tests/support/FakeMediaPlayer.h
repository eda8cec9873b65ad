#pragma once
// A media player for tests of the panes: opens any existing file (or fails with the text given
// to failOpen), has the length given to setLength, plays until the test calls finishPlayback
// (or failPlayback), and records every request by name.

#include "platform/MediaPlayer.h"

#include <QStringList>

class FakeMediaPlayer final : public MediaPlayer {
    Q_OBJECT
public:
    void setLength(qint64 ms) { m_length = ms; }
    void failOpen(const QString& error) { m_openError = error; }
    void finishPlayback() { m_mode = MediaMode::Stopped; m_position = m_length; playEnded(MediaNotifyValue::Successful); }
    void failPlayback(const QString& error) { m_mode = MediaMode::Stopped; playEnded(MediaNotifyValue::Failure, error); }
    const QStringList& requests() const { return m_requests; }
    QWidget* display() const { return m_display; }
    QRect displayRect() const { return m_rect; }

    // Makes MediaPlayer::create() hand out FakeMediaPlayers; the last one made is last().
    static void install();
    static FakeMediaPlayer* last();

    MediaMode mode() const override { return m_mode; }
    qint64 position() const override { return m_position; }
    qint64 length() const override { return m_mode == MediaMode::NotReady ? 0 : m_length; }
    void setDisplay(QWidget* window, const QRect& rect) override { m_display = window; m_rect = rect; }
    void setVolume(int volume) override { m_volume = qBound(0, volume, 1000); }
    int volume() const override { return m_volume; }

protected:
    Status doOpen(const QString& fileName) override;
    void doClose() override;
    Status doPlay() override;
    bool doPause() override;
    bool doResume() override;
    bool doStop() override;
    bool doSeek(qint64 positionMs) override;

private:
    MediaMode m_mode = MediaMode::NotReady;
    qint64 m_length = 1000;
    qint64 m_position = 0;
    int m_volume = 1000;
    QString m_openError;
    QStringList m_requests;
    QWidget* m_display = nullptr;
    QRect m_rect;
};
