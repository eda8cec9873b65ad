// The bookmark exchange file: what real exports look like, the loose markup they use, the
// files refused as a whole, and the writer's output read back.
#include "internet/BookmarkFile.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QByteArray kHead = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n";

BookmarkNode entry(const char* title, const char* address, qint64 added = 0)
{
    return {QString::fromUtf8(title), QString::fromUtf8(address), added, false, {}};
}

BookmarkNode folder(const char* title, std::vector<BookmarkNode> children, qint64 added = 0)
{
    return {QString::fromUtf8(title), QString(), added, true, std::move(children)};
}

// The tree as one line per entry, indented by depth, for one readable comparison.
QStringList outline(const BookmarkNode& node, int depth = 0)
{
    QStringList lines;
    for (const BookmarkNode& child : node.children) {
        QString line = QString(depth * 2, QLatin1Char(' ')) + (child.isFolder ? QStringLiteral("[") + child.title + QStringLiteral("]")
                                                                             : child.title + QStringLiteral(" -> ") + child.address);
        if (child.added > 0)
            line += QStringLiteral(" @") + QString::number(child.added);
        lines << line;
        lines << outline(child, depth + 1);
    }
    return lines;
}

} // namespace

TEST(BookmarkFile, ReadsTheExportsOfDesktopBrowsers)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList expected;
    } cases[] = {
        {"upper-case export with toolbar folder, icons and descriptions",
         kHead
             + "<!-- This is an automatically generated file.\n     DO NOT EDIT! -->\n"
               "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n"
               "<H1>Bookmarks Menu</H1>\n\n<DL><p>\n"
               "    <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000001\" PERSONAL_TOOLBAR_FOLDER=\"true\">Toolbar</H3>\n"
               "    <DL><p>\n"
               "        <DT><A HREF=\"https://news.example/\" ADD_DATE=\"1600000100\" ICON=\"data:image/png;base64,iVBOR>w0K\">News</A>\n"
               "        <DD>The daily paper\n"
               "        <DT><H3>Empty</H3>\n"
               "        <DL><p>\n        </DL><p>\n"
               "    </DL><p>\n"
               "    <DT><A HREF=\"http://a.example/x?q=1&amp;r=2\" LAST_CHARSET=\"UTF-8\">Tom &amp; Jerry &lt;3 &#39;s &#x27;q&#X27;</A>\n"
               "</DL><p>\n",
         {"[Toolbar] @1600000000", "  News -> https://news.example/ @1600000100", "  [Empty]",
          "Tom & Jerry <3 's 'q' -> http://a.example/x?q=1&r=2"}},
        {"lower case, attributes in another order, single quotes and bare values",
         "<!doctype netscape-bookmark-file-1>\n<dl><p>\n"
         "<dt><h3 add_date=1500000000>Work</h3>\n<dl>\n"
         "<dt><a add_date='1500000001' href='https://w.example/a b'>Wiki</a>\n"
         "<dt><a Icon_Uri=\"x\" HrEf=https://w.example/bare>Bare</a>\n"
         "</dl>\n</dl>\n",
         {"[Work] @1500000000", "  Wiki -> https://w.example/a b @1500000001", "  Bare -> https://w.example/bare"}},
        {"closing tags left out, the file ends inside its lists",
         kHead + "<DL><p>\n<DT><H3>Outer\n<DL><p>\n<DT><A HREF=\"http://1.example/\">One\n<DT><A HREF=\"http://2.example/\">Two\n"
                 "<DT><H3>Inner</H3>\n<DL><DT><A HREF=\"http://3.example/\">Three",
         {"[Outer]", "  One -> http://1.example/", "  Two -> http://2.example/", "  [Inner]", "    Three -> http://3.example/"}},
        {"a folder without a list, anchors without an address, stray and unknown references",
         kHead + "<DL><DT><H3>Lone</H3>\n<DT><A NAME=\"top\">Anchor</A>\n<DT><A HREF=\"\">Nothing</A>\n"
                 "<DT><A HREF=\"http://e.example/\">a & b &bogus; &#0; &#xD800; &#1114112; &amp</A>\n"
                 "<DT><A HREF=\"http://f.example/\">  spread\n   over\tlines&nbsp;</A>\n</DL>",
         {"[Lone]", "a & b &bogus; &#0; &#xD800; &#1114112; &amp -> http://e.example/", "spread over lines -> http://f.example/"}},
        {"a byte order mark, a comment before the doctype, inline markup in a title",
         "\xEF\xBB\xBF<!-- saved -->\n" + kHead + "<DL><DT><A HREF=\"http://g.example/\"><B>Bold</B> title</A></DL>",
         {"Bold title -> http://g.example/"}},
        {"an older export in a one-byte code page",
         kHead + "<DL><DT><A HREF=\"http://h.example/\">caf\xE9 \xFC" "ber</A></DL>", {QString::fromUtf8("café über -> http://h.example/")}},
    };
    for (const Case& c : cases) {
        const Result<BookmarkNode> tree = BookmarkFile::parse(c.bytes);
        ASSERT_TRUE(tree) << c.name << ": " << tree.errorString().toStdString();
        EXPECT_EQ(outline(*tree), c.expected) << c.name;
    }
}

