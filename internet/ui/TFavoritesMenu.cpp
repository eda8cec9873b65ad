#include "internet/ui/TFavoritesMenu.h"

#include "internet/FavoriteFile.h"
#include "internet/FavoritesExportJob.h"
#include "internet/FavoritesFolder.h"
#include "internet/FavoritesImportJob.h"
#include "internet/ui/WebBrowserPane.h"
#include "platform/JobWaiter.h"
#include "platform/LocalFiles.h"
#include "platform/Pickers.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QDir>
#include <QFutureWatcher>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>
#include <QtConcurrent/QtConcurrentRun>

namespace {

const char* const kFolderProperty = "favoritesFolder";
const char* const kFilledProperty = "favoritesFilled";
const QString kBookmarkFilter = QStringLiteral("Bookmark Files (*.htm *.html);;All Files (*)");

// Runs an import or export (a progress window shows on long work) and tells how it went.
template <typename ExchangeJob>
void runExchange(ExchangeJob& job, const QString& title)
{
    RunJob(job, title);
    if (job.errorString().isEmpty())
        Prompter::instance().information(job.summary());
    else
        Prompter::instance().error(job.errorString());
}

} // namespace

TFavoritesMenu::TFavoritesMenu(QMenuBar* menuBar, const QString& folder, int menuPos, QObject* parent,
                               FavoritesOptions options)
    : QObject(parent)
    , m_menu(new QMenu(QStringLiteral("Favorites"), menuBar))
    , m_folder(folder)
    , m_options(options)
{
    qRegisterMetaType<QMenu*>();
    m_menu->setObjectName(QStringLiteral("FavoritesMenu1"));
    const QList<QAction*> items = menuBar->actions();
    const int at = qBound(1, menuPos, int(items.size()) + 1);
    if (at <= items.size())
        menuBar->insertMenu(items.at(at - 1), m_menu);
    else
        menuBar->addMenu(m_menu);
    rebuild();
}

void TFavoritesMenu::addFixedItem(FavoritesOption option, const char* name, const char* caption,
                                  void (TFavoritesMenu::*handler)())
{
    if (!m_options.testFlag(option))
        return;
    QAction* item = m_menu->addAction(QLatin1String(caption));
    item->setObjectName(QLatin1String(name));
    connect(item, &QAction::triggered, this, handler);
}

void TFavoritesMenu::addFixedItems()
{
    addFixedItem(FavoritesOption::AddFavorites, "AddFavorites", "Add to Favorites", &TFavoritesMenu::AddFavoritesClick);
    addFixedItem(FavoritesOption::OrganizeFavorites, "OrganizeFavorites", "Organize Favorites",
                 &TFavoritesMenu::OrganizeFavoritesClick);
    if (m_options & (FavoritesOption::AddFavorites | FavoritesOption::OrganizeFavorites))
        m_menu->addSeparator();
    addFixedItem(FavoritesOption::ImportFavorites, "ImportFavorites", "Import Favorites", &TFavoritesMenu::ImportFavoritesClick);
    addFixedItem(FavoritesOption::ExportFavorites, "ExportFavorites", "Export Favorites", &TFavoritesMenu::ExportFavoritesClick);
    if (m_options & (FavoritesOption::ImportFavorites | FavoritesOption::ExportFavorites))
        m_menu->addSeparator();
}

void TFavoritesMenu::rebuild()
{
    for (QMenu* sub : m_menu->findChildren<QMenu*>())
        sub->deleteLater();
    m_menu->clear();
    ++m_generation;
    addFixedItems();
    m_menu->setProperty(kFolderProperty, m_folder);
    m_menu->setProperty(kFilledProperty, false);
    fill(m_menu);
}

void TFavoritesMenu::prepareFolderMenu(QMenu* menu, const QString& folder)
{
    menu->setProperty(kFolderProperty, folder);
    menu->setProperty(kFilledProperty, false);
    // A placeholder makes the folder open as a submenu until its entries are read.
    menu->addAction(QStringLiteral("..."))->setEnabled(false);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        if (!menu->property(kFilledProperty).toBool())
            fill(menu);
    });
}

void TFavoritesMenu::fill(QMenu* menu)
{
    menu->setProperty(kFilledProperty, true);
    const QString folder = menu->property(kFolderProperty).toString();
    auto* watcher = new QFutureWatcher<QList<FavoriteItem>>(this);
    QPointer<QMenu> target(menu);
    const int generation = m_generation;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, target, generation] {
        watcher->deleteLater();
        if (!target || generation != m_generation)
            return;
        if (target != m_menu)
            target->clear();
        const QList<FavoriteItem> items = watcher->result();
        if (items.isEmpty())
            target->addAction(QStringLiteral(" (Empty) "))->setEnabled(false);
        QStyle* style = QApplication::style();
        for (const FavoriteItem& item : items) {
            const QString caption = FavoritesFolder::caption(item.name, m_maxWidth);
            if (item.isFolder) {
                QMenu* sub = target->addMenu(style->standardIcon(QStyle::SP_DirIcon), caption);
                prepareFolderMenu(sub, item.path);
                continue;
            }
            QAction* action = target->addAction(style->standardIcon(QStyle::SP_FileLinkIcon), caption);
            const QString address = item.address;
            connect(action, &QAction::triggered, this, [this, address] { Q_EMIT URLSelected(address); });
        }
        Q_EMIT folderFilled(target);
    });
    watcher->setFuture(QtConcurrent::run(&FavoritesFolder::items, folder, FavoritesFolder::kMaxItems));
}

void TFavoritesMenu::AddFavoritesClick()
{
    if (!m_browser) {
        Prompter::instance().error(QStringLiteral("No Webbrowser connected to Favorites-menu."));
        return;
    }
    const QString address = m_browser->currentAddress();
    if (address.isEmpty()) {
        Prompter::instance().error(QStringLiteral("No URL selected."));
        return;
    }
    const Result<QString> name = FavoriteFile::nameFor(m_browser->currentTitle(), address);
    if (!name) {
        Prompter::instance().error(name.errorString());
        return;
    }
    const QString path = m_folder + QLatin1Char('/') + name.value();
    if (LocalFiles::entryExists(path)
        && !Prompter::instance().confirm(name.value() + QStringLiteral(" already exists.\r\nDo you want to replace it?")))
        return;
    if (const Status written = FavoriteFile::write(path, address); !written) {
        Prompter::instance().error(written.errorString());
        return;
    }
    rebuild();
}

void TFavoritesMenu::OrganizeFavoritesClick()
{
    Q_EMIT organizeRequested(m_folder);
    rebuild();
}

void TFavoritesMenu::ImportFavoritesClick()
{
    const QString source = Pickers::instance().openFile(QStringLiteral("Import Favorites"), QDir::homePath(), kBookmarkFilter);
    if (source.isEmpty())
        return;
    FavoritesImportJob job(source, m_folder);
    runExchange(job, QStringLiteral("Import Favorites"));
    rebuild();
}

void TFavoritesMenu::ExportFavoritesClick()
{
    const QString target = Pickers::instance().saveFile(QStringLiteral("Export Favorites"),
                                                        QDir::homePath() + QStringLiteral("/bookmarks.html"), kBookmarkFilter);
    if (target.isEmpty())
        return;
    FavoritesExportJob job(m_folder, target);
    runExchange(job, QStringLiteral("Export Favorites"));
    rebuild();
}
