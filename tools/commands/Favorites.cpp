// fvtool favorites: the Favorites menu as the window builds it (folders first, captions cut
// to 50 characters, " (Empty) " folders, each entry's address), Add to Favorites, and Import
// and Export Favorites with a browser's bookmark file.
#include "Command.h"

#include "internet/FavoriteFile.h"
#include "internet/FavoritesExportJob.h"
#include "internet/FavoritesFolder.h"
#include "internet/FavoritesImportJob.h"
#include "platform/JobWaiter.h"
#include "platform/LocalFiles.h"
#include "platform/Shell.h"

namespace {

constexpr int kMaxDepth = 16; // the menu opens one level per click; a listing stops here

void listFolder(const QString& folder, int depth)
{
    const QString indent(depth * 2, QLatin1Char(' '));
    const QList<FavoriteItem> items = FavoritesFolder::items(folder);
    if (items.isEmpty())
        fvtool::out(indent + QStringLiteral(" (Empty) "));
    for (const FavoriteItem& item : items) {
        const QString caption = indent + FavoritesFolder::caption(item.name);
        if (!item.isFolder) {
            fvtool::out(caption + QLatin1Char('\t') + item.address);
            continue;
        }
        fvtool::out(caption + QLatin1Char('/'));
        // A link to a folder is listed, not entered: it could lead back up.
        if (depth < kMaxDepth && !LocalFiles::isSymLink(item.path))
            listFolder(item.path, depth + 1);
    }
}

// Runs an import or export and prints its summary, or its error (exit code 1).
template <typename ExchangeJob>
int exchange(ExchangeJob& job)
{
    RunJob(job);
    if (!job.succeeded()) {
        fvtool::err(job.errorString());
        return 1;
    }
    for (const QString& line : job.summary().split(QLatin1String("\r\n")))
        fvtool::out(line);
    return 0;
}

int runFavorites(const QStringList& args)
{
    QString folder = SpecialFolderPath(SpecialFolder::Favorites);
    const bool importing = !args.isEmpty() && args.first() == QLatin1String("--import");
    if (importing || (!args.isEmpty() && args.first() == QLatin1String("--export"))) {
        if (args.size() < 2 || args.size() > 3)
            return 2;
        if (args.size() == 3)
            folder = args.at(2);
        if (importing) {
            FavoritesImportJob job(args.at(1), folder);
            return exchange(job);
        }
        FavoritesExportJob job(folder, args.at(1));
        return exchange(job);
    }
    if (args.size() >= 1 && args.first() == QLatin1String("--add")) {
        if (args.size() < 3 || args.size() > 4)
            return 2;
        if (args.size() == 4)
            folder = args.at(3);
        const Result<QString> name = FavoriteFile::nameFor(args.at(1), args.at(2));
        const QString path = folder + QLatin1Char('/') + name.value();
        const Status written = name ? FavoriteFile::write(path, args.at(2)) : name.status();
        if (!written) {
            fvtool::err(written.errorString());
            return 1;
        }
        fvtool::out(path);
        return 0;
    }
    if (args.size() > 1)
        return 2;
    listFolder(args.isEmpty() ? folder : args.first(), 0);
    return 0;
}

} // namespace

FVTOOL_COMMAND(favorites,
               "favorites [FOLDER] | favorites --add TITLE URL [FOLDER] | favorites --import|--export BOOKMARKS.html [FOLDER]: "
               "the Favorites menu, add a page, or exchange a browser's bookmark file",
               runFavorites)
