// The listing engine on real folders: masks, the attribute filter with its Linux mapping,
// the parent entry and the row texts other readers rely on.
#include "QtPrinters.h"
#include "support/TempHome.h"

#include "browse/FileItemText.h"
#include "browse/FileListing.h"
#include "browse/FileTypeNames.h"
#include "browse/FolderReader.h"

#include <QFile>
#include <QSet>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

namespace {

class ListingTest : public TempHomeTest {
protected:
    QString folder() { return home().root() + QStringLiteral("/list/"); }

    QStringList names(const ListingOptions& options)
    {
        FileListing listing;
        EXPECT_TRUE(listing.listFolder(folder(), options));
        QStringList result;
        for (int row = 0; row < listing.count(); ++row)
            result << listing.at(row).Name.toString();
        result.sort();
        return result;
    }

    static ListingOptions everything()
    {
        ListingOptions options;
        options.showFolders = true;
        options.parentDirEnabled = false;
        return options;
    }
};

TEST_F(ListingTest, MasksSelectFilesIgnoringCaseAndListEachFileOnce)
{
    for (const char* name : {"a.txt", "B.TXT", "c.tmp", "d.c", "e.cpp", "noext", "f.txt.bak"})
        makeFile(QStringLiteral("list/") + QLatin1String(name));
    makeFolder(QStringLiteral("list/sub.txt"));
    struct Case {
        const char* mask;
        QStringList expected;
    } cases[] = {
        {"*.txt;*.c", {"B.TXT", "a.txt", "d.c"}},
        {"*.TXT", {"B.TXT", "a.txt"}},
        {"  *.txt  ", {"B.TXT", "a.txt"}},
        // Overlapping parts: every file still once.
        {"*.txt;*.t*", {"B.TXT", "a.txt", "c.tmp", "f.txt.bak"}},
        {"", {"B.TXT", "a.txt", "c.tmp", "d.c", "e.cpp", "f.txt.bak", "noext"}},
        {"*.*", {"B.TXT", "a.txt", "c.tmp", "d.c", "e.cpp", "f.txt.bak", "noext"}},
        {"?.c*", {"d.c", "e.cpp"}},
        {"*.txt;", {"B.TXT", "a.txt"}},
        {"nothing*", {}},
    };
    for (const Case& c : cases) {
        ListingOptions options;
        options.mask = QString::fromLatin1(c.mask);
        EXPECT_EQ(names(options), c.expected) << "mask " << c.mask;
    }
    // Folders are listed by the folder switch, never by the mask.
    ListingOptions withFolders = everything();
    withFolders.mask = QStringLiteral("*.c");
    EXPECT_EQ(names(withFolders), (QStringList{"d.c", "sub.txt"}));
}

TEST_F(ListingTest, AttributeFilterFollowsTheLinuxMapping)
{
    makeFile(QStringLiteral("list/plain"));
    makeFile(QStringLiteral("list/.dotfile"));
    makeFile(QStringLiteral("list/listed"));
    makeFile(QStringLiteral("list/.hidden"), "listed\r\nsecret-dir\n\n");
    makeFolder(QStringLiteral("list/secret-dir"));
    const QString readOnly = makeFile(QStringLiteral("list/readonly"));
    ::chmod(QFile::encodeName(readOnly).constData(), 0444);
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder() + QStringLiteral("pipe")).constData(), 0644), 0);
    const bool haveDevice = ::mknod(QFile::encodeName(folder() + QStringLiteral("null")).constData(),
                                    S_IFCHR | 0644, makedev(1, 3)) == 0;
    const QString samba = makeFile(QStringLiteral("list/samba"));
    const bool haveXattr = ::setxattr(QFile::encodeName(samba).constData(), "user.DOSATTRIB", "0x6", 3, 0) == 0;

    FileListing listing;
    ListingOptions all = everything();
    ASSERT_TRUE(listing.listFolder(folder(), all));
    QMap<QString, QString> letters;
    for (int row = 0; row < listing.count(); ++row)
        letters[listing.at(row).Name.toString()] = FileAttributes::letters(listing.at(row).Attributes);
    EXPECT_EQ(letters.value("plain"), "A");
    EXPECT_EQ(letters.value(".dotfile"), "AH");
    EXPECT_EQ(letters.value("listed"), "AH");
    EXPECT_EQ(letters.value("secret-dir"), "H");
    EXPECT_EQ(letters.value("readonly"), "AR");
    EXPECT_EQ(letters.value("pipe"), "S");
    if (haveDevice)
        EXPECT_EQ(letters.value("null"), "S");
    if (haveXattr)
        EXPECT_EQ(letters.value("samba"), "HS") << "the stored archive bit is clear";
    // One entry asked alone reads as the listing read it (the tree's nodes and the
    // confirmation dialog ask so).
    for (int row = 0; row < listing.count(); ++row) {
        const TFileInfo& entry = listing.at(row);
        EXPECT_EQ(FolderReader::entryAttributes(folder() + entry.Name.toString()), std::optional<uint32_t>(entry.Attributes))
            << entry.Name.toString().toStdString();
    }
    EXPECT_EQ(FolderReader::entryAttributes(folder() + QStringLiteral("missing")), std::nullopt);
    EXPECT_EQ(FolderReader::entryAttributes(folder(), QStringLiteral("..")), std::nullopt);

    // Without hidden and system allowed, those entries go; read-only needs its own allowance.
    ListingOptions plainOnly = everything();
    plainOnly.fileType = TFileAttr::ftArchive | TFileAttr::ftNormal;
    EXPECT_EQ(names(plainOnly), (QStringList{"plain"}));
    plainOnly.fileType |= TFileAttr::ftReadOnly;
    EXPECT_EQ(names(plainOnly), (QStringList{"plain", "readonly"}));
}

