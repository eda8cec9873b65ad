#include "media/AudioInfo.h"

#include "media/TMPEGaudio.h"
#include "media/TWAVFile.h"
#include "media/TWMAData.h"
#include "media/TWMAfile.h"

#include <QFileInfo>

#include <cmath>

namespace media {

namespace {

QString firstOf(const QString& preferred, const QString& other)
{
    return preferred.isEmpty() ? other : preferred;
}

QString trackText(int track)
{
    return track > 0 ? QStringLiteral("%1").arg(track, 2, 10, QLatin1Char('0')) : QString();
}

QString wholeSeconds(double seconds)
{
    return QString::number(qint64(std::trunc(seconds)));
}

void fail(QString* error, const QString& path, const QString& reason)
{
    if (error)
        *error = QStringLiteral("%1: %2").arg(path, reason);
}

std::optional<AudioInfo> readMpeg(AudioInfo info, QString* error)
{
    TMPEGaudio mpeg;
    if (!mpeg.ReadFromFile(info.path) || !mpeg.Valid()) {
        fail(error, info.path, firstOf(mpeg.errorString(), QStringLiteral("no valid MPEG audio frame")));
        return std::nullopt;
    }
    const TID3v2& v2 = mpeg.ID3v2();
    const TID3v1& v1 = mpeg.ID3v1();
    info.title = firstOf(firstOf(v2.Title(), v1.Title()), info.title);
    info.artist = firstOf(v2.Artist(), v1.Artist());
    info.album = firstOf(v2.Album(), v1.Album());
    info.year = firstOf(v2.Year(), v1.Year());
    info.genre = firstOf(v2.Genre(), v1.Genre());
    info.track = trackText((v2.Track() & 0xFF) != 0 ? v2.Track() & 0xFF : v1.Track());
    info.bitrate = QString::number(mpeg.BitRate());
    info.sampleRate = QString::number(mpeg.SampleRate());
    info.channelMode = mpeg.ChannelMode();
    info.length = mpeg.DurationText();
    info.seconds = wholeSeconds(mpeg.Duration());
    info.size = mpeg.FileLength();
    return info;
}

std::optional<AudioInfo> readWma(AudioInfo info, QString* error)
{
    TWMAData data;
    if (!data.ReadFromFile(info.path)) {
        fail(error, info.path, data.errorString());
        return std::nullopt;
    }
    const TTagsData& tags = data.Tags();
    info.title = firstOf(tags.Title, info.title);
    info.artist = tags.Author;
    info.album = tags.AlbumTitle;
    info.year = tags.Year;
    info.genre = tags.Genre;
    bool isNumber = false;
    const int track = tags.TrackNumber.trimmed().toInt(&isNumber);
    info.track = isNumber ? trackText(track) : QString();
    info.bitrate = QString::number(tags.Bitrate / 1000);
    info.length = data.DurationText();
    info.seconds = QString::number(tags.Duration / 1000);
    info.size = tags.FileSize;
    TWMAfile format;
    if (format.ReadFromFile(info.path) && format.Valid()) {
        info.sampleRate = QString::number(format.SampleRate());
        info.channelMode = format.ChannelMode();
    }
    return info;
}

std::optional<AudioInfo> readWav(AudioInfo info, QString* error)
{
    TWAVFile wav;
    if (!wav.ReadFromFile(info.path) || !wav.Valid()) {
        fail(error, info.path, firstOf(wav.errorString(), QStringLiteral("not a plain PCM wave file")));
        return std::nullopt;
    }
    info.sampleRate = QString::number(wav.SampleRate());
    info.channelMode = wav.ChannelMode();
    info.length = wav.DurationText();
    info.seconds = wholeSeconds(wav.Duration());
    info.size = wav.FileSize();
    return info;
}

} // namespace

std::optional<AudioInfo> ReadAudioInfo(const QString& path, QString* error)
{
    const QFileInfo file(path);
    if (!file.isFile()) {
        fail(error, path, file.exists() ? QStringLiteral("not a regular file") : QStringLiteral("no such file"));
        return std::nullopt;
    }
    AudioInfo info;
    info.path = path;
    info.title = file.completeBaseName();
    info.size = file.size();
    const QString kind = file.suffix().toLower();
    if (kind == QLatin1String("mp3"))
        return readMpeg(info, error);
    if (kind == QLatin1String("wma"))
        return readWma(info, error);
    if (kind == QLatin1String("wav"))
        return readWav(info, error);
    return info;
}

} // namespace media
