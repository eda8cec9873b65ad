#include "media/TID3v1.h"

#include "media/AudioSource.h"
#include "media/Id3Genres.h"
#include "platform/ByteOrder.h"

namespace media {

using namespace byteorder;

namespace {

// The fixed layout of the 128-byte tag.
struct Id3v1Record {
    static constexpr char Signature[] = "TAG";
    static constexpr int Title = 3, Artist = 33, Album = 63, Year = 93, Comment = 97;
    static constexpr int TextLength = 30, YearLength = 4, CommentV11Length = 28;
    static constexpr int ZeroByte = 125, TrackByte = 126, GenreByte = 127;
};

// A fixed-width field: the text before the first zero byte, with trailing characters of code
// 32 or below removed. Cutting at the zero byte keeps what some taggers leave behind the
// terminator out of the text.
QString fieldText(QByteArrayView tag, int at, int length)
{
    QByteArrayView field = tag.sliced(at, length);
    const qsizetype zero = field.indexOf('\0');
    if (zero >= 0)
        field = field.first(zero);
    while (!field.isEmpty() && uint8_t(field.back()) <= 32)
        field.chop(1);
    return QString::fromLatin1(field);
}

} // namespace


void TID3v1::ResetData()
{
    *this = TID3v1();
}

QString TID3v1::Genre() const
{
    return id3GenreName(m_genreId);
}

bool TID3v1::ReadFromFile(const QString& fileName)
{
    AudioSource source(fileName);
    return read(source);
}

bool TID3v1::read(AudioSource& source)
{
    ResetData();
    QByteArray tag;
    if (!source.readAt(qMax<qint64>(0, source.size() - TagSize), TagSize, tag)) {
        m_error = source.errorString();
        return false;
    }
    if (tag.size() < TagSize || !tag.startsWith(Id3v1Record::Signature))
        return true;

    m_exists = true;
    const char zeroByte = tag[Id3v1Record::ZeroByte];
    const char trackByte = tag[Id3v1Record::TrackByte];
    const bool v11 = (zeroByte == 0 && trackByte != 0) || (zeroByte == ' ' && trackByte != ' ');
    m_versionId = v11 ? VersionV11 : VersionV10;
    m_title = fieldText(tag, Id3v1Record::Title, Id3v1Record::TextLength);
    m_artist = fieldText(tag, Id3v1Record::Artist, Id3v1Record::TextLength);
    m_album = fieldText(tag, Id3v1Record::Album, Id3v1Record::TextLength);
    m_year = fieldText(tag, Id3v1Record::Year, Id3v1Record::YearLength);
    m_comment = fieldText(tag, Id3v1Record::Comment,
                          v11 ? Id3v1Record::CommentV11Length : Id3v1Record::TextLength);
    if (v11)
        m_track = byteAt(tag, Id3v1Record::TrackByte);
    m_genreId = byteAt(tag, Id3v1Record::GenreByte);
    return true;
}

} // namespace media
