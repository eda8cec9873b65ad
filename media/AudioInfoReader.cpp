#include "media/AudioInfoReader.h"

#include "media/TMPEGaudio.h"
#include "media/TWAVFile.h"
#include "media/TWMAData.h"
#include "media/TWMAfile.h"
#include "media/TagLibReader.h"

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

} // namespace

bool AudioInfoReader::read(const QString& path)
{
    m_info = AudioInfo();
    m_error.clear();
    m_info.path = path;
    if (!m_source.find(path)) {
        m_error = m_source.errorString();
        m_info = AudioInfo();
        return false;
    }
    // The name's parts only: QFileInfo would look the file up again.
    const QFileInfo file(path);
    m_info.title = file.completeBaseName();
    m_info.size = m_source.size();
    const QString kind = file.suffix().toLower();
    if (kind == QLatin1String("mp3"))
        return readMpeg();
    if (kind == QLatin1String("wma"))
        return readWma();
    if (kind == QLatin1String("wav"))
        return readWav();
    if (TagLibReader::reads(kind))
        return readTagged();
    return true;
}

bool AudioInfoReader::fail(const QString& reason)
{
    m_error = QStringLiteral("%1: %2").arg(m_info.path, reason);
    m_info = AudioInfo();
    return false;
}

bool AudioInfoReader::readMpeg()
{
    TMPEGaudio mpeg;
    // A file that does not open fails the first read, with the reason.
    m_source.open();
    if (!mpeg.read(m_source) || !mpeg.Valid())
        return fail(firstOf(mpeg.errorString(), QStringLiteral("MPEG: no valid audio frame")));
    const TID3v2& v2 = mpeg.ID3v2();
    const TID3v1& v1 = mpeg.ID3v1();
    m_info.title = firstOf(firstOf(v2.Title(), v1.Title()), m_info.title);
    m_info.artist = firstOf(v2.Artist(), v1.Artist());
    m_info.album = firstOf(v2.Album(), v1.Album());
    m_info.year = firstOf(v2.Year(), v1.Year());
    m_info.genre = firstOf(v2.Genre(), v1.Genre());
    m_info.track = trackText((v2.Track() & 0xFF) != 0 ? v2.Track() & 0xFF : v1.Track());
    m_info.bitrate = QString::number(mpeg.BitRate());
    m_info.sampleRate = QString::number(mpeg.SampleRate());
    m_info.channelMode = mpeg.ChannelMode();
    m_info.length = mpeg.DurationText();
    m_info.seconds = wholeSeconds(mpeg.Duration());
    m_info.size = mpeg.FileLength();
    return true;
}

bool AudioInfoReader::readWma()
{
    TWMAData data;
    if (!data.ReadFromFile(m_info.path))
        return fail(data.errorString());
    const TTagsData& tags = data.Tags();
    m_info.title = firstOf(tags.Title, m_info.title);
    m_info.artist = tags.Author;
    m_info.album = tags.AlbumTitle;
    m_info.year = tags.Year;
    m_info.genre = tags.Genre;
    bool isNumber = false;
    const int track = tags.TrackNumber.trimmed().toInt(&isNumber);
    m_info.track = isNumber ? trackText(track) : QString();
    m_info.bitrate = QString::number(tags.Bitrate / 1000);
    m_info.length = data.DurationText();
    m_info.seconds = QString::number(tags.Duration / 1000);
    m_info.size = tags.FileSize;
    TWMAfile format;
    if (format.ReadFromFile(m_info.path) && format.Valid()) {
        m_info.sampleRate = QString::number(format.SampleRate());
        m_info.channelMode = format.ChannelMode();
    }
    return true;
}

bool AudioInfoReader::readWav()
{
    TWAVFile wav;
    m_source.open();
    if (!wav.read(m_source) || !wav.Valid())
        return fail(firstOf(wav.errorString(), QStringLiteral("WAV: not a plain PCM wave file")));
    m_info.sampleRate = QString::number(wav.SampleRate());
    m_info.channelMode = wav.ChannelMode();
    m_info.length = wav.DurationText();
    m_info.seconds = wholeSeconds(wav.Duration());
    m_info.size = wav.FileSize();
    return true;
}

bool AudioInfoReader::readTagged()
{
    QString reason;
    if (!TagLibReader::read(m_info, reason))
        return fail(reason);
    return true;
}

} // namespace media
