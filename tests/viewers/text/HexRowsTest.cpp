// The viewer's hex rows against hexdump -C and xxd -g1 on the same bytes, and the
// character column's filter.
#include "viewers/text/HexRows.h"
#include "viewers/text/PagedFile.h"

#include "support/TempHome.h"

#include <QProcess>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

QStringList run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(30000));
    return QString::fromLatin1(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Every byte value, in an order that never repeats a row (hexdump would fold repeats into
// "*"), ending in a short row.
QByteArray everyByte()
{
    QByteArray bytes;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 256; ++i)
            bytes += char((i * 37 + round * 11) & 0xFF);
    }
    bytes += "tail";
    return bytes;
}

class HexRowsTest : public TempHomeTest {};

TEST_F(HexRowsTest, RowsMatchHexdumpAndXxd)
{
    const QByteArray bytes = everyByte();
    const QString path = makeFile(QStringLiteral("bytes.bin"), bytes);
    PagedFile file;
    ASSERT_TRUE(file.open(path));
    QStringList ours;
    for (qint64 at = 0; at < file.size(); at += HexRows::kBytesPerRow)
        ours << HexRows::row(at, file.read(at, HexRows::kBytesPerRow), true);

    QStringList hexdump = run(QStringLiteral("hexdump"), {QStringLiteral("-C"), path});
    hexdump.removeLast(); // the closing offset line
    EXPECT_EQ(ours, hexdump);

    // xxd -g1: "00000010: 48 65 ...  text"; the bytes between the colon and the two spaces.
    const QStringList xxd = run(QStringLiteral("xxd"), {QStringLiteral("-g1"), path});
    ASSERT_EQ(xxd.size(), ours.size());
    for (qsizetype i = 0; i < xxd.size(); ++i) {
        const QString xxdHex = xxd[i].mid(10, 16 * 3).simplified();
        const QString ourHex = ours[i].mid(10, 16 * 3 + 1).simplified();
        EXPECT_EQ(ourHex, xxdHex) << "row " << i;
    }
}

TEST_F(HexRowsTest, CharacterColumnFilter)
{
    const QByteArray bytes("A\x7f\x1f\xa0\xe9\xff", 6);
    const QString filtered = HexRows::row(0, bytes, true);
    const QString unfiltered = HexRows::row(0, bytes, false);
    EXPECT_TRUE(filtered.endsWith(QStringLiteral("|A.....|")));
    // DEL stays "." with the filter off too; Latin-1 signs and letters show.
    EXPECT_TRUE(unfiltered.endsWith(QStringLiteral("|A..") + QChar(0xA0) + QChar(0xE9) + QChar(0xFF) + QLatin1Char('|')))
        << qPrintable(unfiltered);
}

TEST_F(HexRowsTest, ColumnsMapBackToBytes)
{
    for (int i = 0; i < HexRows::kBytesPerRow; ++i) {
        EXPECT_EQ(HexRows::byteAtColumn(HexRows::hexColumn(i)), i);
        EXPECT_EQ(HexRows::byteAtColumn(HexRows::hexColumn(i) + 1), i);
        EXPECT_EQ(HexRows::byteAtColumn(HexRows::charColumn(i)), i);
    }
    EXPECT_EQ(HexRows::byteAtColumn(0), -1);
}

TEST_F(HexRowsTest, OnlyRegularFilesOpen)
{
    const QString fifo = home().root() + QStringLiteral("/pipe");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    PagedFile file;
    EXPECT_FALSE(file.open(fifo)); // refused at once, never waiting for a writer
    EXPECT_TRUE(file.errorString().contains(QStringLiteral("not a regular file")));
    EXPECT_FALSE(file.open(home().root()));
    EXPECT_FALSE(file.open(home().root() + QStringLiteral("/missing")));
}

} // namespace
