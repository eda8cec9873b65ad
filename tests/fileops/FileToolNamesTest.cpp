// The names the renaming tools build, the ".hidden" edits and the menu captions: pure text,
// as case tables.
#include "fileops/tools/FileToolCaptions.h"
#include "fileops/tools/FileToolNames.h"
#include "fileops/tools/HiddenFile.h"

#include <gtest/gtest.h>

namespace {

using namespace FileToolNames;

TEST(FileToolNamesTest, StemAndExtension)
{
    const struct {
        const char* name;
        const char* stem;
        const char* ext;
    } cases[] = {
        {"a.txt", "a", ".txt"},     {"a.tar.gz", "a.tar", ".gz"}, {"README", "README", ""},
        {".bashrc", ".bashrc", ""}, {"..x", "..x", ""},           {".config.old", ".config", ".old"},
        {"file.", "file", "."},     {"...", "...", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SplitName parts = split(QString::fromUtf8(c.name));
        EXPECT_EQ(parts.stem, QString::fromUtf8(c.stem));
        EXPECT_EQ(parts.ext, QString::fromUtf8(c.ext));
    }
}

TEST(FileToolNamesTest, NewNames)
{
    EXPECT_EQ(changedExtension(QStringLiteral("a.txt"), QStringLiteral("bak")), QStringLiteral("a.bak"));
    EXPECT_EQ(changedExtension(QStringLiteral("noext"), QStringLiteral("bak")), QStringLiteral("noext.bak"));
    EXPECT_EQ(changedExtension(QStringLiteral("a.txt"), QStringLiteral(".bak")), QStringLiteral("a..bak"));
    EXPECT_EQ(changedExtension(QStringLiteral(".bashrc"), QStringLiteral("old")), QStringLiteral(".bashrc.old"));
    EXPECT_EQ(appended(QStringLiteral("report.doc"), QString(), QStringLiteral("_old")), QStringLiteral("report_old.doc"));
    EXPECT_EQ(appended(QStringLiteral("report.doc"), QStringLiteral("x-"), QStringLiteral("-y")), QStringLiteral("x-report-y.doc"));
    EXPECT_EQ(numbered(QStringLiteral("a.jpg"), 7), QStringLiteral("000007.jpg"));
    EXPECT_EQ(numbered(QStringLiteral("a"), 1234567), QStringLiteral("1234567"));
    EXPECT_EQ(searchReplaced(QStringLiteral("img_001.jpg"), QStringLiteral("IMG"), QStringLiteral("X")), QStringLiteral("img_001.jpg"));
    EXPECT_EQ(searchReplaced(QStringLiteral("IMG_IMG.IMG"), QStringLiteral("IMG"), QStringLiteral("X")), QStringLiteral("X_X.IMG"));
    EXPECT_EQ(searchReplaced(QStringLiteral("abc.txt"), QString(), QStringLiteral("X")), QStringLiteral("abc.txt"));
}

TEST(FileToolNamesTest, FirstNumberAndSingleNames)
{
    EXPECT_EQ(firstNumber(QStringLiteral(" 000007 ")), 7);
    EXPECT_EQ(firstNumber(QStringLiteral("1234567")), 1234567);
    for (const char* bad : {"", "  ", "-1", "7a", "1e3", "99999999999999999999"})
        EXPECT_FALSE(firstNumber(QString::fromUtf8(bad)).has_value()) << bad;
    for (const char* bad : {"", ".", "..", "a/b", "../x"})
        EXPECT_FALSE(isSingleName(QString::fromUtf8(bad))) << bad;
    EXPECT_FALSE(isSingleName(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
    EXPECT_TRUE(isSingleName(QStringLiteral("...")));
}

TEST(HiddenFileTest, Edits)
{
    const struct {
        const char* content;
        const char* name;
        bool listed;
        const char* expected;
    } cases[] = {
        {"", "a", true, "a\n"},
        {"x\n", "a", true, "x\na\n"},
        {"x", "a", true, "x\na\n"},             // a last line without its break keeps it
        {"x\na\n", "a", true, "x\na\n"},        // listed already: unchanged
        {"x\na\r\ny\n", "a", false, "x\ny\n"},  // a line written on Windows names it too
        {"a\nx\na\n", "a", false, "x\n"},
        {"a\n", "a", false, ""},
        {"x\n", "a", false, "x\n"},
        {"ab\n", "a", false, "ab\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.content) + " / " + c.name);
        EXPECT_EQ(HiddenFile::edited(c.content, c.name, c.listed), QByteArray(c.expected));
    }
}

TEST(FileToolCaptionsTest, ThreeForms)
{
    using FileToolCaptions::caption;
    using Item = FileToolCaptions::Item;
    const struct {
        Item item;
        int n;
        const char* expected;
    } cases[] = {
        {Item::ChangeExtension, 0, "Change extension  [no files selected]"},
        {Item::ChangeExtension, 1, "Change extension on (1) selected file"},
        {Item::ChangeExtension, 12, "Change extension on (12) files"},
        {Item::MakeNumbered, 0, "Make numbered files from   [no files selected]"},
        {Item::Append, 3, "Append (3) files"},
        {Item::SearchReplace, 1, "Search + Replace (1) file"},
        {Item::Attributes, 0, "Change File Attributes/DateTime   [no files selected]"},
        {Item::SaveToClipboard, 0, "Save link to clipboard"},
        {Item::PopupSaveToClipboard, 0, "Save path link to clipboard"},
        {Item::SaveToTextFile, 2, "Save (2) path/file link to text file"},
        {Item::PopupSaveToTextFile, 2, "Save (2) path/file to text file"},
        {Item::PopupSaveToTextFile, 0, "Save path/file to text file  [no files selected]"},
        {Item::ShortcutIn, 0, "Make shortcut /home/u/ in..."},
        {Item::ShortcutToDesktop, 5, "Make shortcut to (5) files on Desktop"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(caption(c.item, c.n, QStringLiteral("/home/u/")), QString::fromUtf8(c.expected));
    EXPECT_EQ(FileToolCaptions::shortcutPickerTitle(3, QStringLiteral("/d")), QStringLiteral("Make Shortcut for 3 selected in... "));
    EXPECT_EQ(FileToolCaptions::shortcutPickerTitle(0, QStringLiteral("/d")), QStringLiteral("Make Shortcut for /d in..."));
}

} // namespace
