// The playlist as an MPRIS2 player: what the player interface reports of the playlist
// (status, metadata, Can* flags), and the service on a private bus driven through
// QDBusInterface calls from another thread, as a desktop's media keys would: Play/Pause,
// Next, Previous, Stop, Volume, Raise, and PropertiesChanged following each change.
#include "MediaWindowFixture.h"
#include "support/PrivateBus.h"

#include "media/mpris/MprisProperties.h"
#include "media/mpris/MprisService.h"
#include "media/ui/AudioPlayerController.h"
#include "media/ui/TFolTrackBar.h"
#include "media/ui/TPanelAudio.h"

#include <QAction>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QMainWindow>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <future>

using namespace media;

namespace {

AudioInfo song(const QString& path, const char* title, const char* artist = "", const char* album = "", const char* seconds = "")
{
    AudioInfo info;
    info.path = path;
    info.title = QLatin1String(title);
    info.artist = QLatin1String(artist);
    info.album = QLatin1String(album);
    info.seconds = QLatin1String(seconds);
    return info;
}

// A{sv} values arrive from the bus as QDBusArgument; nested maps are read out here.
QVariantMap toMap(const QVariant& value)
{
    return value.canConvert<QDBusArgument>() ? qdbus_cast<QVariantMap>(value.value<QDBusArgument>()) : value.toMap();
}

// Keeps every PropertiesChanged of the player interface.
class ChangeRecorder : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;
public Q_SLOTS:
    void changed(const QString& interface, const QVariantMap& properties, const QStringList&)
    {
        if (interface != QLatin1String(MprisService::kPlayerInterface))
            return;
        QVariantMap map = properties;
        if (map.contains(QStringLiteral("Metadata")))
            map.insert(QStringLiteral("Metadata"), toMap(map.value(QStringLiteral("Metadata"))));
        changes << map;
    }
};

} // namespace

