#include "app/MainWindowPathMenus.h"

#include "app/MainWindowBrowse.h"
#include "app/MainWindowControls.h"
#include "app/RecentPaths.h"
#include "app/TFormMainFolvane3.h"
#include "platform/Shell.h"

#include <QAction>
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

MainWindowPathMenus::MainWindowPathMenus(TFormMainFolvane3* window, MainWindowControls& c)
    : QObject(window)
    , m_window(window)
    , m_c(c)
{
    QMenu* path = c.topMenus[1];
    connect(path, &QMenu::aboutToShow, this, &MainWindowPathMenus::fillRecentPaths);
    addSpecialFolders(c.topMenus[0], c.topMenus[4]);
    fillRecentPaths();
}

QString MainWindowPathMenus::recentCaption(int index, const QString& folder)
{
    const QChar accelerator = index < 9 ? QChar(u'1' + index) : QChar(index + 1 + 55);
    return QLatin1Char('&') + accelerator + QLatin1Char(' ') + QString(folder).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void MainWindowPathMenus::fillRecentPaths()
{
    QMenu* menu = m_c.topMenus[1];
    menu->clear();
    const QStringList folders = m_window->settings().mruPaths.mid(0, RecentPaths::kLimit);
    for (int i = 0; i < folders.size(); ++i) {
        QAction* item = menu->addAction(recentCaption(i, folders[i]));
        item->setObjectName(QStringLiteral("MenuMRUPaths%1").arg(i));
        connect(item, &QAction::triggered, this, [this, folder = folders[i]] { MenuMRUPathsClick(folder); });
    }
}

void MainWindowPathMenus::MenuMRUPathsClick(const QString& folder)
{
    // A folder that vanished meanwhile reopens the current folder.
    m_window->browse().openInFileManager(folder);
}

void MainWindowPathMenus::addSpecialFolders(QMenu* file, QMenu* music)
{
    auto addItems = [this](QMenu* menu, const auto& items) {
        for (const SpecialItem& item : items) {
            QAction* action = menu->addAction(QLatin1String(item.caption));
            action->setObjectName(QLatin1String(item.name));
            const std::optional<SpecialFolder> folder = item.folder;
            connect(action, &QAction::triggered, this, [this, folder] {
                m_window->browse().openInFileManager(folder ? SpecialFolderPath(*folder) : QString());
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
