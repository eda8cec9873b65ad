#include "media/TWMAfile.h"

#include "media/AsfHeader.h"
#include "media/AudioSource.h"
#include "media/TWAVFile.h"
#include "media/TextCodec.h"

namespace media {

namespace {

QString kept(const QString& text)
{
    return trimmedText(text.left(TWMAfile::TextLimit));
}

// The audio this reader accepts: a real maximum bit rate, one or two channels, a sample rate
// from 8 to 96 kHz and an average of less than 40,000 bytes a second.
bool isAcceptedAudio(const AsfHeader& header)
{
    return header.maxBitrate > 0 && header.maxBitrate < 320000 && header.hasAudioStream
        && (header.channels == 1 || header.channels == 2) && header.samplesPerSecond >= 8000
        && header.samplesPerSecond <= 96000 && header.averageBytesPerSecond > 0
        && header.averageBytesPerSecond < 40000;
}

} // namespace


void TWMAfile::ResetData()
{
    *this = TWMAfile();
}

QString TWMAfile::ChannelMode() const
{
    return channelModeName(m_channelModeId);
}

bool TWMAfile::ReadFromFile(const QString& fileName)
{
    AudioSource source(fileName);
    return read(source);
}

bool TWMAfile::read(AudioSource& source)
{
    ResetData();
    m_fileSize = source.size();
    AsfHeader header;
    if (!header.read(source)) {
        m_error = header.errorString();
        // A file of another kind is read well enough to know it holds no WMA audio.
        return header.isOtherKind();
    }
    m_title = header.title;
    m_artist = header.author;
    m_comment = header.description;
    QString trackText;
    const std::pair<const char*, QString*> descriptors[] = {
        {"WM/TITLE", &m_title}, {"WM/AUTHOR", &m_artist}, {"WM/ALBUMTITLE", &m_album},
        {"WM/TRACK", &trackText}, {"WM/YEAR", &m_year}, {"WM/GENRE", &m_genre},
        {"WM/DESCRIPTION", &m_comment},
    };
    for (const AsfAttribute& attribute : header.attributes) {
        if (attribute.origin != AsfAttribute::Origin::ExtendedContentDescription
            || attribute.type != AsfAttribute::Text)
            continue;
        const QString name = trimmedText(attribute.name).toUpper();
        for (const auto& [wanted, target] : descriptors) {
            if (name == QLatin1String(wanted))
                *target = attribute.text();
        }
    }
    if (!isAcceptedAudio(header)) {
        const qint64 fileSize = m_fileSize;
        ResetData();
        m_fileSize = fileSize;
        m_error = QStringLiteral("WMA: no audio stream of a kind this reader accepts");
        return true;
    }
    m_valid = true;
    m_channelModeId = uint8_t(header.channels);
    m_sampleRate = int(header.samplesPerSecond);
    // The header's play time is exact; the size over the peak rate is only an estimate, kept
    // for files that do not state their play time.
    const uint64_t playTime = header.durationWithoutPreroll();
    m_duration = playTime > 0 ? playTime / 1e7 : double(m_fileSize) * 8 / header.maxBitrate;
    m_bitRate = int(header.averageBytesPerSecond * 8 / 1000);
    for (QString* text : {&m_title, &m_artist, &m_album, &m_year, &m_genre, &m_comment})
        *text = kept(*text);
    bool isNumber = false;
    const int track = kept(trackText).toInt(&isNumber);
    m_track = isNumber ? track : 0;
    return true;
}

} // namespace media
