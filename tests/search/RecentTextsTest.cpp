// The search boxes' recent texts in the settings tree, and the saved search list.

#include "platform/FileName.h"
#include "platform/Registry.h"
#include "search/RecentTexts.h"
#include "search/SearchListFile.h"
#include "support/TempHome.h"

#include <QFile>

namespace {

class RecentTextsTest : public TempHomeTest {
protected:
    QString store() { return home().configHome() + QStringLiteral("/registry.txt"); }
    void seed(const QString& stem, const QStringList& items)
    {
        Registry registry(store());
        registry.load();
        ASSERT_TRUE(registry.openKey(RecentTexts::keyPath(stem), true));
        for (int i = 0; i < items.size(); ++i)
            registry.writeString(stem + QString::number(i), items[i]);
        registry.closeKey();
        ASSERT_TRUE(registry.save());
    }
};

TEST_F(RecentTextsTest, ElevenStoredTextsPlusANewOneAreWrittenBackAsElevenSorted)
{
    QStringList items;
    for (char c = 'a'; c <= 'k'; ++c)
        items << QString(QLatin1Char(c)).repeated(2);
    seed(RecentTexts::kContents, items);
    const QStringList loaded = RecentTexts::load(store(), RecentTexts::kContents);
    ASSERT_EQ(loaded, items);
    // The eleventh item ("kk") goes first, then "New" joins and the list is sorted.
    const QStringList saved = RecentTexts::save(store(), RecentTexts::kContents, loaded, QStringLiteral("New"));
    const QStringList expected = {QStringLiteral("aa"), QStringLiteral("bb"), QStringLiteral("cc"), QStringLiteral("dd"),
                                  QStringLiteral("ee"), QStringLiteral("ff"), QStringLiteral("gg"), QStringLiteral("hh"),
                                  QStringLiteral("ii"), QStringLiteral("jj"), QStringLiteral("New")};
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(RecentTexts::load(store(), RecentTexts::kContents), expected);
    // The names list is its own: untouched.
    EXPECT_TRUE(RecentTexts::load(store(), RecentTexts::kNames).isEmpty());
}

TEST_F(RecentTextsTest, DuplicatesIgnoringCaseKeepTheFirst)
{
    seed(RecentTexts::kNames, {QStringLiteral("*.txt"), QStringLiteral("report")});
    const QStringList saved = RecentTexts::save(store(), RecentTexts::kNames,
                                                RecentTexts::load(store(), RecentTexts::kNames), QStringLiteral("REPORT"));
    EXPECT_EQ(saved, (QStringList{QStringLiteral("*.txt"), QStringLiteral("REPORT")}));
}

TEST_F(RecentTextsTest, TheListFileHoldsEachPathsBytesAndGetsTheDefaultExtension)
{
    EXPECT_EQ(SearchListFile::withDefaultExtension(QStringLiteral("/x/list")), QStringLiteral("/x/list.TXT"));
    EXPECT_EQ(SearchListFile::withDefaultExtension(QStringLiteral("/x.d/list.txt")), QStringLiteral("/x.d/list.txt"));
    const QString path = home().root() + QStringLiteral("/out/list.TXT");
    QString error;
    ASSERT_TRUE(SearchListFile::write(path, {QByteArray("/a/caf\xe9.txt"), QByteArray("/b/c")}, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("/a/caf\xe9.txt\n/b/c\n"));
    // A folder in the way of the name: the old state stays and the error names the file.
    EXPECT_FALSE(SearchListFile::write(home().root() + QStringLiteral("/out/list.TXT/inner"), {}, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot save the list: ")));
}

} // namespace