TEST(MprisPropertiesTest, StatusMetadataAndFlagsFollowThePlayer)
{
    struct StatusCase {
        MediaMode mode;
        const char* status;
    } statuses[] = {
        {MediaMode::NotReady, "Stopped"}, {MediaMode::Stopped, "Stopped"}, {MediaMode::Playing, "Playing"},
        {MediaMode::Seeking, "Playing"},  {MediaMode::Paused, "Paused"},   {MediaMode::Open, "Paused"},
    };
    for (const StatusCase& c : statuses)
        EXPECT_EQ(MprisProperties::playbackStatus(c.mode), QLatin1String(c.status)) << int(c.mode);

    struct MetadataCase {
        const char* name;
        MprisFacts facts;
        QVariantMap expected; // trackid and url left out: checked below
    } cases[] = {
        {"no track: empty", {}, {}},
        {"a tagged entry not yet played: the reader's seconds",
         {MediaMode::Stopped, song(QStringLiteral("/m/a.mp3"), "Title", "Artist", "Album", "61"), false, 0, 3},
         {{"xesam:title", "Title"}, {"xesam:artist", QStringList{"Artist"}}, {"xesam:album", "Album"}, {"mpris:length", qint64(61000000)}}},
        {"the loaded song: the player's exact length",
         {MediaMode::Playing, song(QStringLiteral("/m/a.mp3"), "Title", "", "", "61"), true, 61250, 3},
         {{"xesam:title", "Title"}, {"mpris:length", qint64(61250000)}}},
        {"an untagged entry of unknown length: its title alone",
         {MediaMode::Stopped, song(QStringLiteral("/m/b.mid"), "b"), false, 0, 1},
         {{"xesam:title", "b"}}},
    };
    for (const MetadataCase& c : cases) {
        QVariantMap metadata = MprisProperties::metadata(c.facts);
        if (c.facts.track) {
            EXPECT_EQ(metadata.take(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>(), MprisProperties::trackId(c.facts.track->path)) << c.name;
            EXPECT_EQ(metadata.take(QStringLiteral("xesam:url")).toString(), QStringLiteral("file://") + c.facts.track->path) << c.name;
        }
        EXPECT_EQ(metadata, c.expected) << c.name;
    }

    // Track ids are valid object paths, one per file, whatever bytes the name holds.
    const QString odd = QStringLiteral("/m/Song #1 (ä).mp3");
    EXPECT_EQ(MprisProperties::trackId(odd), MprisProperties::trackId(odd));
    EXPECT_NE(MprisProperties::trackId(odd), MprisProperties::trackId(QStringLiteral("/m/song #1 (ä).mp3")));
    EXPECT_FALSE(MprisProperties::trackId(odd).path().isEmpty()) << "an invalid object path reads back empty";

    struct FlagCase {
        int entries;
        bool loaded;
        bool canPlay, canGoNext, canSeek;
    } flags[] = {{0, false, false, false, false}, {1, true, true, false, true}, {2, false, true, true, false}};
    for (const FlagCase& c : flags) {
        MprisFacts facts;
        facts.entries = c.entries;
        facts.loaded = c.loaded;
        const QVariantMap player = MprisProperties::player(facts);
        EXPECT_EQ(player.value(QStringLiteral("CanPlay")).toBool(), c.canPlay) << c.entries;
        EXPECT_EQ(player.value(QStringLiteral("CanPause")).toBool(), c.canPlay) << c.entries;
        EXPECT_EQ(player.value(QStringLiteral("CanGoNext")).toBool(), c.canGoNext) << c.entries;
        EXPECT_EQ(player.value(QStringLiteral("CanGoPrevious")).toBool(), c.canGoNext) << c.entries;
        EXPECT_EQ(player.value(QStringLiteral("CanSeek")).toBool(), c.canSeek) << c.entries;
    }

    const QVariantMap before{{"A", 1}, {"B", QStringLiteral("x")}};
    EXPECT_EQ(MprisProperties::changed(before, {{"A", 1}, {"B", QStringLiteral("y")}, {"C", true}}),
              (QVariantMap{{"B", QStringLiteral("y")}, {"C", true}}));
    EXPECT_TRUE(MprisProperties::changed(before, before).isEmpty());
    EXPECT_EQ(MprisProperties::volumeFromMpris(0.5), 500);
    EXPECT_EQ(MprisProperties::volumeFromMpris(-1), 0);
    EXPECT_EQ(MprisProperties::volumeFromMpris(2.5), 1000);
}

class MprisServiceTest : public MediaWindowFixture {
protected:
    void SetUp() override
    {
        MediaWindowFixture::SetUp();
        audio = std::make_unique<AudioPlayerController>(*context, new QWidget(window.get()), checkableAction(), checkableAction());
        QList<AudioInfo> entries;
        for (int i = 0; i < 3; ++i) {
            const QString path = makeFile(QStringLiteral("m/%1.mp3").arg(i), "x");
            entries << song(path, qPrintable(QStringLiteral("Song %1").arg(i)), "Band", "Record");
        }
        audio->playlist().setEntries(entries);
    }
    void TearDown() override
    {
        audio.reset();
        MediaWindowFixture::TearDown();
    }

    std::unique_ptr<AudioPlayerController> audio;
};

TEST_F(MprisServiceTest, MediaKeysDriveThePlaylistAndChangesAreAnnounced)
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    PrivateBus bus;
    ASSERT_TRUE(bus.ok());
    MprisService service(*audio);
    ASSERT_EQ(service.publish(bus.connection()), QLatin1String(MprisService::kName));
    MprisService second(*audio);
    EXPECT_EQ(second.publish(QDBusConnection::connectToBus(bus.address(), QStringLiteral("second-instance"))), QStringLiteral("%1.instance%2").arg(QLatin1String(MprisService::kName)).arg(QCoreApplication::applicationPid()))
        << "a second instance takes a name of its own";

    // The desktop's side: its own connection, calling from another thread while this one
    // serves the object.
    QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("mpris-client"));
    ChangeRecorder recorder;
    ASSERT_TRUE(client.connect(QLatin1String(MprisService::kName), QLatin1String(MprisService::kPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                               QStringLiteral("PropertiesChanged"), &recorder, SLOT(changed(QString,QVariantMap,QStringList))));
    const auto onClient = [&](auto work) {
        auto done = std::async(std::launch::async, work);
        EXPECT_TRUE(QTest::qWaitFor([&] { return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000));
        return done.get();
    };
    const auto call = [&](const char* interface, const char* method, const QVariantList& args = {}) {
        return onClient([&] {
            QDBusInterface remote(QLatin1String(MprisService::kName), QLatin1String(MprisService::kPath), QLatin1String(interface), client);
            return remote.callWithArgumentList(QDBus::Block, QLatin1String(method), args);
        });
    };
    const auto property = [&](const char* name) {
        const QDBusMessage reply = call("org.freedesktop.DBus.Properties", "Get", {QLatin1String(MprisService::kPlayerInterface), QLatin1String(name)});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    };
    const auto player = [&](const char* method) {
        const QDBusMessage reply = call(MprisService::kPlayerInterface, method);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << method << reply.errorMessage().toStdString();
    };
    // The change announced last for key, once the announcement has come.
    const auto announced = [&](const char* key) {
        QVariant value;
        const bool arrived = QTest::qWaitFor([&] {
            for (const QVariantMap& change : recorder.changes) {
                if (change.contains(QLatin1String(key)))
                    value = change.value(QLatin1String(key));
            }
            return value.isValid();
        }, 5000);
        EXPECT_TRUE(arrived) << key << " was not announced";
        recorder.changes.clear();
        return value;
    };
    const auto title = [](const QVariant& metadata) { return toMap(metadata).value(QStringLiteral("xesam:title")).toString(); };
    const QList<AudioInfo>& entries = audio->playlist().entries();

    const QDBusMessage identity = call("org.freedesktop.DBus.Properties", "Get", {QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Identity")});
    EXPECT_EQ(identity.arguments().value(0).value<QDBusVariant>().variant().toString(), QStringLiteral("FolVane III"));
    QSignalSpy raised(&service, &MprisService::raiseRequested);
    EXPECT_EQ(call("org.mpris.MediaPlayer2", "Raise").type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(raised.size(), 1);
    EXPECT_EQ(property("PlaybackStatus").toString(), QStringLiteral("Stopped"));
    EXPECT_TRUE(property("CanGoNext").toBool());

    // Play/Pause plays the first entry, then pauses it.
    player("PlayPause");
    EXPECT_EQ(audio->playback().mode(), MediaMode::Playing);
    EXPECT_EQ(announced("PlaybackStatus").toString(), QStringLiteral("Playing"));
    const QVariantMap first = toMap(property("Metadata"));
    EXPECT_EQ(first.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("Song 0"));
    EXPECT_EQ(first.value(QStringLiteral("xesam:artist")).toStringList(), QStringList{QStringLiteral("Band")});
    EXPECT_EQ(first.value(QStringLiteral("xesam:album")).toString(), QStringLiteral("Record"));
    EXPECT_EQ(first.value(QStringLiteral("mpris:length")).toLongLong(), 1000000) << "the player's 1000 ms in microseconds";
    EXPECT_EQ(first.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>(), MprisProperties::trackId(entries[0].path));
    player("PlayPause");
    EXPECT_EQ(audio->playback().mode(), MediaMode::Paused);
    EXPECT_EQ(announced("PlaybackStatus").toString(), QStringLiteral("Paused"));
    player("Pause");
    EXPECT_EQ(audio->playback().mode(), MediaMode::Paused) << "Pause leaves a paused song paused";
    player("Play");
    EXPECT_EQ(audio->playback().mode(), MediaMode::Playing);

    // Next and Previous move through the playlist, wrapping; the metadata follows.
    player("Next");
    EXPECT_EQ(audio->playlist().current(), 1);
    EXPECT_EQ(FakeMediaPlayer::last()->fileName(), entries[1].path);
    EXPECT_EQ(title(announced("Metadata")), QStringLiteral("Song 1"));
    // A length the back end learns later comes out with the next position tick.
    FakeMediaPlayer::last()->setLength(2500);
    audio->playback().tick();
    EXPECT_EQ(toMap(announced("Metadata")).value(QStringLiteral("mpris:length")).toLongLong(), 2500000);
    player("Previous");
    EXPECT_EQ(title(announced("Metadata")), QStringLiteral("Song 0"));
    player("Previous");
    EXPECT_EQ(audio->playlist().current(), 2);
    EXPECT_EQ(title(announced("Metadata")), QStringLiteral("Song 2"));

    player("Stop");
    EXPECT_TRUE(audio->playback().fileName().isEmpty());
    EXPECT_EQ(property("PlaybackStatus").toString(), QStringLiteral("Stopped"));

    // The volume goes through the panel's bar, and back out to the desktop.
    EXPECT_EQ(call("org.freedesktop.DBus.Properties", "Set",
                   {QLatin1String(MprisService::kPlayerInterface), QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(0.25))})
                  .type(),
              QDBusMessage::ReplyMessage);
    EXPECT_EQ(audio->panel()->FolTrackBarPlayListVolume->value(), 250);
    EXPECT_EQ(audio->playback().volume(), 250);
    EXPECT_DOUBLE_EQ(announced("Volume").toDouble(), 0.25);
    audio->panel()->FolTrackBarPlayListVolume->setValue(800);
    EXPECT_DOUBLE_EQ(announced("Volume").toDouble(), 0.8) << "the panel's own changes are announced too";

    // Clearing the playlist leaves nothing to play.
    audio->MenuClearPlaylistClick();
    EXPECT_FALSE(announced("CanPlay").toBool());
    EXPECT_TRUE(toMap(property("Metadata")).isEmpty());
    QDBusConnection::disconnectFromBus(QStringLiteral("mpris-client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("second-instance"));
}

#include "MprisTest.moc"
