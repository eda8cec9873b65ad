// Import and Export Favorites as the Favorites menu offers them: the fixed items its options
// ask for, the pickers and the messages, and the menu read again afterwards. No web pane is
// needed for any of it.
#include "internet/BookmarkFile.h"
#include "internet/InternetShortcut.h"
#include "internet/ui/TFavoritesMenu.h"
#include "support/TempHome.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

class FavoritesMenuExchangeTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        favorites = makeFolder(QStringLiteral("Favorites"));
        makeFile(QStringLiteral("Favorites/Kept.url"), "[InternetShortcut]\r\nURL=http://kept.example/\r\n");
        window = std::make_unique<QMainWindow>();
        menu = std::make_unique<TFavoritesMenu>(window->menuBar(), favorites, 1, nullptr,
                                                TFavoritesMenu::kDefaultOptions | FavoritesOption::ImportFavorites
                                                    | FavoritesOption::ExportFavorites);
        ASSERT_TRUE(waitFilled());
    }

    void TearDown() override
    {
        menu.reset();
        window.reset();
        TempHomeTest::TearDown();
    }

    bool waitFilled()
    {
        QSignalSpy filled(menu.get(), &TFavoritesMenu::folderFilled);
        return filled.wait(5000);
    }

    QStringList captions()
    {
        QStringList shown;
        for (QAction* action : menu->menu()->actions())
            shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return shown;
    }

    void choose(const char* objectName)
    {
        QAction* item = menu->menu()->findChild<QAction*>(QLatin1String(objectName));
        ASSERT_TRUE(item) << objectName;
        item->trigger();
    }

    QString favorites;
    std::unique_ptr<QMainWindow> window;
    std::unique_ptr<TFavoritesMenu> menu;
};

TEST_F(FavoritesMenuExchangeTest, ImportsABookmarkFileAndShowsItInTheMenu)
{
    EXPECT_EQ(captions(), (QStringList{"Add to Favorites", "Organize Favorites", "-", "Import Favorites", "Export Favorites", "-", "Kept"}));
    const QString source = makeFile(QStringLiteral("bookmarks.html"), "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                                                                      "<DT><A HREF=\"http://kept.example/\">Kept</A>\n"
                                                                      "<DT><A HREF=\"https://new.example/\">New page</A>\n</DL>\n");
    pickers().answer(QString()).answer(source);
    choose("ImportFavorites"); // cancelled in the picker: nothing happens
    EXPECT_TRUE(prompter().texts().isEmpty());
    choose("ImportFavorites");
    EXPECT_EQ(pickers().captions(), (QStringList{"Import Favorites", "Import Favorites"}));
    EXPECT_EQ(prompter().texts(),
              QStringList{QStringLiteral("Imported 1 favorite from %1.\r\nAlready in Favorites and left as they were: 1.").arg(source)});
    EXPECT_EQ(prompter().last().kind, PromptKind::Information);
    ASSERT_TRUE(waitFilled());
    EXPECT_EQ(captions().mid(6), (QStringList{"Kept", "New page"}));
    EXPECT_EQ(InternetShortcut::read(favorites + QStringLiteral("/New page.url")), QStringLiteral("https://new.example/"));
}

TEST_F(FavoritesMenuExchangeTest, ABrokenFileIsReportedAndChangesNothing)
{
    const QString source = makeFile(QStringLiteral("page.html"), "<html><a href=\"http://x.example/\">x</a></html>");
    pickers().answer(source);
    choose("ImportFavorites");
    ASSERT_EQ(prompter().records().size(), 1);
    EXPECT_EQ(prompter().last().kind, PromptKind::Error);
    EXPECT_EQ(prompter().last().text,
              QStringLiteral("Cannot import %1: it is not a bookmark file (it does not begin with <!DOCTYPE NETSCAPE-Bookmark-file-1>).")
                  .arg(source));
    ASSERT_TRUE(waitFilled());
    EXPECT_EQ(captions().mid(6), QStringList{"Kept"});
}

TEST_F(FavoritesMenuExchangeTest, ExportsTheFolderForABrowser)
{
    const QString target = home().root() + QStringLiteral("/export/bookmarks.html");
    pickers().answer(target);
    choose("ExportFavorites");
    EXPECT_EQ(pickers().captions(), QStringList{"Export Favorites"});
    EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("Exported 1 favorite to %1.").arg(target)});
    const Result<BookmarkNode> written = BookmarkFile::read(target);
    ASSERT_TRUE(written) << written.errorString().toStdString();
    ASSERT_EQ(written->children.size(), 1u);
    EXPECT_EQ(written->children.front().title, QStringLiteral("Kept"));
    EXPECT_EQ(written->children.front().address, QStringLiteral("http://kept.example/"));
}
