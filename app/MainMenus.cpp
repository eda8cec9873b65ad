#include "app/MainMenus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

struct TopMenu {
    const char* name;
    const char* caption;
};

const TopMenu kTopMenus[] = {
    {"MenuFile", "&File"},   {"MenuPath", "&Path"},   {"MenuEdit", "&Edit"},
    {"MenuSearch", "&Search"}, {"MenuMusic", "&Music"}, {"MenuDrive", "&Drive"},
    {"MenuFileTools", "File &Tools"}, {"MenuTools", "T&ools"}, {"MenuOptions", "Opt&ions"},
    {"MenuHelp", "&Help"},
};
constexpr int kOptionsMenu = 8;

QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QString& hint = QString())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setStatusTip(hint);
    return action;
}

} // namespace

void MainMenus::build(QMainWindow* window, MainWindowControls& c)
{
    c.MainMenu1 = new QMenuBar(window);
    c.MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    window->setMenuBar(c.MainMenu1);
    QMenu* menus[std::size(kTopMenus)] = {};
    for (size_t i = 0; i < std::size(kTopMenus); ++i) {
        const QString caption = QString::fromLatin1(kTopMenus[i].caption);
        if (i == kOptionsMenu) {
            c.MenuOptionSet = c.MainMenu1->addAction(caption);
            c.MenuOptionSet->setObjectName(QLatin1String(kTopMenus[i].name));
            c.topMenus[i] = nullptr;
            continue;
        }
        menus[i] = c.MainMenu1->addMenu(caption);
        menus[i]->setObjectName(QLatin1String(kTopMenus[i].name));
        c.topMenus[i] = menus[i];
    }

    c.MenuViewFile = addItem(menus[0], "MenuViewFile", QStringLiteral("&View"), QStringLiteral("View the selected file"));
    menus[0]->addSeparator();
    c.MenuExit = addItem(menus[0], "MenuExit", QStringLiteral("E&xit"), QStringLiteral("Exit Folvane"));

    c.MenuContinuousplay = addItem(menus[4], "MenuContinuousplay", QStringLiteral("Continuous Play"));
    c.MenuContinuousplay->setCheckable(true);
    c.MenuShuffle = addItem(menus[4], "MenuShuffle", QStringLiteral("Shuffle"));
    c.MenuShuffle->setCheckable(true);

    c.MenuHelpContents = addItem(menus[9], "MenuHelpContents", QStringLiteral("&Help"));
    c.MenuHelpContents->setShortcut(QKeySequence(Qt::Key_F1));
    c.MenuAbout = addItem(menus[9], "MenuAbout", QStringLiteral("&About FolVane"));
}
