// WMA files: the ASF header objects as TWMAfile reads them for the format and the texts, and
// as TWMAData reads them for the attributes the playlist shows.
#include "AudioBytes.h"
#include "ReadBytes.h"

#include "support/TempHome.h"

#include "media/TWMAData.h"
#include "media/TWMAfile.h"

#include <gtest/gtest.h>

using namespace audiobytes;
using media::TWMAData;
using media::TWMAfile;

namespace {

AsfDescriptor text(const char* name, const QString& value)
{
    return {QString::fromLatin1(name), 0, utf16le(value)};
}

AsfDescriptor dword(const char* name, uint32_t value)
{
    return {QString::fromLatin1(name), 3, le32(value)};
}

// A 60-second, 128 kbit/s stereo file with a 3-second preroll.
QByteArray wmaFile(const QList<QByteArray>& extraObjects, uint32_t maxBitrate = 128000,
                   uint16_t channels = 2, uint32_t rate = 44100, uint32_t bytesPerSecond = 16000)
{
    QList<QByteArray> objects = {asfFileProperties(960000, 630000000, 3000, maxBitrate),
                                 asfAudioStream(channels, rate, bytesPerSecond)};
    objects += extraObjects;
    return asfHeader(objects) + QByteArray(1000, '\0');
}

} // namespace

TEST(WmaFile, FormatTextsAndSkippedDescriptors)
{
    const QByteArray file = wmaFile(
        {asfContentDescription("Content Title", "Content Author", "(c)", "  A description  "),
         asfExtendedContent({dword("WM/Track", 5), text(" wm/albumtitle ", QString::fromUtf8("Älbum")),
                             text("WM/Track", "6"), text("WM/Year", "2004"), text("WM/Genre", "Jazz"),
                             {"WM/Picture", 1, QByteArray(300, '\x7F')}, text("WM/Title", "Later Title")})});
    TWMAfile wma;
    ASSERT_TRUE(readBytes(wma, file)) << wma.errorString().toStdString();
    EXPECT_TRUE(wma.Valid());
    EXPECT_EQ(wma.FileSize(), file.size());
    EXPECT_EQ(wma.ChannelModeID(), 2);
    EXPECT_EQ(wma.ChannelMode(), "Stereo");
    EXPECT_EQ(wma.SampleRate(), 44100);
    EXPECT_EQ(wma.BitRate(), 128);
    EXPECT_DOUBLE_EQ(wma.Duration(), 60.0) << "the play time without the preroll";
    EXPECT_EQ(wma.Title(), "Later Title");
    EXPECT_EQ(wma.Artist(), "Content Author");
    EXPECT_EQ(wma.Album(), QString::fromUtf8("Älbum"));
    EXPECT_EQ(wma.Track(), 6) << "the numeric descriptor is skipped, the ones after it are read";
    EXPECT_EQ(wma.Year(), "2004");
    EXPECT_EQ(wma.Genre(), "Jazz");
    EXPECT_EQ(wma.Comment(), "A description");
}

