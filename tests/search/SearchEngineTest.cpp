// The search engine: the name and content tests, the walk (recursion, FIFOs, links that
// loop, names that are not UTF-8), the hit sets against find and grep, and Stop.

#include "SearchTree.h"

#include "platform/FileName.h"
#include "search/ContentMatcher.h"
#include "search/FailureList.h"
#include "search/NameMatcher.h"
#include "support/ByteFiles.h"
#include "support/TempHome.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using SearchTree::Paths;

namespace {

struct NameCase {
    const char* pattern;
    QByteArray name;
    bool matches;
};

class NameMatcherTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameMatcherTest, MatchesAsTheFileListDoes)
{
    const NameCase& c = GetParam();
    EXPECT_EQ(NameMatcher(QString::fromUtf8(c.pattern)).matches(c.name), c.matches) << c.pattern << " " << c.name.constData();
}

INSTANTIATE_TEST_SUITE_P(Cases, NameMatcherTest, ::testing::Values(
    NameCase{"report", "Q3 REPORT.doc", true},        // substring, case ignored
    NameCase{"report", "repor.doc", false},
    NameCase{"*.txt", "notes.TXT", true},             // a mask, case ignored
    NameCase{"*.txt", "notes.txt.bak", false},
    NameCase{"*.txt", "txt", false},
    NameCase{"a?c", "abc", true},
    NameCase{"a?c", "abbc", false},
    NameCase{"*.*", "Makefile", true},                // "*.*" takes every name
    NameCase{"*.c;*.h", "main.H", true},              // masks separated by ";"
    NameCase{"ÄPFEL", "äpfel.txt", true},             // beyond ASCII: compared as text
    NameCase{"*.txt", QByteArray("\xff\xfe.txt"), true}, // a name that is not UTF-8
    NameCase{"\xc3\xa9t\xc3\xa9", QByteArray("\xff\xc3\x89T\xc3\x89"), true}));

struct ContentCase {
    const char* label;
    QByteArray text;
    QByteArray bytes;
    bool found;
};

class ContentMatcherTest : public ::testing::TestWithParam<ContentCase> {};

TEST_P(ContentMatcherTest, FindsTheTextInRawBytes)
{
    const ContentCase& c = GetParam();
    EXPECT_EQ(ContentMatcher(c.text).containsIn(c.bytes.constData(), c.bytes.size()), c.found) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Cases, ContentMatcherTest, ::testing::Values(
    ContentCase{"case ignored", "Hello", "say HELLO there", true},
    ContentCase{"absent", "hello", "help lo", false},
    ContentCase{"inside binary", "marker", QByteArray("\x7f" "ELF\0\0\x01\x02" "xxMARKERxx\0", 19), true},
    ContentCase{"NUL reads as byte 1", QByteArray("a\x01" "b"), QByteArray("a\0b", 3), true},
    ContentCase{"at the very end", "end", QByteArray(40, 'x') + "END", true},
    ContentCase{"one byte", "q", QByteArray(33, 'x') + "Q", true},
    ContentCase{"longer than the data", "longtext", "long", false},
    ContentCase{"first and last agree only", "abcd", QByteArray(20, 'x') + "abxd" + QByteArray(20, 'x'), false}));

class SearchEngineTest : public TempHomeTest {
protected:
    QString tree() { return home().root() + QStringLiteral("/tree"); }
};

TEST_F(SearchEngineTest, ContentIsStreamedAcrossBlockBoundaries)
{
    // The text straddles the first block's end; the file is larger than one block.
    QByteArray bytes(ContentMatcher::kBlockSize * 3, 'x');
    bytes.replace(ContentMatcher::kBlockSize - 3, 6, "NeEdLe");
    const QString path = makeFile(QStringLiteral("tree/big.bin"), bytes);
    std::vector<char> buffer;
    EXPECT_EQ(ContentMatcher("needle").searchFile(AT_FDCWD, FileName::encode(path), buffer, {}),
              ContentMatcher::FileResult::Found);
    EXPECT_EQ(ContentMatcher("needles").searchFile(AT_FDCWD, FileName::encode(path), buffer, {}),
              ContentMatcher::FileResult::NotFound);
    EXPECT_LE(buffer.size(), std::size_t(ContentMatcher::kBlockSize + 16));
}

TEST_F(SearchEngineTest, FindsByNameInEveryFolderAndOnlyTheStartFolderWithoutRecurse)
{
    makeFile(QStringLiteral("tree/Q3 REPORT.doc"), "a");
    makeFile(QStringLiteral("tree/sub/deeper/report-final.TXT"), "b");
    makeFile(QStringLiteral("tree/sub/notes.txt"), "c");
    makeFolder(QStringLiteral("tree/reports")); // folders are never hits
    const QByteArray root = FileName::encode(tree());
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("report")),
              (Paths{root + "/Q3 REPORT.doc", root + "/sub/deeper/report-final.TXT"}));
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("*.txt")),
              (Paths{root + "/sub/deeper/report-final.TXT", root + "/sub/notes.txt"}));
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("report"), QString(), false), (Paths{root + "/Q3 REPORT.doc"}));
}

