// Import and Export Favorites against a favourites folder: merging keeps what is there and
// skips duplicates, a bad file changes nothing, and an export imports back as the same folder.
#include "internet/BookmarkFile.h"
#include "internet/FavoritesExportJob.h"
#include "internet/FavoritesImportJob.h"
#include "internet/InternetShortcut.h"
#include "platform/LocalFiles.h"
#include "support/TempHome.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kHead = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n";

qint64 modified(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qint64(st.st_mtim.tv_sec) : -1;
}

} // namespace

class FavoritesExchangeTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        favorites = makeFolder(QStringLiteral("Favorites"));
    }

    void shortcut(const QString& relativePath, const char* address)
    {
        makeFile(QStringLiteral("Favorites/") + relativePath, "[InternetShortcut]\r\nURL=" + QByteArray(address) + "\r\n");
    }

    // Every entry below folder, "dir/" or "file -> address", in name order.
    QStringList listing(const QString& folder, const QString& prefix = QString())
    {
        QStringList lines;
        for (const QString& name : LocalFiles::entryNames(folder)) {
            const QString path = folder + QLatin1Char('/') + name;
            if (LocalFiles::isDir(path) && !LocalFiles::isSymLink(path)) {
                lines << prefix + name + QLatin1Char('/');
                lines << listing(path, prefix + name + QLatin1Char('/'));
            } else {
                lines << prefix + name + QStringLiteral(" -> ") + InternetShortcut::read(path);
            }
        }
        return lines;
    }

    QString favorites;
};

TEST_F(FavoritesExchangeTest, MergesABrowserExportWithoutLosingWhatIsThere)
{
    shortcut(QStringLiteral("Kept.url"), "http://kept.example/");
    shortcut(QStringLiteral("News/Paper.url"), "https://paper.example/");
    shortcut(QStringLiteral("Wiki.url"), "http://other.example/");
    makeFile(QStringLiteral("Favorites/Tools"), "a file where the import has a folder");
    const QString source = makeFile(QStringLiteral("bookmarks.html"),
                                    kHead
                                        + "<DL><p>\n"
                                          "<DT><H3>News</H3>\n<DL><p>\n"
                                          "  <DT><A HREF=\"https://paper.example/\">The Paper</A>\n"
                                          "  <DT><A HREF=\"https://blog.example/\" ADD_DATE=\"1600000000\">Blog</A>\n"
                                          "</DL><p>\n"
                                          "<DT><A HREF=\"http://wiki.example/\">Wiki</A>\n"
                                          "<DT><A HREF=\"javascript:alert(1)\">Bookmarklet</A>\n"
                                          "<DT><A HREF=\"place:sort=8\">Recent Tags</A>\n"
                                          "<DT><H3>Tools</H3>\n<DL><p><DT><A HREF=\"http://t.example/\">T/1</A></DL><p>\n"
                                          "<DT><A HREF=\"http://blog2.example/\">Blog</A>\n"
                                          "<DT><A HREF=\"http://kept.example/\">Kept again</A>\n"
                                          "</DL><p>\n");
    const QStringList merged{"Blog.url -> http://blog2.example/", "Kept.url -> http://kept.example/", "News/",
                             "News/Blog.url -> https://blog.example/", "News/Paper.url -> https://paper.example/",
                             "Tools -> ", "Tools (2)/", "Tools (2)/T 1.url -> http://t.example/",
                             "Wiki (2).url -> http://wiki.example/", "Wiki.url -> http://other.example/"};

    FavoritesImportJob first(source, favorites);
    first.run();
    ASSERT_TRUE(first.succeeded()) << first.errorString().toStdString();
    EXPECT_EQ(listing(favorites), merged);
    EXPECT_EQ(first.summary(), QStringLiteral("Imported 4 favorites from %1.\r\n"
                                              "Already in Favorites and left as they were: 2.\r\n"
                                              "Left out, not an http, https or file address: 2.")
                                   .arg(source));
    EXPECT_EQ(modified(favorites + QStringLiteral("/News/Blog.url")), 1600000000);

    // The same file again adds nothing: every link is found where the first import put it.
    FavoritesImportJob again(source, favorites);
    again.run();
    ASSERT_TRUE(again.succeeded()) << again.errorString().toStdString();
    EXPECT_EQ(listing(favorites), merged);
    EXPECT_EQ(std::make_tuple(again.added(), again.duplicates(), again.refused()), std::make_tuple(0, 6, 2));
}

