#pragma once
// Parses the header of an ASF file (WMA, WMV): the file and stream properties, the content
// description and the named attributes of the extended content description and of the
// metadata objects inside the header extension. Every object's size is checked against its
// parent before anything inside it is read.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace media {

class AudioSource;
class ByteCursor;

struct AsfAttribute {
    // The attribute data types of the format.
    enum Type : uint16_t { Text = 0, Bytes = 1, Bool = 2, DWord = 3, QWord = 4, Word = 5, Guid = 6 };

    enum class Origin { ExtendedContentDescription, Metadata };

    QString name;
    uint16_t type = Text;
    QByteArray value; // as stored: UTF-16LE text or a little-endian number
    Origin origin = Origin::ExtendedContentDescription;

    QString text() const;      // a Text value, without its terminator
    uint64_t number() const;   // a Bool, Word, DWord or QWord value; 0 for other types
    bool isNumber() const;
};

class AsfHeader {
public:
    // False when the file is no ASF file or its header is damaged; errorString() says which.
    bool read(AudioSource& source);
    QString errorString() const { return m_error; }
    // True when the file was read and begins with something other than an ASF header.
    bool isOtherKind() const { return m_otherKind; }

    // File Properties object.
    bool hasFileProperties = false;
    uint64_t fileSize = 0;      // as the header states it
    uint64_t playDuration = 0;  // 100-nanosecond units, the preroll included
    uint64_t preroll = 0;       // milliseconds
    uint32_t maxBitrate = 0;    // bit/s

    // Stream Properties object of the first audio stream (WAVEFORMATEX).
    bool hasAudioStream = false;
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t averageBytesPerSecond = 0;

    // Content Description object.
    QString title, author, copyright, description, rating;

    // Extended content descriptors and the whole-file metadata records, in file order.
    QList<AsfAttribute> attributes;

    // The play time without the preroll, in 100-nanosecond units; 0 when unknown.
    uint64_t durationWithoutPreroll() const;

    // The longest text kept from one attribute; longer values are cut.
    static constexpr int TextLimit = 65536;

private:
    bool readChild(ByteCursor& objects, int depth);
    bool readObject(QByteArrayView guid, QByteArrayView object, int depth);
    bool readFileProperties(QByteArrayView object);
    bool readStreamProperties(QByteArrayView object);
    bool readContentDescription(QByteArrayView object);
    bool readExtendedContentDescription(QByteArrayView object);
    bool readHeaderExtension(QByteArrayView object, int depth);
    bool readMetadata(QByteArrayView object);

    QString m_error;
    bool m_otherKind = false;
};

} // namespace media