TEST(BookmarkFile, RefusesWhatIsNoBookmarkFileOrIsCutOff)
{
    QByteArray deep = kHead + "<DL>";
    for (int level = 0; level <= BookmarkFile::kMaxDepth; ++level)
        deep += "<DT><H3>f</H3><DL>";
    QByteArray crowded = kHead + "<DL>";
    for (qsizetype entry = 0; entry <= BookmarkFile::kMaxEntries; ++entry)
        crowded += "<DT><A HREF=\"http://x/\">x</A>";
    const std::pair<QByteArray, const char*> cases[] = {
        {"", "it is not a bookmark file (it does not begin with <!DOCTYPE NETSCAPE-Bookmark-file-1>)"},
        {"<html><body><a href=\"http://a/\">a</a></body></html>",
         "it is not a bookmark file (it does not begin with <!DOCTYPE NETSCAPE-Bookmark-file-1>)"},
        {"<!DOCTYPE html>\n<DL><DT><A HREF=\"http://a/\">a</A></DL>",
         "it is not a bookmark file (it does not begin with <!DOCTYPE NETSCAPE-Bookmark-file-1>)"},
        {"<!-- never closed " + kHead, "it is not a bookmark file (it does not begin with <!DOCTYPE NETSCAPE-Bookmark-file-1>)"},
        {kHead + "<DL><DT><A HREF=\"http://a.example/", "the file ends inside a tag"},
        {kHead + "<DL><DT><A HREF=http://a.example/", "the file ends inside a tag"},
        {kHead + "<DL><!-- note", "the file ends inside a comment"},
        {deep, "its folders are nested more than 64 deep"},
        {crowded, "it holds more than 100000 entries"},
    };
    for (const auto& [bytes, reason] : cases) {
        const Result<BookmarkNode> tree = BookmarkFile::parse(bytes);
        EXPECT_FALSE(tree) << bytes.left(60).constData();
        EXPECT_EQ(tree.errorString(), QLatin1String(reason)) << bytes.left(60).constData();
    }
}

TEST(BookmarkFile, WritesWhatItReadsBack)
{
    BookmarkNode root = folder("Favorites",
                               {folder("News & <Views>", {entry("Paper \"daily\"", "https://p.example/?a=1&b=\"2\"", 1700000000)},
                                       1690000000),
                                folder("Empty", {}),
                                folder("L1", {folder("L2", {folder("L3", {entry("deep", "file:///tmp/page.html")})})}),
                                entry("Caf\xC3\xA9 \xF0\x9F\x98\x80 &amp;", "http://c.example/")});
    const QByteArray bytes = BookmarkFile::write(root);
    EXPECT_TRUE(bytes.startsWith(kHead)) << bytes.constData();
    EXPECT_TRUE(bytes.contains("<DT><H3 ADD_DATE=\"1690000000\">News &amp; &lt;Views&gt;</H3>")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("<DT><A HREF=\"https://p.example/?a=1&amp;b=&quot;2&quot;\" ADD_DATE=\"1700000000\">Paper \"daily\"</A>"))
        << bytes.constData();
    const Result<BookmarkNode> read = BookmarkFile::parse(bytes);
    ASSERT_TRUE(read) << read.errorString().toStdString();
    EXPECT_EQ(outline(*read), outline(root));
    EXPECT_TRUE(*read == root);
}