TEST_F(SearchEngineTest, ContentSearchFindsTextInBinariesAndReportsFilesItCannotRead)
{
    makeFile(QStringLiteral("tree/program.bin"), QByteArray("\0\x01zz Secret zz\xff", 15));
    makeFile(QStringLiteral("tree/plain.txt"), "nothing here");
    makeFile(QStringLiteral("tree/.hidden/deep.txt"), "SECRET");
    ASSERT_EQ(::symlink("/nowhere/at/all", FileName::encode(tree() + QStringLiteral("/dangling.txt")).constData()), 0);
    SearchOptions options;
    options.startFolders = {tree()};
    options.namePattern = QStringLiteral("*");
    options.contentText = QStringLiteral("secret");
    FileSearchJob job(options);
    const QByteArray root = FileName::encode(tree());
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("*"), QStringLiteral("secret"), true, &job),
              (Paths{root + "/.hidden/deep.txt", root + "/program.bin"}));
    EXPECT_EQ(job.uncheckedFiles(), QStringList{tree() + QStringLiteral("/dangling.txt")});
    EXPECT_EQ(FileSearchJob::uncheckedMessage(QStringLiteral("/a/b.txt"), QStringLiteral("secret")),
              QStringLiteral("Could not check file... /a/b.txt for... secret"));
}

TEST_F(SearchEngineTest, FifosAreFoundByNameButNeverOpenedAndLoopingLinksEnd)
{
    makeFile(QStringLiteral("tree/a/data.txt"), "pipe dream");
    const QByteArray root = FileName::encode(tree());
    ASSERT_EQ(::mkfifo(QByteArray(root + "/a/pipe.txt").constData(), 0600), 0);
    ASSERT_EQ(::symlink("..", QByteArray(root + "/a/up").constData()), 0);     // a link back up: never followed
    ASSERT_EQ(::symlink("loop", QByteArray(root + "/a/loop").constData()), 0); // a link to itself
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("*.txt")), (Paths{root + "/a/data.txt", root + "/a/pipe.txt"}));
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("*"), QStringLiteral("dream")), (Paths{root + "/a/data.txt"}));
}

TEST_F(SearchEngineTest, NamesThatAreNotUtf8TravelAsBytes)
{
    const QByteArray root = FileName::encode(tree());
    makeFolder(QStringLiteral("tree"));
    ByteFiles::writeFile(root + "/caf\xe9.txt", "Latin-1 name");
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("caf")), (Paths{root + "/caf\xe9.txt"}));
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("*.TXT"), QStringLiteral("latin")), (Paths{root + "/caf\xe9.txt"}));
}

// A generated tree with names of mixed case, hidden files and a word planted in some files.
void generateTree(const QString& root, int files)
{
    QRandomGenerator random(16);
    const char* const extensions[] = {"txt", "TXT", "bin", "log", "c"};
    for (int i = 0; i < files; ++i) {
        const QString folder = QStringLiteral("%1/d%2/e%3").arg(root).arg(i % 7).arg(i % 3);
        const QString name = QStringLiteral("%1%2_%3.%4").arg(i % 5 ? QString() : QStringLiteral("."))
                                 .arg(i % 2 ? QStringLiteral("File") : QStringLiteral("rePort")).arg(i).arg(QLatin1String(extensions[i % 5]));
        QByteArray bytes(int(random.bounded(1, 3000)), 'a');
        for (char& c : bytes)
            c = char(random.bounded(0, 256));
        if (i % 9 == 0)
            bytes.insert(int(random.bounded(0, int(bytes.size()))), i % 2 ? "PlantedWord" : "plantedword");
        ByteFiles::writeFile(FileName::encode(folder + QLatin1Char('/') + name), bytes);
    }
}

TEST_F(SearchEngineTest, HitSetsAgreeWithFindAndGrep)
{
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 3; ++j)
            makeFolder(QStringLiteral("tree/d%1/e%2").arg(i).arg(j));
    generateTree(tree(), 600);
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("*.txt")),
              SearchTree::linesOf(QStringLiteral("find"), {tree(), QStringLiteral("-type"), QStringLiteral("f"),
                                                           QStringLiteral("-iname"), QStringLiteral("*.txt")}));
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("report")),
              SearchTree::linesOf(QStringLiteral("find"), {tree(), QStringLiteral("-type"), QStringLiteral("f"),
                                                           QStringLiteral("-iname"), QStringLiteral("*report*")}));
    const Paths grepped = SearchTree::linesOf(QStringLiteral("grep"), {QStringLiteral("-rlia"), QStringLiteral("plantedword"), tree()});
    EXPECT_EQ(grepped.size(), 67);
    EXPECT_EQ(SearchTree::searched(tree(), QStringLiteral("*"), QStringLiteral("plantedWORD")), grepped);
}

TEST_F(SearchEngineTest, StopEndsALongContentSearchAtOnce)
{
    // A sparse file of 16 GiB without the text: seconds of reading unless stopped.
    const QString path = makeFile(QStringLiteral("tree/huge.bin"));
    ASSERT_EQ(::truncate(FileName::encode(path).constData(), off_t(16) << 30), 0);
    SearchOptions options;
    options.startFolders = {tree()};
    options.namePattern = QStringLiteral("*");
    options.contentText = QStringLiteral("never there");
    FileSearchJob job(options);
    std::thread worker([&] { job.run(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_FALSE(job.isFinished());
    QElapsedTimer timer;
    timer.start();
    job.cancel();
    while (!job.isFinished())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_LT(timer.elapsed(), 100);
    worker.join();
}

TEST(FailureListTest, ShowsTheFirstLinesAndCountsTheRest)
{
    QStringList lines;
    for (int i = 0; i < 25; ++i)
        lines << QStringLiteral("line %1").arg(i);
    const QString text = FailureList::text(lines);
    EXPECT_TRUE(text.startsWith(QStringLiteral("line 0\r\nline 1\r\n")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("line 19\r\n... and 5 more files")));
    EXPECT_EQ(FailureList::text({QStringLiteral("one")}), QStringLiteral("one"));
}

} // namespace
