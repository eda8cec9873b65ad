// The history list mechanism: stored alphabetically without case-insensitive duplicates,
// a capped list written back with at most 11 items, stale values removed before writing.
#include "platform/HistoryList.h"
#include "app/RecentPaths.h"
#include "platform/Registry.h"
#include "support/TempHome.h"

namespace {

class HistoryListTest : public TempHomeTest {};

QStringList letters(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

TEST(HistoryListPrepared, SortsDropsDuplicatesAndCaps)
{
    struct Case {
        const char* what;
        QStringList stored;
        QString current;
        bool capped;
        QStringList written;
    };
    const QStringList eleven = letters("b c d e f g h i j k l");
    const Case cases[] = {
        {"11 stored plus a new entry: the alphabetically eleventh is dropped", eleven, "a", true,
         letters("a b c d e f g h i j k")},
        {"new entry sorting last", eleven, "z", true, letters("b c d e f g h i j k z")},
        {"new entry already stored", eleven, "C", true, letters("b C d e f g h i j k")},
        {"ten stored: nothing dropped", letters("b c d e f g h i j k"), "a", true, letters("a b c d e f g h i j k")},
        {"the mask box keeps everything", eleven, "a", false, letters("a b c d e f g h i j k l")},
        {"case ignored in order and duplicates", letters("beta Alpha ALPHA gamma"), "Beta", true,
         letters("Alpha Beta gamma")},
        {"empty text adds nothing", letters("b a"), "", true, letters("a b")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HistoryList::prepared(c.stored, c.current, c.capped), c.written) << c.what;
}

TEST_F(HistoryListTest, WriteReplacesTheWholeListAndReadStopsAtTheFirstGap)
{
    const QString key = QStringLiteral("Software\\QuorVel\\Folvane3\\Settings\\MRUFind");
    Registry registry(Registry::userStorePath());
    ASSERT_TRUE(registry.load());
    EXPECT_TRUE(HistoryList::read(registry, key, QStringLiteral("MRUFind")).isEmpty());
    EXPECT_FALSE(registry.keyExists(key)) << "reading creates nothing";

    ASSERT_TRUE(HistoryList::write(registry, key, QStringLiteral("MRUFind"), letters("a b c d")));
    registry.openKey(key, false);
    registry.writeInteger(QStringLiteral("FindStrIndex"), 2);
    registry.writeString(QStringLiteral("MRUFind9"), QStringLiteral("beyond a gap"));
    ASSERT_TRUE(HistoryList::write(registry, key, QStringLiteral("MRUFind"), letters("x y")));
    ASSERT_TRUE(registry.save());

    Registry again(Registry::userStorePath());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(HistoryList::read(again, key, QStringLiteral("MRUFind")), letters("x y"));
    again.openKey(key, false);
    EXPECT_FALSE(again.valueExists(QStringLiteral("MRUFind2"))) << "stale items are deleted";
    EXPECT_EQ(again.readString(QStringLiteral("MRUFind9")), QStringLiteral("beyond a gap"));
    EXPECT_EQ(again.readInteger(QStringLiteral("FindStrIndex")), 2);

    // A value of another type ends the list like a gap does.
    again.writeInteger(QStringLiteral("MRUFind1"), 5);
    EXPECT_EQ(HistoryList::read(again, key, QStringLiteral("MRUFind")), letters("x"));
}

TEST(RecentPathsUpdate, DropsGoneFoldersAndPutsANewFolderFirst)
{
    const auto exists = [](const QString& path) { return !path.contains(QLatin1String("gone")); };
    struct Case {
        const char* what;
        QStringList before;
        QString current;
        QStringList after;
    };
    QStringList many;
    for (int i = 0; i < 25; ++i)
        many.append(QStringLiteral("/f%1").arg(i));
    const Case cases[] = {
        {"new folder goes first", {"/a", "/b"}, "/c/", {"/c", "/a", "/b"}},
        {"listed folder keeps its place", {"/a", "/b"}, "/b", {"/a", "/b"}},
        {"gone folders and repeats are dropped", {"/gone", "/a", "/a", "/b/gone"}, "/a", {"/a"}},
        {"byte equality: case matters", {"/Data"}, "/data", {"/data", "/Data"}},
        {"root keeps its slash", {}, "/", {"/"}},
        {"at most 20", many, "/new", QStringList{"/new"} + many.mid(0, 19)},
    };
    for (const Case& c : cases) {
        QStringList paths = c.before;
        RecentPaths::update(paths, c.current, exists);
        EXPECT_EQ(paths, c.after) << c.what;
    }
}

} // namespace
