#pragma once
// The media player device the movie pane and the audio playlist use: open, close, play, pause,
// resume, stop, seek, status (mode, position and length in milliseconds), a display rectangle
// for video, volume 0 to 1000, and the wait and notify flags of a request.
//
// Notify: with notify on, every request ends with exactly one notified() signal, sent through
// the event loop of the player's (the UI) thread after the request has ended: Successful when it
// completed (a play at the end of the media), Superseded when another request took its place,
// Aborted when stop or close ended it, Failure when it failed. Wait: the next request returns
// only when it has ended (a play at the end of the media).

#include "platform/Status.h"
#include <QObject>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

enum class MediaMode { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };
enum class MediaNotifyValue { Successful, Superseded, Aborted, Failure };

class MediaPlayer : public QObject {
    Q_OBJECT
public:
    ~MediaPlayer() override;

    void setNotify(bool on) { m_notify = on; }
    bool notify() const { return m_notify; }
    void setWait(bool on) { m_wait = on; }
    bool wait() const { return m_wait; }

    // Opens the file; false with errorString() when the device cannot take it.
    bool open(const QString& fileName);
    void close();
    bool play();
    bool pause();
    bool resume();
    bool stop();
    bool seek(qint64 positionMs);

    virtual MediaMode mode() const = 0;
    virtual qint64 position() const = 0;
    virtual qint64 length() const = 0;
    // Video is drawn into rect of window, scaled to it.
    virtual void setDisplay(QWidget* window, const QRect& rect) = 0;
    virtual void setVolume(int volume) = 0; // 0..1000
    virtual int volume() const = 0;

    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }

    // A new player of the installed kind (Qt Multimedia in the program; without it, one whose
    // open fails with a clear message).
    static std::unique_ptr<MediaPlayer> create();
    static void setFactory(std::function<std::unique_ptr<MediaPlayer>()> factory);

Q_SIGNALS:
    void notified(MediaNotifyValue value);
    void modeChanged(MediaMode mode);

protected:
    MediaPlayer();

    virtual Status doOpen(const QString& fileName) = 0;
    virtual void doClose() = 0;
    virtual Status doPlay() = 0;
    virtual bool doPause() = 0;
    virtual bool doResume() = 0;
    virtual bool doStop() = 0;
    virtual bool doSeek(qint64 positionMs) = 0;

    // The back end reports the end of a play: at the end of the media or on a failure.
    void playEnded(MediaNotifyValue value, const QString& error = QString());

private:
    void begin(MediaNotifyValue forPending);
    bool startPlaying(bool resuming);
    bool finishNow(bool ok, const QString& error = QString());
    void sendNotice(MediaNotifyValue value);

    bool m_notify = false;
    bool m_wait = false;
    bool m_playPending = false;
    bool m_playNotify = false;
    bool m_playEnded = false;
    QString m_fileName;
    QString m_error;
};
