#include "app/MainWindowPathMenus.h"

#include "app/RecentPaths.h"
#include "browse/BrowseNavigator.h"
#include "platform/Shell.h"
#include "platform/ui/WindowContext.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include <optional>

namespace {

struct SpecialItem {
    const char* name;
    const char* caption;
    // The folder on this desktop; none for the "all users" folders, which Linux does not have.
    std::optional<SpecialFolder> folder;
};

const SpecialItem kAllUsers[] = {
    {"MenuDocAllUsers", "Documents", SpecialFolder::CommonDocuments},
    {"MenuPicturesAllUsers", "Pictures", std::nullopt},
    {"MenuVideoAllUsers", "Video", std::nullopt},
};
const SpecialItem kCurrentUser[] = {
    {"MenuDocsCurrentUser", "Documents", SpecialFolder::Documents},
    {"MenuPicturesCurrentlUser", "Pictures", SpecialFolder::Pictures},
    {"MenuVideoCurrentUser", "Video", SpecialFolder::Videos},
};
const SpecialItem kMusic[] = {
    {"MenuMusicAllUsers", "All User Music", std::nullopt},
    {"MenuMusicCurrentUser", "Current User Music", SpecialFolder::Music},
};

} // namespace

MainWindowPathMenus::MainWindowPathMenus(WindowContext& context)
    : QObject(context.window())
    , m_context(context)
{
    QMenu* path = context.menu(MainMenu::Path);
    connect(path, &QMenu::aboutToShow, this, &MainWindowPathMenus::fillRecentPaths);
    addSpecialFolders(context.menu(MainMenu::File), context.menu(MainMenu::Music));
    fillRecentPaths();
}

QString MainWindowPathMenus::recentCaption(int index, const QString& folder)
{
    const QChar accelerator = index < 9 ? QChar(u'1' + index) : QChar(index + 1 + 55);
    return QLatin1Char('&') + accelerator + QLatin1Char(' ') + QString(folder).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void MainWindowPathMenus::fillRecentPaths()
{
    QMenu* menu = m_context.menu(MainMenu::Path);
    menu->clear();
    const QStringList folders = m_context.recentPaths().mid(0, RecentPaths::kLimit);
    for (int i = 0; i < folders.size(); ++i) {
        QAction* item = menu->addAction(recentCaption(i, folders[i]));
        item->setObjectName(QStringLiteral("MenuMRUPaths%1").arg(i));
        connect(item, &QAction::triggered, this, [this, folder = folders[i]] { MenuMRUPathsClick(folder); });
    }
}

void MainWindowPathMenus::MenuMRUPathsClick(const QString& folder)
{
    // A folder that vanished meanwhile reopens the current folder.
    openInFileManager(folder);
}

void MainWindowPathMenus::openInFileManager(const QString& folder)
{
    if (m_context.currentMode() != vmFileManager)
        m_context.switchMode(vmFileManager);
    BrowseNavigator& navigator = m_context.navigator();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        navigator.reload(QFileInfo(folder).absoluteFilePath());
    else
        navigator.refresh();
}

void MainWindowPathMenus::addSpecialFolders(QMenu* file, QMenu* music)
{
    auto addItems = [this](QMenu* menu, const auto& items) {
        for (const SpecialItem& item : items) {
            QAction* action = menu->addAction(QLatin1String(item.caption));
            action->setObjectName(QLatin1String(item.name));
            const std::optional<SpecialFolder> folder = item.folder;
            connect(action, &QAction::triggered, this, [this, folder] {
                openInFileManager(folder ? SpecialFolderPath(*folder) : QString());
            });
        }
    };
    QAction* before = file->actions().value(1); // after "View", before the separator of "Exit"
    QMenu* allUsers = new QMenu(QStringLiteral("All Users"), file);
    allUsers->setObjectName(QStringLiteral("MenuAllUsers"));
    addItems(allUsers, kAllUsers);
    QMenu* currentUser = new QMenu(QStringLiteral("CurrentUser"), file);
    currentUser->setObjectName(QStringLiteral("MenuCurrentUser"));
    addItems(currentUser, kCurrentUser);
    file->insertSeparator(before);
    file->insertMenu(before, allUsers);
    file->insertMenu(before, currentUser);
    music->addSeparator();
    addItems(music, kMusic);
}
