#pragma once
// The audio playlist on the session bus as an MPRIS2 media player, so that the desktop's media
// keys and media widgets play, pause, stop and step through it and show its song. The object
// at /org/mpris/MediaPlayer2 carries the root interface (MprisRootAdaptor) and the player
// interface (MprisPlayerAdaptor); this class holds what both read and do, and announces the
// player's changed properties with org.freedesktop.DBus.Properties.PropertiesChanged.
//
// The bus name is org.mpris.MediaPlayer2.folvane3; a second instance of the program takes
// org.mpris.MediaPlayer2.folvane3.instance<pid>, as the MPRIS naming rules suggest.

#include "media/mpris/MprisProperties.h"

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

class AudioPlayerController;

class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kName = "org.mpris.MediaPlayer2.folvane3";
    static constexpr const char* kPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";

    explicit MprisService(AudioPlayerController& audio, QObject* parent = nullptr);

    // Serves the object on bus under kName, or under the per-instance name when kName is
    // held. The name taken; empty when the bus does not answer (nothing is served then).
    QString publish(QDBusConnection bus);

    media::MprisFacts facts() const;
    // The player interface's announced properties, as they stand.
    QVariantMap playerProperties() const { return media::MprisProperties::player(facts()); }
    // The position in the song loaded, in microseconds; 0 without one.
    qint64 positionUs() const;

    void playPause();
    void play();
    void pause();
    void stop();
    void next();
    void previous();
    // Moves by offsetUs within the song; past its end is the next song, before its start
    // the start.
    void seekBy(qint64 offsetUs);
    // Moves to positionUs when trackId is the loaded song and the position lies within it.
    void setPosition(const QDBusObjectPath& trackId, qint64 positionUs);
    void setVolume(double volume);

Q_SIGNALS:
    void raiseRequested();
    void quitRequested();
    // The song was moved to positionUs by a seek.
    void seeked(qint64 positionUs);

private:
    // Changes come in bursts (a new song: stop, select, start, mode): they are announced
    // once, after the burst.
    void scheduleAnnounce();
    void announce();

    AudioPlayerController& m_audio;
    QDBusConnection m_bus;
    QVariantMap m_announced;
    QTimer m_announce;
};
