// The file name codec: every byte string survives decode and encode unchanged, valid UTF-8
// reads as its characters, every byte of an invalid sequence as its own escape, and the
// display and URL forms.
#include "platform/FileName.h"
#include "platform/LocalFiles.h"

#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QMimeData>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The escape of one byte of an invalid sequence.
QString esc(unsigned byte)
{
    return QString(QChar(char16_t(0xDC00 + byte)));
}

struct CodecCase {
    const char* name;
    QByteArray bytes;
    QString decoded;
    QString shown;
};

const QString kMark = QString(QChar(0xFFFD));

std::vector<CodecCase> codecCases()
{
    return {
        {"ascii", "plain.txt", QStringLiteral("plain.txt"), QStringLiteral("plain.txt")},
        {"valid two-byte", "\xc3\xbc.txt", QStringLiteral("\u00fc.txt"), QStringLiteral("\u00fc.txt")},
        {"valid four-byte", "\xf0\x9f\x98\x80", QStringLiteral("\U0001F600"), QStringLiteral("\U0001F600")},
        {"byte order marks", "\xef\xbb\xbf\xef\xbb\xbf" "a", QStringLiteral("\uFEFF\uFEFF" "a"), QStringLiteral("\uFEFF\uFEFF" "a")},
        {"byte order mark after a stray byte", "\xff\xef\xbb\xbf", esc(0xff) + QStringLiteral("\uFEFF"), kMark + QStringLiteral("\uFEFF")},
        {"highest code point", "\xf4\x8f\xbf\xbf", QString::fromUcs4(U"\U0010FFFF", 1), QString::fromUcs4(U"\U0010FFFF", 1)},
        {"lone 0xff", "a\xff.txt", QStringLiteral("a") + esc(0xff) + QStringLiteral(".txt"), QStringLiteral("a") + kMark + QStringLiteral(".txt")},
        {"latin-1 name", "caf\xe9", QStringLiteral("caf") + esc(0xe9), QStringLiteral("caf") + kMark},
        {"lone continuation", "\x80", esc(0x80), kMark},
        {"truncated three-byte at end", "x\xe2\x82", QStringLiteral("x") + esc(0xe2) + esc(0x82), QStringLiteral("x") + kMark + kMark},
        {"truncated before ascii", "\xe2\x82z", esc(0xe2) + esc(0x82) + QStringLiteral("z"), kMark + kMark + QStringLiteral("z")},
        {"overlong slash", "\xc0\xaf", esc(0xc0) + esc(0xaf), kMark + kMark},
        {"overlong three-byte", "\xe0\x80\xaf", esc(0xe0) + esc(0x80) + esc(0xaf), kMark + kMark + kMark},
        {"encoded surrogate", "\xed\xa0\x80", esc(0xed) + esc(0xa0) + esc(0x80), kMark + kMark + kMark},
        {"encoded escape", "\xed\xb3\xbf", esc(0xed) + esc(0xb3) + esc(0xbf), kMark + kMark + kMark},
        {"above U+10FFFF", "\xf4\x90\x80\x80", esc(0xf4) + esc(0x90) + esc(0x80) + esc(0x80), kMark + kMark + kMark + kMark},
        {"five-byte lead", "\xf8\x88\x80\x80\x80", esc(0xf8) + esc(0x88) + esc(0x80) + esc(0x80) + esc(0x80), QString(5, QChar(0xFFFD))},
        {"invalid between valid", "\xc3\xa4\xff\xc3\xb6", QStringLiteral("\u00e4") + esc(0xff) + QStringLiteral("\u00f6"),
         QStringLiteral("\u00e4") + kMark + QStringLiteral("\u00f6")},
        {"valid four-byte after a stray byte", "\xa0\xf0\x9f\x98\x80", esc(0xa0) + QStringLiteral("\U0001F600"), kMark + QStringLiteral("\U0001F600")},
    };
}

TEST(FileNameTest, DecodesAndRoundTripsEveryCase)
{
    for (const CodecCase& c : codecCases()) {
        SCOPED_TRACE(c.name);
        const QString decoded = FileName::decode(c.bytes);
        EXPECT_EQ(decoded, c.decoded);
        EXPECT_EQ(FileName::encode(decoded), c.bytes);
        EXPECT_EQ(FileName::display(decoded), c.shown);
        EXPECT_EQ(FileName::hasEscapes(decoded), decoded != c.shown);
    }
}