TEST(WmaFile, AcceptedFormatsAndLimits)
{
    struct Case {
        const char* name;
        uint32_t maxBitrate;
        uint16_t channels;
        uint32_t rate, bytesPerSecond;
        bool valid;
    };
    const QList<Case> cases = {
        {"mono 8 kHz", 32000, 1, 8000, 4000, true},
        {"96 kHz", 256000, 2, 96000, 32000, true},
        {"peak rate 320000", 320000, 2, 44100, 16000, false},
        {"peak rate 0", 0, 2, 44100, 16000, false},
        {"three channels", 128000, 3, 44100, 16000, false},
        {"7999 Hz", 128000, 2, 7999, 16000, false},
        {"96001 Hz", 128000, 2, 96001, 16000, false},
        {"40000 bytes a second", 128000, 2, 44100, 40000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TWMAfile wma;
        EXPECT_TRUE(readBytes(wma, wmaFile({}, c.maxBitrate, c.channels, c.rate, c.bytesPerSecond)));
        EXPECT_EQ(wma.Valid(), c.valid);
    }
    // Without a play time the size over the peak rate stands in: 1 byte more than 1 s.
    TWMAfile estimate;
    const QByteArray file = asfHeader({asfFileProperties(0, 0, 0, 8000), asfAudioStream(1, 8000, 1000)});
    ASSERT_TRUE(readBytes(estimate, file + QByteArray(1000 - file.size(), '\0')));
    EXPECT_DOUBLE_EQ(estimate.Duration(), 1.0);
}

TEST(WmaFile, DamagedHeadersFail)
{
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    QByteArray objectTooLong = wmaFile({});
    objectTooLong.replace(30 + 16, 8, le64(1u << 20));
    QByteArray objectTooShort = wmaFile({});
    objectTooShort.replace(30 + 16, 8, le64(10));
    QByteArray headerTooLong = wmaFile({});
    headerTooLong.replace(16, 8, le64(1u << 30));
    QByteArray stringPastObject = wmaFile({asfContentDescription("Title", "", "", "")});
    const qsizetype contentAt = stringPastObject.indexOf(asfGuid("75B22633-668E-11CF-A6D9-00AA0062CE6C"));
    stringPastObject.replace(contentAt + 24, 2, le16(5000));
    const QByteArray nestedExtension = wmaFile({asfHeaderExtension({asfHeaderExtension({})})});
    TWMAfile other;
    EXPECT_TRUE(readBytes(other, QByteArray(200, 'x'))) << "another kind of file is read, not damaged";
    EXPECT_FALSE(other.Valid());
    TWMAData otherData;
    EXPECT_FALSE(readBytes(otherData, QByteArray(200, 'x')));
    EXPECT_EQ(otherData.errorString(), "Could not load the WMA Tag");

    const QList<Case> cases = {
        {"empty file", QByteArray()},
        {"header cut short", wmaFile({}).left(20)},
        {"object longer than the header", objectTooLong},
        {"object shorter than its own header", objectTooShort},
        {"header longer than the file", headerTooLong},
        {"string longer than its object", stringPastObject},
        {"header extension inside a header extension", nestedExtension},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TWMAfile wma;
        EXPECT_FALSE(readBytes(wma, c.bytes));
        EXPECT_FALSE(wma.Valid());
        EXPECT_FALSE(wma.errorString().isEmpty());
        TWMAData data;
        EXPECT_FALSE(readBytes(data, c.bytes));
        EXPECT_EQ(data.errorString(), "Could not load the WMA Tag");
    }
}

TEST(WmaData, AttributesByNameAndType)
{
    const QString lyrics(400, QLatin1Char('l'));
    const QByteArray file = wmaFile(
        {asfContentDescription("Title", "Author", "Copyright", "Description"),
         asfExtendedContent({text("WM/EncodedBy", "Encoder"), text("WMFSDKVersion", "12.0"),
                             text("wm/genre", "Blues"), text("WM/AlbumTitle", "Album"),
                             text("WM/Composer", "Composer"), text("WM/URL", "http://x/"),
                             text("WM/Year", "1999"), text("WM/TrackNumber", "3"),
                             text("WM/Lyrics", lyrics), {"IsVBR", 2, le32(1)},
                             text("Bitrate", "not a number")}),
         asfHeaderExtension({asfMetadataLibrary({text("WM/Composer", "Library Composer"),
                                                 text("Author", QString(300, QLatin1Char('a')))}),
                             asfMetadataLibrary({text("WM/Year", "stream 1 only")}, 1)})});
    TWMAData data;
    ASSERT_TRUE(readBytes(data, file)) << data.errorString().toStdString();
    const media::TTagsData& tags = data.Tags();
    EXPECT_EQ(tags.Title, "Title");
    EXPECT_EQ(tags.Author, QString(255, QLatin1Char('a'))) << "short texts are cut to 255 characters";
    EXPECT_EQ(tags.Copyright, "Copyright");
    EXPECT_EQ(tags.Description, "Description");
    EXPECT_EQ(tags.EncodedBy, "Encoder");
    EXPECT_EQ(tags.SDKVersion, "12.0");
    EXPECT_EQ(tags.Genre, "Blues");
    EXPECT_EQ(tags.AlbumTitle, "Album");
    EXPECT_EQ(tags.Composer, "Library Composer");
    EXPECT_EQ(tags.URL, "http://x/");
    EXPECT_EQ(tags.Year, "1999");
    EXPECT_EQ(tags.TrackNumber, "3");
    EXPECT_EQ(tags.Lyrics, lyrics) << "long texts are kept whole";
    EXPECT_TRUE(tags.IsVBR);
    EXPECT_EQ(tags.Bitrate, 128000u) << "a text named Bitrate is not the bit rate";
    EXPECT_EQ(tags.Duration, 60000);
    EXPECT_EQ(tags.FileSize, 960000);
    EXPECT_EQ(data.DurationText(), "1:00");

    // Rippers store the track number as a 32-bit number.
    TWMAData numeric;
    ASSERT_TRUE(readBytes(numeric, wmaFile({asfExtendedContent({dword("WM/TrackNumber", 11)})})));
    EXPECT_EQ(numeric.Tags().TrackNumber, "11");
}

class WmaDataFile : public TempHomeTest {};

TEST_F(WmaDataFile, AMissingFileIsNamedInTheMessage)
{
    TWMAData data;
    const QString path = home().root() + QStringLiteral("/gone.wma");
    EXPECT_FALSE(data.ReadFromFile(path));
    EXPECT_EQ(data.errorString(), QStringLiteral("The file\r\n%1\r\ndoes'nt exists!").arg(path));

    const QString file = makeFile(QStringLiteral("song.wma"), wmaFile({asfContentDescription("On Disk", "", "", "")}));
    EXPECT_TRUE(data.ReadFromFile(file));
    EXPECT_EQ(data.Tags().Title, "On Disk");
}
