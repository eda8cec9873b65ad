// ID3v1 and ID3v2 tags built byte by byte: versions, sizes, encodings, unsynchronisation and
// the values made from the frames.
#include "AudioBytes.h"
#include "ReadBytes.h"

#include "media/TID3v1.h"
#include "media/TID3v2.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace audiobytes;
using media::TID3v1;
using media::TID3v2;

namespace {

const QByteArray audio = QByteArray(2000, '\x55');

TID3v2 readV2(const QByteArray& bytes)
{
    TID3v2 tag;
    EXPECT_TRUE(readBytes(tag, bytes));
    return tag;
}

} // namespace

TEST(Id3v1, VersionAndFieldsFromTheLast128Bytes)
{
    struct Case {
        const char* name;
        uint8_t byte125, byte126;
        int version, track;
        QString comment;
    };
    const QByteArray comment28 = "abcdefghijklmnopqrstuvwxyz12";
    const QList<Case> cases = {
        {"zero then track: v1.1", 0, 7, TID3v1::VersionV11, 7, QString::fromLatin1(comment28)},
        {"space then non-space: v1.1", ' ', 9, TID3v1::VersionV11, 9, QString::fromLatin1(comment28)},
        {"zero then zero: v1.0", 0, 0, TID3v1::VersionV10, 0, QString::fromLatin1(comment28)},
        {"text to the end: v1.0", 'X', 'Y', TID3v1::VersionV10, 0, QString::fromLatin1(comment28 + "XY")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray tag = id3v1Tag("Title \xE9t\xE9", "Artist", "Album   ", "1999", comment28,
                                        c.byte125, c.byte126, 17);
        TID3v1 reader;
        ASSERT_TRUE(readBytes(reader, audio + tag));
        EXPECT_TRUE(reader.Exists());
        EXPECT_EQ(reader.VersionID(), c.version);
        EXPECT_EQ(reader.Track(), c.track);
        EXPECT_EQ(reader.Comment(), c.comment);
        EXPECT_EQ(reader.Title(), QString::fromUtf8("Title été"));
        EXPECT_EQ(reader.Album(), "Album");
        EXPECT_EQ(reader.Year(), "1999");
        EXPECT_EQ(reader.Genre(), "Rock");
    }
}

TEST(Id3v1, GenreNamesAndMissingTag)
{
    const QList<std::pair<uint8_t, QString>> genres = {
        {0, "Blues"}, {145, "Anime"}, {146, "JPop"}, {147, "Synthpop"}, {148, ""}, {255, ""}};
    for (const auto& [id, name] : genres) {
        TID3v1 reader;
        ASSERT_TRUE(readBytes(reader, audio + id3v1Tag("t", "a", "b", "2000", "c", 0, 0, id)));
        EXPECT_EQ(reader.GenreID(), id);
        EXPECT_EQ(reader.Genre(), name) << int(id);
    }
    TID3v1 none;
    EXPECT_TRUE(readBytes(none, audio));
    EXPECT_FALSE(none.Exists());
    EXPECT_EQ(none.GenreID(), 255);
    EXPECT_TRUE(readBytes(none, QByteArray("TAG")));
    EXPECT_FALSE(none.Exists()) << "three bytes are no tag";
}

TEST(Id3v1, TextAfterTheTerminatorIsNotShown)
{
    TID3v1 reader;
    ASSERT_TRUE(readBytes(reader, id3v1Tag(QByteArray("Song\0junk", 9), "", "", "", "", 0, 0, 255)));
    EXPECT_EQ(reader.Title(), "Song");
}

TEST(Id3v2, SizeVersionAndFramesOfEveryVersion)
{
    struct Case {
        const char* name;
        QByteArray tag;
    };
    const QList<Case> cases = {
        {"2.2 three-letter ids", id3v2Tag(2, frame22("TT2", latin1Text("Title")) + frame22("TP1", latin1Text("Artist"))
                                                 + frame22("TAL", latin1Text("Album")) + frame22("TYE", latin1Text("1987"))
                                                 + frame22("TRK", latin1Text("4/9")) + QByteArray(20, '\0'))},
        {"2.3 big-endian sizes", id3v2Tag(3, frame23("TIT2", latin1Text("Title")) + frame23("TPE1", latin1Text("Artist"))
                                                 + frame23("TALB", latin1Text("Album")) + frame23("TYER", latin1Text("1987"))
                                                 + frame23("TRCK", latin1Text("4/9")) + QByteArray(20, '\0'))},
        {"2.4 synchsafe sizes and TDRC", id3v2Tag(4, frame24("TIT2", latin1Text("Title")) + frame24("TPE1", latin1Text("Artist"))
                                                         + frame24("TALB", latin1Text("Album")) + frame24("TDRC", latin1Text("1987-05-01"))
                                                         + frame24("TRCK", latin1Text("4/9")) + QByteArray(20, '\0'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TID3v2 tag = readV2(c.tag + audio);
        EXPECT_TRUE(tag.Exists());
        EXPECT_EQ(tag.VersionID(), uint8_t(c.tag[3]));
        EXPECT_EQ(tag.Size(), c.tag.size());
        EXPECT_EQ(tag.Title(), "Title");
        EXPECT_EQ(tag.Artist(), "Artist");
        EXPECT_EQ(tag.Album(), "Album");
        EXPECT_EQ(tag.Year(), "1987");
        EXPECT_EQ(tag.Track(), 4);
    }
}

TEST(Id3v2, TextEncodingsDecodeToUnicode)
{
    const QString text = QString::fromUtf8("Ünï ☃ 日本 𝄞");
    QByteArray utf16be;
    for (const QChar c : text)
        utf16be += bytesOf({char(c.unicode() >> 8), char(c.unicode())});
    struct Case {
        const char* name;
        QByteArray body;
        QString expected;
    };
    const QList<Case> cases = {
        {"ISO-8859-1", char(0) + QByteArray("Caf\xE9\0", 5), QString::fromUtf8("Café")},
        {"UTF-16 little-endian with BOM", char(1) + QByteArray("\xFF\xFE", 2) + utf16le(text), text},
        {"UTF-16 big-endian with BOM", char(1) + QByteArray("\xFE\xFF", 2) + utf16be + QByteArray(2, '\0'), text},
        {"UTF-16BE without BOM", char(2) + utf16be, text},
        {"UTF-8", char(3) + text.toUtf8() + char(0), text},
        {"no encoding byte", QByteArray("  Plain"), "Plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (uint8_t version : {3, 4}) {
            const QByteArray frame = version == 3 ? frame23("TIT2", c.body) : frame24("TIT2", c.body);
            EXPECT_EQ(readV2(id3v2Tag(version, frame) + audio).Title(), c.expected) << int(version);
        }
    }
}

TEST(Id3v2, UnsynchronisedTagsAndFramesAreRestored)
{
    // 0xFF followed by 0x00 stands for 0xFF. A 2.2 or 2.3 tag is unsynchronised as a whole
    // after its frames were laid out, so its frame sizes count the restored bytes, and its
    // frames are restored once only: a restored text may itself hold FF 00, as UTF-16LE
    // "\uFF01\u4E00" does (01 FF 00 4E), and a second pass would eat its 00.
    struct Case {
        const char* name;
        QByteArray title; // the frame body before unsynchronisation
        QString expected;
    };
    const Case cases[] = {
        {"Latin-1 with 0xFF", char(0) + QByteArray("A\xFF" "Z"), QString::fromUtf8("AÿZ")},
        {"UTF-16LE holding FF 00", QByteArray("\x01\xFF\xFE\x01\xFF\x00\x4E", 7), QString::fromUtf16(u"\uFF01\u4E00")},
    };
    for (const Case& c : cases) {
        for (uint8_t version : {2, 3}) {
            QByteArray body = version == 2 ? frame22("TT2", c.title) + frame22("TP1", latin1Text("After"))
                                           : frame23("TIT2", c.title) + frame23("TPE1", latin1Text("After"));
            body.replace(QByteArray("\xFF"), QByteArray("\xFF\x00", 2));
            const TID3v2 tag = readV2(id3v2Tag(version, body, 0x80) + audio);
            EXPECT_EQ(tag.Title(), c.expected) << c.name << ", version 2." << int(version);
            EXPECT_EQ(tag.Artist(), "After") << c.name << ", version 2." << int(version) << ": frame positions count in the restored bytes";
        }
    }

    // A 2.4 frame counts the bytes as stored and carries its own flag.
    const QByteArray raw = char(0) + QByteArray("A\xFF\x00Z", 4);
    const QByteArray frame24Unsync = id3v2Tag(4, frame24("TIT2", raw, 0x02) + frame24("TPE1", latin1Text("After")));
    const TID3v2 tag = readV2(frame24Unsync + audio);
    EXPECT_EQ(tag.Title(), QString::fromUtf8("AÿZ"));
    EXPECT_EQ(tag.Artist(), "After");
}

TEST(Id3v2, FrameFlagsExtendedHeaderAndOddSizes)
{
    // 2.4: group byte and data length indicator in front of the text.
    QByteArray tag = id3v2Tag(4, frame24("TIT2", char(7) + synchsafe(6) + latin1Text("Title"), 0x41));
    EXPECT_EQ(readV2(tag + audio).Title(), "Title");

    // Compressed and encrypted frames cannot be shown; the frames after them still are.
    tag = id3v2Tag(3, frame23("TIT2", QByteArray(12, 'z'), 0x80) + frame23("TPE1", latin1Text("Next")));
    EXPECT_EQ(readV2(tag + audio).Title(), "");
    EXPECT_EQ(readV2(tag + audio).Artist(), "Next");

    // Extended headers: 2.3 counts its size without the size field, 2.4 with it.
    tag = id3v2Tag(3, be32(6) + QByteArray(6, '\0') + frame23("TIT2", latin1Text("Ext3")), 0x40);
    EXPECT_EQ(readV2(tag + audio).Title(), "Ext3");
    tag = id3v2Tag(4, synchsafe(6) + bytesOf({1, 0}) + frame24("TIT2", latin1Text("Ext4")), 0x40);
    EXPECT_EQ(readV2(tag + audio).Title(), "Ext4");

    // A 2.4 writer that stored a plain 32-bit size (a byte with its top bit set).
    const QByteArray longText = latin1Text(QString(200, QLatin1Char('x')));
    tag = id3v2Tag(4, QByteArray("TIT2") + be32(uint32_t(longText.size())) + QByteArray(2, '\0') + longText);
    EXPECT_EQ(readV2(tag + audio).Title(), QString(200, QLatin1Char('x')));

    // A frame that claims more than the tag holds ends the frames without reading past it.
    tag = id3v2Tag(3, frame23("TPE1", latin1Text("Artist")) + QByteArray("TIT2") + be32(100000)
                          + QByteArray(2, '\0') + latin1Text("Cut"));
    const TID3v2 cut = readV2(tag + audio);
    EXPECT_EQ(cut.Artist(), "Artist");
    EXPECT_EQ(cut.Title(), "Cut");
}

TEST(Id3v2, SizeLargerThanTheFileIsZero)
{
    QByteArray tag = id3v2Tag(3, frame23("TIT2", latin1Text("Title")));
    tag.replace(6, 4, synchsafe(5000000));
    const TID3v2 reader = readV2(tag + audio);
    EXPECT_TRUE(reader.Exists());
    EXPECT_EQ(reader.Size(), 0);
    EXPECT_EQ(reader.Title(), "");

    TID3v2 shortFile;
    EXPECT_FALSE(readBytes(shortFile, QByteArray("ID3\x03")));
    TID3v2 noTag;
    EXPECT_TRUE(readBytes(noTag, audio));
    EXPECT_FALSE(noTag.Exists());
    EXPECT_EQ(noTag.Size(), 0);
}

TEST(Id3v2, ValuesMadeFromTheFrames)
{
    const QList<std::tuple<QByteArray, QByteArray, std::function<QString(const TID3v2&)>, QString>> cases = {
        {"TRCK", latin1Text("3/12"), [](const TID3v2& t) { return QString::number(t.Track()); }, "3"},
        {"TRCK", latin1Text("x"), [](const TID3v2& t) { return QString::number(t.Track()); }, "0"},
        {"TRCK", latin1Text(" 07 "), [](const TID3v2& t) { return QString::number(t.Track()); }, "7"},
        {"TCON", latin1Text("(13)Pop"), &TID3v2::Genre, "Pop"},
        {"TCON", latin1Text("(13)"), &TID3v2::Genre, "Pop"},
        {"TCON", latin1Text("17"), &TID3v2::Genre, "Rock"},
        {"TCON", latin1Text("Trip Hop"), &TID3v2::Genre, "Trip Hop"},
        {"TCON", latin1Text("(255)"), &TID3v2::Genre, ""},
        {"COMM", char(0) + QByteArray("engdesc\0  the comment ", 22), &TID3v2::Comment, "the comment"},
        {"COMM", char(1) + QByteArray("eng") + utf16le("d") + utf16le("wide"), &TID3v2::Comment, "wide"},
        {"COMM", char(0) + QByteArray("eng no terminator"), &TID3v2::Comment, "no terminator"},
        {"WXXX", char(1) + utf16le("site") + QByteArray("http://example.org/"), &TID3v2::Link, "http://example.org/"},
        {"TCOM", latin1Text("Composer"), &TID3v2::Composer, "Composer"},
        {"TENC", latin1Text("Encoder"), &TID3v2::Encoder, "Encoder"},
        {"TCOP", latin1Text("Copyright"), &TID3v2::Copyright, "Copyright"},
        {"TLAN", latin1Text("eng"), &TID3v2::Language, "eng"},
        {"TPE2", latin1Text("Band"), &TID3v2::Band, "Band"},
        {"TOPE", latin1Text("Original"), &TID3v2::OriginalArtist, "Original"},
        {"TPE3", latin1Text("Conductor"), &TID3v2::Conductor, "Conductor"},
        {"TPUB", latin1Text("Publisher"), &TID3v2::Publisher, "Publisher"},
    };
    for (const auto& [id, body, value, expected] : cases) {
        SCOPED_TRACE(id.toStdString() + " " + body.toStdString());
        EXPECT_EQ(value(readV2(id3v2Tag(3, frame23(id.constData(), body)) + audio)), expected);
    }
}

TEST(Id3v2, LongFramesKeepTheirFirst250BytesAndLaterFramesReplaceEarlier)
{
    const QString text(400, QLatin1Char('a'));
    const QByteArray tag = id3v2Tag(3, frame23("TIT2", latin1Text(text)) + frame23("TPE1", latin1Text("First"))
                                           + frame23("TPE1", latin1Text("Second")));
    const TID3v2 reader = readV2(tag + audio);
    EXPECT_EQ(reader.Title(), QString(249, QLatin1Char('a'))) << "250 bytes: the encoding byte and 249 letters";
    EXPECT_EQ(reader.Artist(), "Second");

    // A UTF-16 text cut inside a surrogate pair loses the unpaired half.
    const QByteArray wide = char(1) + QByteArray("\xFF\xFE", 2) + utf16le(QString(122, QLatin1Char('b')) + QString::fromUtf8("𝄞"), false);
    EXPECT_EQ(readV2(id3v2Tag(3, frame23("TIT2", wide)) + audio).Title(), QString(122, QLatin1Char('b')));
}
