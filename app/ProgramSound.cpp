#include "app/ProgramSound.h"

#include "app/FolvaneApplication.h"
#include "platform/MediaPlayer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

namespace {

bool soundsEnabled = true;

// The players of the sounds still playing; each deletes itself when its sound has ended.
QSet<MediaPlayer*>& playing()
{
    static QSet<MediaPlayer*> players;
    return players;
}

} // namespace

void ProgramSound::setEnabled(bool enabled)
{
    soundsEnabled = enabled;
}

bool ProgramSound::isEnabled()
{
    return soundsEnabled;
}

QString ProgramSound::fileFor(const QString& folder, const char* entryName)
{
    return folder + QStringLiteral("sounds/") + QLatin1String(entryName) + QStringLiteral(".wav");
}

bool ProgramSound::play(const char* entryName)
{
    return playFrom(FolvaneApplication::ProgramFolder(), entryName);
}

bool ProgramSound::playFrom(const QString& folder, const char* entryName)
{
    // Only an absolute folder: a relative one would resolve against the working folder.
    if (!soundsEnabled || !QDir::isAbsolutePath(folder))
        return false;
    const QString path = fileFor(folder, entryName);
    if (!QFileInfo(path).isFile())
        return false;
    std::unique_ptr<MediaPlayer> player = MediaPlayer::create();
    if (!player->open(path))
        return false;
    MediaPlayer* sound = player.release();
    playing().insert(sound);
    sound->setNotify(true);
    // One notice ends the play, whether it reached the end or failed.
    QObject::connect(sound, &MediaPlayer::notified, sound, [sound] {
        playing().remove(sound);
        sound->deleteLater();
    });
    return sound->play();
}

void ProgramSound::finishPlaying(int maxMilliseconds)
{
    if (!playing().isEmpty()) {
        const QDeadlineTimer deadline(maxMilliseconds);
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (playing().isEmpty() || deadline.hasExpired())
                loop.quit();
        });
        poll.start(20);
        loop.exec();
    }
    qDeleteAll(playing());
    playing().clear();
}