TEST_F(FavoritesExchangeTest, AFileThatCannotBeReadChangesNothing)
{
    shortcut(QStringLiteral("Kept.url"), "http://kept.example/");
    const QString big = makeFile(QStringLiteral("big.html"), kHead);
    ASSERT_TRUE(QFile::resize(big, BookmarkFile::kMaxBytes + 1));
    const std::pair<QString, const char*> cases[] = {
        {home().root() + QStringLiteral("/missing.html"), "No such file or directory"},
        {makeFolder(QStringLiteral("a folder.html")), "it is not a file"},
        {big, "it is larger than 64 MiB"},
        {makeFile(QStringLiteral("page.html"), "<html><a href=\"http://a.example/\">a</a></html>"),
         "it is not a bookmark file (it does not begin with <!DOCTYPE NETSCAPE-Bookmark-file-1>)"},
        {makeFile(QStringLiteral("cut.html"), kHead + "<DL><DT><A HREF=\"http://new.example/\">New</A><DT><A HREF=\"http://cut"),
         "the file ends inside a tag"},
    };
    for (const auto& [source, reason] : cases) {
        FavoritesImportJob job(source, favorites);
        job.run();
        EXPECT_FALSE(job.succeeded()) << source.toStdString();
        EXPECT_EQ(job.errorString(), QStringLiteral("Cannot import %1: %2.").arg(source, QLatin1String(reason)));
        EXPECT_EQ(listing(favorites), QStringList{"Kept.url -> http://kept.example/"}) << source.toStdString();
    }
}

TEST_F(FavoritesExchangeTest, AnExportImportsBackAsTheSameFavorites)
{
    shortcut(QStringLiteral("Alpha & <Beta>.url"), "https://ab.example/?x=1&y=2");
    shortcut(QStringLiteral("Work/Wiki.url"), "http://wiki.example/");
    shortcut(QStringLiteral("Work/Deeper/Docs.url"), "file:///usr/share/doc/index.html");
    makeFolder(QStringLiteral("Favorites/Empty"));
    shortcut(QStringLiteral("no address.url"), "");
    makeFile(QStringLiteral("Favorites/saved page.html"), "<p>saved</p>");
    ASSERT_EQ(::symlink(favorites.toUtf8().constData(), (favorites + QStringLiteral("/Work/Loop")).toUtf8().constData()), 0);
    const QString wiki = favorites + QStringLiteral("/Work/Wiki.url");
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1500000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, wiki.toUtf8().constData(), times, 0), 0);
    const QString target = makeFile(QStringLiteral("out/bookmarks.html"), "an older export");

    FavoritesExportJob job(favorites, target);
    job.run();
    ASSERT_TRUE(job.succeeded()) << job.errorString().toStdString();
    EXPECT_EQ(job.summary(), QStringLiteral("Exported 4 favorites to %1.").arg(target));
    EXPECT_EQ(LocalFiles::entryNames(home().root() + QStringLiteral("/out")), QStringList{"bookmarks.html"});

    // The linked folder is listed but not entered, the shortcut without an address is left out.
    const QString copy = makeFolder(QStringLiteral("Copy"));
    FavoritesImportJob back(target, copy);
    back.run();
    ASSERT_TRUE(back.succeeded()) << back.errorString().toStdString();
    EXPECT_EQ(listing(copy), (QStringList{"Alpha & <Beta>.url -> https://ab.example/?x=1&y=2", "Empty/", "Work/", "Work/Deeper/",
                                          "Work/Deeper/Docs.url -> file:///usr/share/doc/index.html", "Work/Loop/",
                                          "Work/Wiki.url -> http://wiki.example/",
                                          "saved page.html.url -> file://" + favorites + "/saved%20page.html"}));
    EXPECT_EQ(modified(copy + QStringLiteral("/Work/Wiki.url")), 1500000000);
}

TEST_F(FavoritesExchangeTest, AnExportThatCannotBeWrittenSaysWhereAndReplacesOnlyAFile)
{
    shortcut(QStringLiteral("Kept.url"), "http://kept.example/");
    const QString blocker = makeFile(QStringLiteral("not a folder"), "x");
    const QString pipe = home().root() + QStringLiteral("/pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const std::pair<QString, QString> cases[] = {
        {blocker + QStringLiteral("/bookmarks.html"), QStringLiteral("cannot create the folder %1.").arg(blocker)},
        {pipe, QStringLiteral("it is not a file.")},
        {favorites, QStringLiteral("it is not a file.")},
    };
    for (const auto& [target, reason] : cases) {
        FavoritesExportJob job(favorites, target);
        job.run();
        EXPECT_EQ(job.errorString(), QStringLiteral("Cannot export to %1: %2").arg(target, reason));
    }
    EXPECT_TRUE(LocalFiles::isFile(blocker));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
