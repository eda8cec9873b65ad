// The editor's files: bytes back exactly through decode and encode (LF script, CR LF, CR,
// Latin-1, NUL bytes, byte order mark, mixed line ends), and the safe save: the backup,
// symbolic links, mode bits, and a failed write that keeps the old file whole.
#include "viewers/text/TextFileCodec.h"
#include "viewers/text/TextFileSaver.h"

#include "platform/TransferFaults.h"
#include "support/ByteFiles.h"
#include "support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Codec = TextFileCodec;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray withNulAfter1000()
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < 1000; ++i)
        bytes += "line " + QByteArray::number(i) + "\n";
    bytes += QByteArray("\0\0binary\0tail\n", 14);
    return bytes;
}

TEST(TextFileCodecTest, RoundTripsEveryKindOfFile)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        Codec::Encoding encoding;
        Codec::LineEnd lineEnd;
        int lines;
    };
    const Case cases[] = {
        {"LF script", "#!/bin/sh\necho hi\n", Codec::Encoding::Utf8, Codec::LineEnd::Lf, 3},
        {"CR LF", "one\r\ntwo\r\n", Codec::Encoding::Utf8, Codec::LineEnd::CrLf, 3},
        {"CR", "one\rtwo", Codec::Encoding::Utf8, Codec::LineEnd::Cr, 2},
        {"Latin-1", "caf\xe9\nna\xefve\r\n", Codec::Encoding::Latin1, Codec::LineEnd::Lf, 3},
        {"UTF-8 with BOM", "\xef\xbb\xbf\xc3\xa9t\xc3\xa9\n", Codec::Encoding::Utf8, Codec::LineEnd::Lf, 2},
        {"BOM then Latin-1", "\xef\xbb\xbf\xe9", Codec::Encoding::Latin1, Codec::LineEnd::Lf, 1},
        {"NUL after byte 1000", withNulAfter1000(), Codec::Encoding::Utf8, Codec::LineEnd::Lf, 0},
        {"CR LF with a lone LF", "a\r\nb\nc\r\n", Codec::Encoding::Utf8, Codec::LineEnd::Lf, 4},
        {"CR LF with a lone CR", "a\r\nb\rc\r\n", Codec::Encoding::Utf8, Codec::LineEnd::CrLf, 3},
        {"overlong UTF-8", "\xc0\xaf\n", Codec::Encoding::Latin1, Codec::LineEnd::Lf, 2},
        {"a stand-in in UTF-8", "\xee\x80\x8d", Codec::Encoding::Latin1, Codec::LineEnd::Lf, 1},
        {"paragraph separator", "a\xe2\x80\xa9" "b", Codec::Encoding::Utf8, Codec::LineEnd::Lf, 1},
        {"empty", "", Codec::Encoding::Utf8, Codec::LineEnd::Lf, 1},
    };
    for (const Case& c : cases) {
        const Codec::Decoded decoded = Codec::decode(c.bytes);
        EXPECT_EQ(int(decoded.format.encoding), int(c.encoding)) << c.name;
        EXPECT_EQ(int(decoded.format.lineEnd), int(c.lineEnd)) << c.name;
        // No character of the text may turn into a line break the file did not have.
        for (QChar ch : decoded.text)
            EXPECT_TRUE(ch != QLatin1Char('\r') && ch != QChar::ParagraphSeparator) << c.name;
        if (c.lines > 0) {
            EXPECT_EQ(decoded.text.count(QLatin1Char('\n')) + 1, c.lines) << c.name;
        }
        Codec::Format format = decoded.format;
        EXPECT_EQ(Codec::encode(decoded.text, format), c.bytes) << c.name;
    }
}

