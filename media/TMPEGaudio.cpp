#include "media/TMPEGaudio.h"

#include "media/AudioSource.h"
#include "media/DurationText.h"
#include "platform/ByteOrder.h"

#include <array>
#include <cmath>
#include <limits>

namespace media {

using namespace byteorder;

namespace {

// A byte of the buffer; bytes past its end count as zero.
uint8_t at(const QByteArray& buffer, qsizetype index)
{
    return index >= 0 && index < buffer.size() ? uint8_t(buffer[index]) : 0;
}

bool headerAt(const QByteArray& buffer, qsizetype index)
{
    return MpegFrame::isHeader(at(buffer, index), at(buffer, index + 1), at(buffer, index + 2),
                               at(buffer, index + 3));
}

bool textAt(const QByteArray& buffer, qsizetype index, const char* text)
{
    return buffer.mid(index, 4) == text;
}

// Where a Xing or VBRI header sits: behind the side information of the first frame.
int vbrOffset(const MpegFrame& frame)
{
    if (frame.VersionID == MpegFrame::MPEG1)
        return frame.isMono() ? 21 : 36;
    return frame.isMono() ? 13 : 21;
}

// The Xing header's flags say which of its fields follow.
struct XingHeader {
    static constexpr uint32_t HasFrames = 1, HasBytes = 2, HasToc = 4, HasScale = 8;
    static constexpr int TocSize = 100, VendorSize = 8, LongestSize = 128;
};

// A VBR header starts at most 36 bytes into a frame that starts at most LongestFrame bytes
// into the buffer, so all its fields lie inside the buffer.
static_assert(TMPEGaudio::LongestFrame + 36 + XingHeader::LongestSize <= TMPEGaudio::BufferSize);

} // namespace


void TMPEGaudio::ResetData()
{
    *this = TMPEGaudio();
}

bool TMPEGaudio::ReadFromFile(const QString& fileName)
{
    AudioSource source(fileName);
    return read(source);
}

bool TMPEGaudio::read(AudioSource& source)
{
    ResetData();
    if (!m_id3v1.read(source) || !m_id3v2.read(source)) {
        m_error = m_id3v1.errorString().isEmpty() ? m_id3v2.errorString() : m_id3v1.errorString();
        return false;
    }
    m_fileLength = source.size();
    bool filled = false;
    if (!searchFrom(source, m_id3v2.Size(), filled))
        return false;
    if (!m_frame.Found && filled) {
        // The first frame may be damaged: look again in the middle of the audio.
        const qint64 audioStart = m_id3v2.Size();
        if (!searchFrom(source, audioStart + (m_fileLength - audioStart) / 2, filled))
            return false;
    }
    if (m_frame.Found && !m_vbr.Found) {
        // The buffer ends where the audio ends (before an ID3v1 tag); a file shorter than the
        // buffer fills its end, so the search still counts back from the audio's last byte.
        const qint64 end = m_fileLength - (m_id3v1.Exists() ? TID3v1::TagSize : 0);
        const qint64 start = qMax<qint64>(0, end - BufferSize);
        QByteArray buffer;
        // Only the encoder's name is lost when this read fails; the frame stays.
        if (end > 0 && source.readAt(start, end - start, buffer))
            searchEncoder(QByteArray(BufferSize - buffer.size(), '\0') + buffer);
    }
    if (!m_frame.Found) {
        const QString error = m_error;
        ResetData();
        m_error = error;
    }
    return true;
}

bool TMPEGaudio::searchFrom(AudioSource& source, qint64 offset, bool& filled)
{
    QByteArray buffer;
    if (!source.readAt(offset, BufferSize, buffer)) {
        const QString error = source.errorString();
        ResetData();
        m_error = error;
        return false;
    }
    filled = buffer.size() == BufferSize;
    buffer.resize(BufferSize, '\0');
    searchFrame(buffer);
    return true;
}

void TMPEGaudio::searchFrame(const QByteArray& buffer)
{
    for (int position = 0; position <= LongestFrame; ++position) {
        if (!headerAt(buffer, position))
            continue;
        MpegFrame frame;
        frame.decode(at(buffer, position), at(buffer, position + 1), at(buffer, position + 2),
                     at(buffer, position + 3));
        const int length = frame.frameLength();
        if (!headerAt(buffer, position + length))
            continue;
        frame.Found = true;
        frame.Position = position;
        frame.Size = uint16_t(length);
        frame.Empty = true;
        for (int i = 4; i < 10; ++i)
            frame.Empty = frame.Empty && at(buffer, position + i) == 0;
        m_frame = frame;
        readVBR(buffer, position + vbrOffset(frame));
        return;
    }
}

void TMPEGaudio::readVBR(const QByteArray& buffer, int index)
{
    // Encoders write the Xing layout under the name "Info" into constant-rate files; its
    // frame count gives their exact play time even when the first frame has another bit
    // rate than the rest.
    if (textAt(buffer, index, "Xing") || textAt(buffer, index, "Info")) {
        m_vbr.Found = true;
        m_vbr.ID = buffer.mid(index, 4);
        const uint32_t flags = readBE32(buffer, index + 4);
        qsizetype field = index + 8;
        if (flags & XingHeader::HasFrames) {
            m_vbr.Frames = int(readBE32(buffer, field));
            field += 4;
        }
        if (flags & XingHeader::HasBytes) {
            m_vbr.Bytes = int(readBE32(buffer, field));
            field += 4;
        }
        if (flags & XingHeader::HasToc)
            field += XingHeader::TocSize;
        if (flags & XingHeader::HasScale) {
            m_vbr.Scale = at(buffer, field + 3);
            field += 4;
        }
        m_vbr.VendorID = buffer.mid(field, XingHeader::VendorSize);
        m_vbr.VendorID.resize(XingHeader::VendorSize, '\0');
    } else if (textAt(buffer, index, "VBRI")) {
        m_vbr.Found = true;
        m_vbr.ID = "VBRI";
        m_vbr.Scale = at(buffer, index + 9);
        m_vbr.Bytes = int(readBE32(buffer, index + 10));
        m_vbr.Frames = int(readBE32(buffer, index + 14));
    }
}

void TMPEGaudio::searchEncoder(const QByteArray& buffer)
{
    const int steps = qMin(2 * int(m_frame.Size) + 1, BufferSize - 8 + 1);
    for (int k = 0; k < steps; ++k) {
        const int start = BufferSize - 8 - k;
        if (textAt(buffer, start, "LAME")) {
            m_encoder = QStringLiteral("LAME") + QString::fromLatin1(buffer.mid(start + 4, 4));
            return;
        }
        if (textAt(buffer, start, "GOGO")) {
            m_encoder = QStringLiteral("GOGO");
            return;
        }
    }
}

int TMPEGaudio::BitRate() const
{
    if (!m_vbr.Found || m_vbr.Frames <= 0)
        return m_frame.tableBitRate();
    // An Info header counts its own frame among the bytes but not among the frames; leaving
    // it out gives a constant-rate file its exact rate.
    const double bytes = m_vbr.ID == "Info" ? double(m_vbr.Bytes) - m_frame.Size : double(m_vbr.Bytes);
    const double rate = (bytes / m_vbr.Frames - m_frame.padding()) * SampleRate()
                      / m_frame.coefficient() / 1000;
    // A hostile header can ask for any figure; keep it inside the range of the result.
    return int(qBound<double>(std::numeric_limits<int>::min(), roundHalfEven(rate),
                              std::numeric_limits<int>::max()));
}

int TMPEGaudio::SampleRate() const
{
    return m_frame.sampleRate();
}

QString TMPEGaudio::ChannelMode() const
{
    static const std::array<const char*, 5> names = {"Stereo", "Joint Stereo", "Dual Channel",
                                                     "Mono", "Unknown"};
    return QString::fromLatin1(names[qMin<size_t>(m_frame.ModeID, names.size() - 1)]);
}

double TMPEGaudio::Duration() const
{
    if (!m_frame.Found)
        return 0;
    if (m_vbr.Found && m_vbr.Frames > 0)
        return double(m_frame.coefficient()) * m_vbr.Frames * 8 / SampleRate();
    return double(m_fileLength - m_id3v2.Size() - m_frame.Position) * 8 / m_frame.tableBitRate()
         / 1000;
}

QString TMPEGaudio::DurationText() const
{
    return formatDurationText(Duration());
}

bool TMPEGaudio::Valid() const
{
    const int bitRate = BitRate();
    return m_frame.Found && bitRate >= 8 && bitRate <= 448 && Duration() >= 0.1;
}

} // namespace media
