#include "media/TWAVFile.h"

#include "media/AudioSource.h"
#include "media/DurationText.h"
#include "platform/ByteOrder.h"

#include <QByteArray>

#include <limits>

namespace media {

using namespace byteorder;

namespace {

// "RIFF", the size of what follows, "WAVE".
struct RiffHeader {
    static constexpr int Size = 12;
    static constexpr int FormType = 8;
};

// A chunk: four-letter id and the little-endian size of its data, padded to an even length.
struct ChunkHeader {
    static constexpr int Size = 8;
    QByteArray id;
    uint32_t dataSize = 0;
};

// The "fmt " chunk of PCM audio (WAVEFORMATEX; WAVEFORMATEXTENSIBLE adds a sub-format).
struct WaveFormat {
    static constexpr int Size = 16, ExtensibleSize = 40;
    static constexpr int Tag = 0, Channels = 2, SampleRate = 4, BitsPerSample = 14;
    static constexpr int SubFormat = 24;
    static constexpr uint16_t Pcm = 1, Extensible = 0xFFFE;
};

// Real files carry a handful of chunks before the audio; a file of thousands of empty ones
// is not worth walking.
constexpr int MaxChunks = 256;

} // namespace

QString channelModeName(int channels)
{
    switch (channels) {
    case 1:
        return QStringLiteral("Mono");
    case 2:
        return QStringLiteral("Stereo");
    default:
        return QStringLiteral("Unknown");
    }
}


void TWAVFile::ResetData()
{
    *this = TWAVFile();
}

bool TWAVFile::ReadFromFile(const QString& fileName)
{
    AudioSource source(fileName);
    return read(source);
}

bool TWAVFile::read(AudioSource& source)
{
    ResetData();
    QByteArray header;
    if (!source.readAt(0, CanonicalHeaderSize, header)) {
        m_error = source.errorString();
        return false;
    }
    if (header.size() < CanonicalHeaderSize) {
        m_error = QStringLiteral("WAV: the file is shorter than a wave header");
        return false;
    }
    if (!header.startsWith("RIFF") || header.mid(RiffHeader::FormType, 4) != "WAVE") {
        m_error = QStringLiteral("WAV: not a RIFF wave file");
        return true;
    }
    bool haveFormat = false;
    qint64 offset = RiffHeader::Size;
    for (int chunk = 0; chunk < MaxChunks && offset + ChunkHeader::Size <= source.size(); ++chunk) {
        QByteArray bytes;
        if (!source.readAt(offset, ChunkHeader::Size, bytes) || bytes.size() < ChunkHeader::Size)
            break;
        const QByteArrayView id = QByteArrayView(bytes).first(4);
        const uint32_t size = readLE32(bytes, 4);
        const qint64 dataStart = offset + ChunkHeader::Size;
        if (id == "fmt ") {
            haveFormat = readFormat(source, dataStart, size);
            if (!haveFormat)
                break;
        } else if (id == "data") {
            if (!haveFormat)
                break;
            // A recorder that stopped early leaves a size larger than what was written.
            m_dataBytes = qMin<qint64>(size, source.size() - dataStart);
            m_fileSize = uint32_t(qMin<qint64>(source.size(), std::numeric_limits<uint32_t>::max()));
            m_valid = true;
            return true;
        }
        offset = dataStart + size + (size & 1);
    }
    const QString error = m_error.isEmpty() ? QStringLiteral("WAV: no PCM format and data chunks") : m_error;
    ResetData();
    m_error = error;
    return true;
}

// Takes the format when it is plain PCM of one or two channels at a real rate and depth.
bool TWAVFile::readFormat(AudioSource& source, qint64 offset, uint32_t size)
{
    QByteArray format;
    if (size < WaveFormat::Size || !source.readAt(offset, qMin<uint32_t>(size, WaveFormat::ExtensibleSize), format)
        || format.size() < WaveFormat::Size) {
        m_error = QStringLiteral("WAV: the format chunk is incomplete");
        return false;
    }
    uint16_t tag = readLE16(format, WaveFormat::Tag);
    if (tag == WaveFormat::Extensible && format.size() >= WaveFormat::ExtensibleSize)
        tag = readLE16(format, WaveFormat::SubFormat);
    const uint16_t channels = readLE16(format, WaveFormat::Channels);
    m_sampleRate = readLE32(format, WaveFormat::SampleRate);
    m_bitsPerSample = uint8_t(readLE16(format, WaveFormat::BitsPerSample));
    m_channelModeId = uint8_t(channels);
    if (tag != WaveFormat::Pcm || channels < 1 || channels > 2 || m_sampleRate == 0 || m_bitsPerSample == 0) {
        m_error = QStringLiteral("WAV: not plain PCM audio of one or two channels");
        return false;
    }
    return true;
}

QString TWAVFile::ChannelMode() const
{
    return channelModeName(m_channelModeId);
}

double TWAVFile::Duration() const
{
    if (!m_valid)
        return 0;
    return double(m_dataBytes) * 8 / m_sampleRate / m_bitsPerSample / m_channelModeId;
}

QString TWAVFile::DurationText() const
{
    return formatDurationText(Duration());
}

} // namespace media
