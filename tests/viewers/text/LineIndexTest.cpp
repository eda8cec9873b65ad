// The viewer's text rows and background line index: line counts against wc -l, the line
// of an offset while the index is partial, and rows of long lines.
#include "viewers/text/LineIndex.h"
#include "viewers/text/TextRows.h"

#include "support/TempHome.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

class LineIndexTest : public TempHomeTest {};

// Lines of varying length over several index chunks, CR LF and LF mixed, no final LF.
QByteArray manyLines()
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < 3 * LineIndex::kChunk + 12345; ++i)
        bytes += QByteArray(i % 97, 'x') + (i % 5 ? "\n" : "\r\n");
    bytes += "last line without end";
    return bytes;
}

TEST_F(LineIndexTest, CountsAsWcAndKnowsLinesWhileBuilding)
{
    const QByteArray bytes = manyLines();
    const QString path = makeFile(QStringLiteral("lines.txt"), bytes);
    QProcess wc;
    wc.start(QStringLiteral("wc"), {QStringLiteral("-l"), path});
    ASSERT_TRUE(wc.waitForFinished());
    const qint64 expected = wc.readAllStandardOutput().split(' ').first().toLongLong();

    PagedFile file;
    ASSERT_TRUE(file.open(path));
    LineIndex index(file);
    EXPECT_EQ(index.lineOf(0), 0);
    EXPECT_FALSE(index.lineOf(2 * LineIndex::kChunk).has_value()); // not reached yet
    ASSERT_TRUE(index.indexNextChunk());
    ASSERT_TRUE(index.indexNextChunk());
    const qint64 probe = 2 * LineIndex::kChunk + 777;
    EXPECT_EQ(index.lineOf(probe), bytes.left(probe).count('\n'));
    EXPECT_FALSE(index.lineFeeds().has_value());

    LineIndexJob job(index, file.size());
    job.run();
    ASSERT_TRUE(job.succeeded());
    EXPECT_EQ(index.lineFeeds(), expected);
    EXPECT_EQ(index.lineOf(file.size()), expected);
}

TEST_F(LineIndexTest, CountLineFeedsAtEveryAlignment)
{
    QByteArray bytes(300, 'a');
    for (int i = 0; i < bytes.size(); i += 7)
        bytes[i] = '\n';
    for (int from = 0; from < 70; ++from)
        EXPECT_EQ(LineIndex::countLineFeeds(bytes.constData() + from, bytes.size() - from), bytes.mid(from).count('\n'));
}

TEST_F(LineIndexTest, RowsCutLongLinesAndStepBack)
{
    QByteArray bytes = "short\n" + QByteArray(TextRows::kMaxRowBytes * 2 + 10, 'L') + "\n\tx\n";
    const QString path = makeFile(QStringLiteral("rows.txt"), bytes);
    PagedFile file;
    ASSERT_TRUE(file.open(path));
    TextRows rows(file);
    QList<qint64> starts;
    for (qint64 at = 0; at < file.size(); at = rows.nextRow(at))
        starts << at;
    const qint64 longLine = 6;
    EXPECT_EQ(starts, (QList<qint64>{0, longLine, longLine + 4096, longLine + 8192, longLine + 8192 + 11}));
    for (qsizetype i = 1; i < starts.size(); ++i)
        EXPECT_EQ(rows.previousRow(starts[i]), starts[i - 1]);
    EXPECT_EQ(rows.rowStartOf(longLine + 5000), longLine + 4096);

    const TextRows::Shown tab = rows.shown(starts.last());
    EXPECT_EQ(tab.text, QStringLiteral("        x")); // the tab reaches column 8
    EXPECT_EQ(tab.byteOf.back(), file.size() - 1);     // the row ends before its LF
}

TEST_F(LineIndexTest, RowsShowUtf8AndLatin1)
{
    const QString path = makeFile(QStringLiteral("enc.txt"), "caf\xc3\xa9\nna\xefve\n");
    PagedFile file;
    ASSERT_TRUE(file.open(path));
    TextRows rows(file);
    const TextRows::Shown utf8 = rows.shown(0);
    EXPECT_EQ(utf8.text, QStringLiteral("caf\u00e9"));
    EXPECT_EQ(utf8.byteOf, (std::vector<std::int64_t>{0, 1, 2, 3, 5}));
    EXPECT_EQ(rows.shown(rows.nextRow(0)).text, QStringLiteral("na\u00efve"));
}

} // namespace