TEST(FileNameTest, EveryShortByteStringRoundTrips)
{
    // Every pair of bytes, alone and before a third that continues, ends or breaks a sequence.
    const QByteArray thirds[] = {QByteArray(), "A", "\x80", "\xbf"};
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 256; ++b) {
            for (const QByteArray& third : thirds) {
                QByteArray bytes;
                bytes += char(a);
                bytes += char(b);
                bytes += third;
                ASSERT_EQ(FileName::encode(FileName::decode(bytes)), bytes) << bytes.toHex().toStdString();
            }
        }
    }
}

TEST(FileNameTest, StraySurrogatesInOtherTextEncodeAsTheReplacementMark)
{
    // Text typed by a user is not made of escapes; a lone surrogate in it is no byte.
    EXPECT_EQ(FileName::encode(QString(QChar(0xD800)) + QStringLiteral("a")), QByteArray("\xef\xbf\xbd" "a"));
    EXPECT_EQ(FileName::encode(QString(QChar(0xDC41))), QByteArray("\xef\xbf\xbd"));
}

TEST(FileNameTest, UrlsCarryTheBytes)
{
    struct UrlCase {
        QByteArray path;
        QByteArray url;
    } cases[] = {
        {"/tmp/a\xff.txt", "file:///tmp/a%FF.txt"},
        {"/tmp/a b#?.txt", "file:///tmp/a%20b%23%3F.txt"},
        {"/tmp/\xc3\xbc", "file:///tmp/%C3%BC"},
        {"/tmp/100%", "file:///tmp/100%25"},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QUrl url = FileName::toUrl(FileName::decode(c.path));
        EXPECT_EQ(url.toEncoded(), c.url);
        EXPECT_EQ(FileName::encode(FileName::fromUrl(url)), c.path);
        // As another program hands it over: the bytes of a uri-list line.
        EXPECT_EQ(FileName::encode(FileName::fromUrl(QUrl::fromEncoded(c.url))), c.path);
        // And through QMimeData, which drag and drop use.
        QMimeData mime;
        mime.setUrls({url});
        ASSERT_EQ(mime.urls().size(), 1);
        EXPECT_EQ(FileName::encode(FileName::fromUrl(mime.urls().first())), c.path);
    }
    EXPECT_TRUE(FileName::fromUrl(QUrl(QStringLiteral("https://example.org/a"))).isEmpty());
}

class LocalFilesTest : public TempHomeTest {};

TEST_F(LocalFilesTest, ReachesANameThatIsNotUtf8)
{
    const QString folder = makeFolder(QStringLiteral("odd"));
    const QString file = folder + QStringLiteral("/") + FileName::decode("a\xff.txt");
    const QString sub = folder + QStringLiteral("/") + FileName::decode("d\xe9");
    ASSERT_TRUE(LocalFiles::makePath(sub + QStringLiteral("/inner")));
    const int fd = ::open(FileName::encode(file).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_EQ(::symlink("nowhere", FileName::encode(folder + QStringLiteral("/broken")).constData()), 0);
    // The lossy name is another file: Qt's own view of it misses.
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(LocalFiles::exists(file));
    EXPECT_TRUE(LocalFiles::isFile(file));
    EXPECT_FALSE(LocalFiles::isDir(file));
    EXPECT_TRUE(LocalFiles::isDir(sub + QStringLiteral("/inner")));
    EXPECT_TRUE(LocalFiles::entryExists(folder + QStringLiteral("/broken")));
    EXPECT_FALSE(LocalFiles::exists(folder + QStringLiteral("/broken")));
    EXPECT_TRUE(LocalFiles::isSymLink(folder + QStringLiteral("/broken")));
    EXPECT_FALSE(LocalFiles::isFile(folder + QStringLiteral("/broken")));
    EXPECT_EQ(LocalFiles::entryNames(folder),
              (QStringList{FileName::decode("a\xff.txt"), QStringLiteral("broken"), FileName::decode("d\xe9")}));
    // A relative path is made absolute without losing its bytes.
    const QString working = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder));
    EXPECT_EQ(FileName::encode(LocalFiles::absolutePath(FileName::decode("./x/../a\xff.txt"))), FileName::encode(file));
    QDir::setCurrent(working);
    EXPECT_TRUE(LocalFiles::remove(file));
    EXPECT_FALSE(LocalFiles::entryExists(file));
}

} // namespace