TEST(TextFileCodecTest, Latin1TextGainingOtherCharactersIsWrittenAsUtf8)
{
    Codec::Decoded decoded = Codec::decode("caf\xe9\r\n");
    Codec::Format format = decoded.format;
    EXPECT_EQ(Codec::encode(decoded.text + QStringLiteral("\u20ac"), format), QByteArray("caf\xc3\xa9\r\n\xe2\x82\xac"));
    EXPECT_EQ(format.encoding, Codec::Encoding::Utf8);
}

class TextFileSaverTest : public TempHomeTest {
protected:
    void TearDown() override
    {
        TransferFaults::clear();
        TempHomeTest::TearDown();
    }
};

TEST_F(TextFileSaverTest, BackupNames)
{
    EXPECT_EQ(TextFileSaver::backupPath(QStringLiteral("/a/notes.txt")), QStringLiteral("/a/notes.BAK"));
    EXPECT_EQ(TextFileSaver::backupPath(QStringLiteral("/a/README")), QStringLiteral("/a/README.BAK"));
    EXPECT_EQ(TextFileSaver::backupPath(QStringLiteral("/a.d/.profile")), QStringLiteral("/a.d/.profile.BAK"));
    EXPECT_EQ(TextFileSaver::backupPath(QStringLiteral("/a/X.BAK")), QStringLiteral("/a/X.BAK"));
}

TEST_F(TextFileSaverTest, SavesWithBackupAndKeepsModeBits)
{
    const QString path = makeFile(QStringLiteral("run.sh"), "old\n");
    ::chmod(QFile::encodeName(path).constData(), 0750);
    makeFile(QStringLiteral("run.BAK"), "older backup");
    ASSERT_TRUE(TextFileSaver::save(path, "new\n", true));
    EXPECT_EQ(readAll(path), "new\n");
    EXPECT_EQ(readAll(home().root() + QStringLiteral("/run.BAK")), "old\n");
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0750u);
    // Nothing but the file and its backup is left in the folder.
    for (const QByteArray& name : ByteFiles::namesIn(home().root()))
        EXPECT_FALSE(name.contains("fvsave")) << name.constData();

    const QString bak = makeFile(QStringLiteral("X.BAK"), "self");
    ASSERT_TRUE(TextFileSaver::save(bak, "saved", true));
    EXPECT_EQ(readAll(bak), "saved");
}

TEST_F(TextFileSaverTest, WritesThroughASymbolicLink)
{
    const QString target = makeFile(QStringLiteral("real/file.txt"), "before");
    const QString link = home().root() + QStringLiteral("/link.txt");
    ASSERT_EQ(::symlink("real/file.txt", QFile::encodeName(link).constData()), 0);
    ASSERT_TRUE(TextFileSaver::save(link, "after", true));
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(link).constData(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readAll(target), "after");
    EXPECT_EQ(readAll(home().root() + QStringLiteral("/real/file.BAK")), "before");
}

TEST_F(TextFileSaverTest, FailedWriteKeepsTheOldFileAndSaysWhy)
{
    const QString path = makeFile(QStringLiteral("docs/keep.txt"), "precious bytes\n");
    TransferFaults faults;
    faults.failWriteAfter = 4;
    faults.writeError = ENOSPC;
    TransferFaults::set(faults);
    const ViewerStatus saved = TextFileSaver::save(path, QByteArray(100000, 'x'), true);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(saved.errorString().contains(QStringLiteral("keep.txt")));
    EXPECT_TRUE(saved.errorString().contains(QString::fromLocal8Bit(strerror(ENOSPC))));
    EXPECT_EQ(readAll(path), "precious bytes\n");
    // The temporary file is gone with the failure.
    EXPECT_EQ(ByteFiles::namesIn(home().root() + QStringLiteral("/docs")), ByteFiles::Names{"keep.txt"});
}

TEST_F(TextFileSaverTest, FolderThatIsAFileFailsEvenForRoot)
{
    const QString file = makeFile(QStringLiteral("plain"), "x");
    EXPECT_FALSE(TextFileSaver::save(file + QStringLiteral("/inside.txt"), "y", false));
}

} // namespace
