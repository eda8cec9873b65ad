// Find in the viewer: chunked search through a file, with and without letter case.
#include "viewers/text/ByteSearch.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

class ByteSearchTest : public TempHomeTest {};

TEST_F(ByteSearchTest, FindsInBuffers)
{
    struct Case {
        const char* data;
        const char* needle;
        bool matchCase;
        qsizetype from;
        qsizetype expected;
    };
    const Case cases[] = {
        {"Hello World", "world", false, 0, 6},
        {"Hello World", "world", true, 0, -1},
        {"Hello World", "World", true, 0, 6},
        {"abcabc", "ABC", false, 1, 3},
        {"abc", "abcd", false, 0, -1},
        {"abc", "", false, 0, -1},
        {"x1234567890123456789[Needle]", "[needle]", false, 0, 20}, // past the first 16-byte block
        {"\xc3\xa9t\xc3\xa9", "\xc3\xa9", false, 1, 3},             // UTF-8 bytes match as they are
    };
    for (const Case& c : cases) {
        const QByteArray data(c.data);
        EXPECT_EQ(ByteSearch(c.needle, c.matchCase).find(data.constData(), data.size(), c.from), c.expected)
            << c.data << " / " << c.needle;
    }
}

TEST_F(ByteSearchTest, FindsAcrossChunksInAFile)
{
    // The match straddles the 4 MiB chunk boundary; one more lies further on.
    QByteArray bytes(4 << 20, 'a');
    bytes.replace((4 << 20) - 3, 6, "NeEdLe");
    bytes += QByteArray(1000, 'b') + "needle";
    const QString path = makeFile(QStringLiteral("big.bin"), bytes);
    PagedFile file;
    ASSERT_TRUE(file.open(path));
    const ByteSearch search("needle", false);
    EXPECT_EQ(search.findIn(file, 0), (4 << 20) - 3);
    EXPECT_EQ(search.findIn(file, (4 << 20) - 2), bytes.size() - 6);
    EXPECT_EQ(ByteSearch("needle", true).findIn(file, 0), bytes.size() - 6);
    EXPECT_EQ(search.findIn(file, bytes.size() - 5), -1);

    int calls = 0;
    EXPECT_EQ(ByteSearch("absent", false).findIn(file, 0, [&](std::int64_t) { return ++calls < 1; }), -1);
    EXPECT_EQ(calls, 1); // stopped after the first chunk

    TextSearchJob job(file, ByteSearch("NEEDLE", false), 10);
    job.run();
    EXPECT_EQ(job.found(), (4 << 20) - 3);
}

} // namespace