TEST_F(ListingTest, ParentEntryAndFolderRows)
{
    makeFile(QStringLiteral("list/file.txt"), QByteArray(1500, 'x'));
    makeFolder(QStringLiteral("list/sub"));
    ListingOptions options = everything();
    options.parentDirEnabled = true;
    FileListing listing;
    ASSERT_TRUE(listing.listFolder(folder(), options));
    listing.sort(0, true, FileTypeNames::instance());
    ASSERT_EQ(listing.count(), 3);
    FileItemText text(QLocale(QLocale::English, QLocale::UnitedStates));
    text.setParentDirCaption(QStringLiteral("Up  "));
    text.setFileSize(TFileSize::fsKB);
    auto row = [&](int r) {
        QStringList cells{text.caption(listing, r)};
        for (int i = 0; i < FileItemText::subItemCount; ++i)
            cells << text.subItem(listing, r, i, FileTypeNames::instance());
        return cells;
    };
    const QStringList parent = row(0);
    EXPECT_EQ(parent.mid(0, 5), (QStringList{" Up", " ", " ", " ", " "}));
    EXPECT_EQ(parent[5], folder() + "..");
    EXPECT_EQ(parent[6], "dir");
    const QStringList file = row(1);
    EXPECT_EQ(file[0], "file.txt");
    EXPECT_EQ(file[1], "1 KB");
    EXPECT_FALSE(file[2].trimmed().isEmpty()) << "type name";
    EXPECT_FALSE(file[3].isEmpty()) << "date";
    EXPECT_EQ(file[4], "A");
    EXPECT_EQ(file[5], folder() + "file.txt");
    EXPECT_EQ(file[6], "file");
    EXPECT_TRUE(file[7].contains(QLatin1String("E17"))) << file[7].toStdString();
    const QStringList sub = row(2);
    EXPECT_EQ(sub[1], " ");
    EXPECT_EQ(sub[6], "dir");
    EXPECT_TRUE(listing.at(1).IconFetched == false) << "icons are the view's to fetch";

    text.setHideFileExt(true);
    EXPECT_EQ(text.caption(listing, 1), "file");
    EXPECT_EQ(text.caption(listing, 2), "sub");
}

