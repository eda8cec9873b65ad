// Sort orders of the file list: the column decides within files and within folders, files
// always come first, the parent entry before everything, and dates sort by the time.
#include "QtPrinters.h"
#include "browse/FileFormat.h"
#include "browse/FileSorter.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TFileInfo item(const char* name, ItemKind kind, int64_t size, int64_t seconds, uint32_t attributes,
               const char* type = "")
{
    TFileInfo info;
    info.Name = QString::fromUtf8(name);
    info.kind = kind;
    info.Size = size;
    info.hasTime = seconds >= 0;
    info.mtimeSeconds = seconds;
    info.Attributes = attributes;
    info.TypeName = QString::fromUtf8(type);
    return info;
}

std::vector<TFileInfo> sample()
{
    using K = ItemKind;
    return {
        item("zeta.txt", K::File, 10, 300, 0x20, "Text"),
        item("Beta", K::Folder, 0, 100, 0x10, "Folder"),
        item("alpha.c", K::File, 30, 100, 0x21, "C source"),
        item("..", K::Parent, 0, -1, 0x10),
        item("Omega.txt", K::File, 20, 200, 0x22, "Text"),
        item("delta", K::Folder, 0, 50, 0x12, "Folder"),
        item("Ärger.doc", K::File, 5, -1, 0x20, "Document"),
    };
}

QStringList order(int column, bool ascending)
{
    std::vector<TFileInfo> items = sample();
    FileSorter::sort(items, column, ascending);
    QStringList names;
    for (const TFileInfo& info : items)
        names << info.Name.toString();
    return names;
}

TEST(SortTest, ColumnsAndDirectionsKeepFilesBeforeFoldersAndParentFirst)
{
    // Names compare by the user's locale: "Ärger" sorts among the a's in English.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    struct Case {
        int column;
        bool ascending;
        QStringList expected;
    } cases[] = {
        {FileSorter::NameColumn, true, {"..", "alpha.c", "Ärger.doc", "Omega.txt", "zeta.txt", "Beta", "delta"}},
        {FileSorter::NameColumn, false, {"..", "zeta.txt", "Omega.txt", "Ärger.doc", "alpha.c", "delta", "Beta"}},
        {FileSorter::SizeColumn, true, {"..", "Ärger.doc", "zeta.txt", "Omega.txt", "alpha.c", "Beta", "delta"}},
        {FileSorter::SizeColumn, false, {"..", "alpha.c", "Omega.txt", "zeta.txt", "Ärger.doc", "delta", "Beta"}},
        {FileSorter::TypeColumn, true, {"..", "alpha.c", "Ärger.doc", "Omega.txt", "zeta.txt", "Beta", "delta"}},
        // An entry without a time sorts first when ascending.
        {FileSorter::DateColumn, true, {"..", "Ärger.doc", "alpha.c", "Omega.txt", "zeta.txt", "delta", "Beta"}},
        {FileSorter::DateColumn, false, {"..", "zeta.txt", "Omega.txt", "alpha.c", "Ärger.doc", "Beta", "delta"}},
        // Equal keys fall back to the names' code points.
        {FileSorter::AttrColumn, true, {"..", "zeta.txt", "Ärger.doc", "Omega.txt", "alpha.c", "Beta", "delta"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(order(c.column, c.ascending), c.expected) << "column " << c.column << (c.ascending ? " asc" : " desc");
    QLocale::setDefault(saved);
}

TEST(SortTest, DatesSortByTheTimeWhereTheirKeysWouldSortWrongAsText)
{
    // 1,700,526,400 s is exactly 1.3345E17 units since 1601; 94,400 s later the key is
    // 1.33450944E17, which as text sorts before the earlier key.
    std::vector<TFileInfo> items{item("later", ItemKind::File, 0, 1700620800, 0x20),
                                 item("earlier", ItemKind::File, 0, 1700526400, 0x20)};
    const QLocale c = QLocale::c();
    const QString laterKey = FileFormat::dateKey(items[0].mtimeSeconds, items[0].mtimeNanoseconds, c);
    const QString earlierKey = FileFormat::dateKey(items[1].mtimeSeconds, items[1].mtimeNanoseconds, c);
    ASSERT_EQ(earlierKey, "1.3345E17");
    ASSERT_EQ(laterKey, "1.33450944E17");
    ASSERT_LT(laterKey, earlierKey);
    FileSorter::sort(items, FileSorter::DateColumn, true);
    EXPECT_EQ(items[0].Name.toString(), "earlier");
    EXPECT_EQ(items[1].Name.toString(), "later");
}

} // namespace
