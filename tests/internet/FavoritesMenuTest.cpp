// The Favorites menu: its place in the menu bar, lazily filled folders, shortened captions,
// Add to Favorites and a javascript: favourite that loads nothing.
#include "WebPaneFixture.h"

#include "internet/InternetShortcut.h"
#include "internet/ui/TFavoritesMenu.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>

class FavoritesMenuTest : public WebPaneFixture {
protected:
    QStringList captions(QMenu* menu)
    {
        QStringList shown;
        for (QAction* action : menu->actions())
            shown << (action->isSeparator() ? QStringLiteral("-") : QString(action->text() + (action->isEnabled() ? QString() : QStringLiteral(" [off]"))));
        return shown;
    }
    std::unique_ptr<TFavoritesMenu> makeMenu()
    {
        auto menu = std::make_unique<TFavoritesMenu>(window->menuBar(), favorites, 3);
        QSignalSpy filled(menu.get(), &TFavoritesMenu::folderFilled);
        EXPECT_TRUE(filled.wait(5000));
        return menu;
    }
    QString favorites;
};

TEST_F(FavoritesMenuTest, MirrorsTheFolderWithLazySubmenusAndShortCaptions)
{
    favorites = makeFolder(QStringLiteral("Favorites"));
    makeFolder(QStringLiteral("Favorites/Empty folder"));
    const QString longName(51, QLatin1Char('n'));
    makeFile(QStringLiteral("Favorites/") + longName + QStringLiteral(".url"), "[InternetShortcut]\nURL=http://127.0.0.1/\n");
    const auto menu = makeMenu();

    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_GE(bar.size(), 3);
    EXPECT_EQ(bar.at(2)->text(), QStringLiteral("Favorites"));
    EXPECT_EQ(captions(menu->menu()), (QStringList{"Add to Favorites", "Organize Favorites", "-", "Empty folder",
                                                   QString(50, QLatin1Char('n')) + QStringLiteral("...")}));
    QMenu* sub = menu->menu()->actions().at(3)->menu();
    ASSERT_TRUE(sub);
    QSignalSpy filled(menu.get(), &TFavoritesMenu::folderFilled);
    Q_EMIT sub->aboutToShow();
    ASSERT_TRUE(filled.wait(5000));
    EXPECT_EQ(captions(sub), QStringList{" (Empty)  [off]"});
}

TEST_F(FavoritesMenuTest, AddsThePageShownAndAsksBeforeReplacing)
{
    favorites = makeFolder(QStringLiteral("Favorites"));
    const auto menu = makeMenu();
    menu->AddFavoritesClick();
    menu->setWebbrowser(pane);
    menu->AddFavoritesClick();
    EXPECT_EQ(prompter().texts(), (QStringList{"No Webbrowser connected to Favorites-menu.", "No URL selected."}));

    ASSERT_TRUE(open(QStringLiteral("/b.html")));
    menu->AddFavoritesClick();
    EXPECT_EQ(InternetShortcut::read(favorites + QStringLiteral("/Page B.url")), url("/b.html"));
    prompter().clear();
    prompter().answer(PromptButton::No);
    menu->AddFavoritesClick();
    EXPECT_EQ(prompter().texts(), QStringList{"Page B.url already exists.\r\nDo you want to replace it?"});
}

TEST_F(FavoritesMenuTest, AJavascriptFavoriteLoadsNothing)
{
    favorites = makeFolder(QStringLiteral("Favorites"));
    makeFile(QStringLiteral("Favorites/evil.url"), "[InternetShortcut]\nURL=javascript:document.title='owned'\n");
    const auto menu = makeMenu();
    QObject::connect(menu.get(), &TFavoritesMenu::URLSelected, pane, &WebBrowserPane::NavigateTo);
    ASSERT_TRUE(open(QStringLiteral("/a.html")));
    menu->menu()->actions().last()->trigger();
    QTest::qWait(1000);
    EXPECT_EQ(pane->currentTitle(), QStringLiteral("Page A"));
    EXPECT_EQ(server.log(), QStringList{"/a.html"});
}