TEST_F(ListingTest, SizesBeyondFourGigabytes)
{
    QFile big(makeFile(QStringLiteral("list/big.iso")));
    ASSERT_TRUE(big.resize(4294967296)); // sparse: no disk space used
    FileListing listing;
    ASSERT_TRUE(listing.listFolder(folder(), everything()));
    ASSERT_EQ(listing.count(), 1);
    EXPECT_EQ(listing.at(0).Size, 4294967296);
    FileItemText text;
    text.setFileSize(TFileSize::fsKB);
    EXPECT_EQ(text.subItem(listing, 0, 0, FileTypeNames::instance()), "4194304 KB");
    text.setFileSize(TFileSize::fsByte);
    EXPECT_EQ(text.subItem(listing, 0, 0, FileTypeNames::instance()), "4294967296");
}

TEST_F(ListingTest, FolderThatCannotBeReadGivesAnEmptyTable)
{
    const QString notAFolder = makeFile(QStringLiteral("plainfile"));
    FileListing listing;
    EXPECT_FALSE(listing.listFolder(notAFolder + QStringLiteral("/inside"), everything()));
    EXPECT_EQ(listing.count(), 0);
    EXPECT_FALSE(listing.listFolder(home().root() + QStringLiteral("/missing"), everything()));
    EXPECT_EQ(listing.count(), 0);
}

TEST_F(ListingTest, ProgressReportsEveryEntryAndCanAbandonTheListing)
{
    for (int i = 0; i < 20; ++i)
        makeFile(QStringLiteral("list/f%1.txt").arg(i));
    makeFile(QStringLiteral("list/.dot"));
    ListingOptions options = everything();
    options.fileType = TFileAttr::ftArchive;
    QStringList seen;
    int lastCount = -1;
    FileListing listing;
    ASSERT_TRUE(listing.listFolder(folder(), options, [&](int count, const QString& name) {
        seen << name;
        lastCount = count;
        return true;
    }));
    EXPECT_EQ(seen.size(), 21) << "filtered entries are reported too";
    EXPECT_EQ(lastCount, 20);
    EXPECT_FALSE(seen.contains(".")) ;
    EXPECT_FALSE(seen.contains(".."));

    int calls = 0;
    EXPECT_FALSE(listing.listFolder(folder(), options, [&](int, const QString&) { return ++calls < 5; }));
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(listing.count(), 0);
}

} // namespace

// A table keeps its names in one arena; a record copied, moved or swapped out of it owns its
// name and keeps it after the table is gone, whatever the name's length or characters.
TEST(RowNameTest, NamesLeaveTheTableWithTheirText)
{
    const QString names[] = {
        QString(),
        QStringLiteral("a"),
        QString(255, QLatin1Char('n')),
        QStringLiteral("Gr\u00FC\u00DFe \u65E5\u672C \U0001F600.txt"),
    };
    std::vector<TFileInfo> copies, moved;
    {
        FileListing listing;
        for (const QString& name : names) {
            TFileInfo item;
            item.Name = name;
            listing.append(std::move(item));
        }
        for (int row = 0; row < listing.count(); ++row) {
            copies.push_back(listing.at(row));
            moved.push_back(std::move(listing.at(row)));
        }
        std::swap(listing.record(0), listing.record(1));
        EXPECT_EQ(listing.record(0).Name.toString(), names[1]);
        EXPECT_EQ(listing.record(1).Name.toString(), names[0]);
        listing.clear();
    }
    for (size_t i = 0; i < std::size(names); ++i) {
        EXPECT_EQ(copies[i].Name.toString(), names[i]) << i;
        EXPECT_EQ(moved[i].Name.toString(), names[i]) << i;
        EXPECT_EQ(moved[i].Name.size(), names[i].size()) << i;
    }
    // Many names spill over the arena's blocks without moving the earlier ones.
    FileListing big;
    for (int i = 0; i < 20000; ++i) {
        TFileInfo item;
        item.Name = QStringLiteral("entry%1.dat").arg(i, 7, 10, QLatin1Char('0'));
        big.append(std::move(item));
    }
    EXPECT_EQ(big.at(0).Name.toString(), QStringLiteral("entry0000000.dat"));
    EXPECT_EQ(big.at(19999).Name.toString(), QStringLiteral("entry0019999.dat"));
}
