// The favourites folder as the menu reads it, the shortcut files it holds, and the names
// Add to Favorites makes from page titles.
#include "internet/FavoriteFile.h"
#include "internet/FavoritesFolder.h"
#include "internet/InternetShortcut.h"
#include "support/TempHome.h"

#include <QFile>

class FavoritesTest : public TempHomeTest {};

TEST_F(FavoritesTest, ListsFoldersFirstThenEntriesByNameWithTheirAddresses)
{
    const QString root = makeFolder(QStringLiteral("Favorites"));
    makeFolder(QStringLiteral("Favorites/news"));
    makeFolder(QStringLiteral("Favorites/Archive"));
    makeFile(QStringLiteral("Favorites/zeta.url"), "[InternetShortcut]\r\nURL=https://zeta.example/\r\n");
    makeFile(QStringLiteral("Favorites/Alpha.URL"), "[InternetShortcut]\nURL=http://alpha.example/a\n");
    makeFile(QStringLiteral("Favorites/broken.url"), "[Other]\nURL=http://no.example/\n");
    makeFile(QStringLiteral("Favorites/saved.html"), "<p>");
    makeFile(QStringLiteral("Favorites/.hidden.url"), "[InternetShortcut]\nURL=http://h/\n");

    QStringList shown;
    for (const FavoriteItem& item : FavoritesFolder::items(root))
        shown << (item.isFolder ? QString(item.name + QStringLiteral("/")) : QString(item.name + QStringLiteral(" -> ") + item.address));
    EXPECT_EQ(shown, (QStringList{"Archive/", "news/", "Alpha -> http://alpha.example/a", "broken -> ",
                                  "saved.html -> file://" + root + "/saved.html", "zeta -> https://zeta.example/"}));
    EXPECT_TRUE(FavoritesFolder::items(root + QStringLiteral("/news")).isEmpty());
    EXPECT_TRUE(FavoritesFolder::items(root + QStringLiteral("/missing")).isEmpty());
}

TEST(FavoritesFolder, CutsLongCaptionsToMaxWidth)
{
    const QString fifty(50, QLatin1Char('x'));
    EXPECT_EQ(FavoritesFolder::caption(fifty), fifty);
    EXPECT_EQ(FavoritesFolder::caption(fifty + QLatin1Char('y')), fifty + QStringLiteral("..."));
    EXPECT_EQ(FavoritesFolder::caption(QStringLiteral("abcdef"), 3), QStringLiteral("abc..."));
    // A character outside the basic plane is not cut in half.
    const QString emoji = QString(49, QLatin1Char('x')) + QString::fromUtf8("\xF0\x9F\x98\x80") + QStringLiteral("tail");
    EXPECT_EQ(FavoritesFolder::caption(emoji), QString(49, QLatin1Char('x')) + QStringLiteral("..."));
}

TEST(FavoriteFile, MakesSafeNamesFromTitles)
{
    struct Case {
        QString title;
        const char* address;
        QString name; // empty: refused
    } cases[] = {
        {QStringLiteral("Local page"), "http://127.0.0.1/", QStringLiteral("Local page.url")},
        {QStringLiteral("a/b\\c"), "http://h/", QStringLiteral("a b\\c.url")},
        {QStringLiteral("tab\there\nnew") + QChar(0) + QStringLiteral("nul\x7f"), "http://h/", QStringLiteral("tab here new nul.url")},
        {QStringLiteral(".."), "http://host.example/x", QStringLiteral("host.example.url")},
        {QStringLiteral(" . "), "http://host.example/", QStringLiteral("host.example.url")},
        {QStringLiteral("///"), "file:///tmp/page.html", QString()},
        {QString(300, QChar(0x00e9)), "http://h/", QString(100, QChar(0x00e9)) + QStringLiteral(".url")},
        // A title of millions of characters (an imported file's) is cut as quickly.
        {QString(4'000'000, QLatin1Char('t')), "http://h/", QString(200, QLatin1Char('t')) + QStringLiteral(".url")},
    };
    for (const Case& c : cases) {
        const Result<QString> name = FavoriteFile::nameFor(c.title, QLatin1String(c.address));
        EXPECT_EQ(name.ok(), !c.name.isEmpty()) << c.title.toStdString();
        EXPECT_EQ(name.value(), c.name) << c.title.toStdString();
        EXPECT_LE(name.value().toUtf8().size(), 255);
    }
}

TEST_F(FavoritesTest, WritesAShortcutThatReadsBackAndReplacesWhole)
{
    const QString path = makeFile(QStringLiteral("Favorites/Page.url"), "old bytes");
    ASSERT_TRUE(FavoriteFile::write(path, QStringLiteral("http://127.0.0.1:1/page?q=1")));
    EXPECT_EQ(InternetShortcut::read(path), QStringLiteral("http://127.0.0.1:1/page?q=1"));
    // An address that would add a key of its own gets no file, and the old one stays.
    EXPECT_FALSE(FavoriteFile::write(path, QStringLiteral("http://h/\r\nIconFile=/etc/passwd")));
    EXPECT_EQ(InternetShortcut::read(path), QStringLiteral("http://127.0.0.1:1/page?q=1"));
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Page.url"});
}

TEST(InternetShortcut, ReadsTheUrlValueOfItsSectionOnly)
{
    const std::pair<QByteArray, const char*> cases[] = {
        {"[InternetShortcut]\r\nURL=http://a/\r\n", "http://a/"},
        {"[DEFAULT]\nBASEURL=http://x/\n[InternetShortcut]\nIconIndex=0\nURL=https://b/\n", "https://b/"},
        {"[Other]\nURL=http://c/\n", ""},
        {"URL=http://d/\n", ""},
        {"[InternetShortcut\nURL=http://e/\n", ""},
        {QByteArray(70 * 1024, 'x'), ""},
    };
    for (const auto& [text, url] : cases)
        EXPECT_EQ(InternetShortcut::addressFromText(text), QLatin1String(url)) << text.left(40).constData();
}
