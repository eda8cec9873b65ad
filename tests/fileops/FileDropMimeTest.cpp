// The file list on the system clipboard as other Linux desktop programs write and read it:
// the gnome form (with its copy or cut line) and the uri-list, both ways, and the readers'
// handling of bytes that are not a proper list.
#include "FakePanes.h"

#include "fileops/FileDropMime.h"
#include "fileops/TransferCommands.h"

#include "support/TempHome.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace {

class FileDropMimeTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        QGuiApplication::clipboard()->clear();
    }
    FakePanes m_panes;
    FileClipboard m_clipboard;
    TransferCommands m_commands{m_panes, m_clipboard};
};

// What a file manager of the desktop puts on the clipboard for two files, one with a blank
// and one with a non-ASCII name, percent-encoded as they do.
QMimeData* otherProgramsCopy(const QByteArray& format, const QByteArray& bytes)
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(format), bytes);
    mime->setText(QStringLiteral("ignored"));
    return mime;
}

TEST_F(FileDropMimeTest, PastesFilesCopiedOrCutInOtherPrograms)
{
    const QString src = makeFolder(QStringLiteral("src"));
    struct Case {
        const char* what;
        const char* format;
        const char* head; // before the URLs
        const char* separator;
        const char* extraFormat; // a second format with its bytes, or nullptr
        const char* extraBytes;
        bool moves;
    };
    const Case cases[] = {
        {"gnome copy", "x-special/gnome-copied-files", "copy\n", "\n", nullptr, nullptr, false},
        {"gnome cut", "x-special/gnome-copied-files", "cut\n", "\n", nullptr, nullptr, true},
        {"uri-list with a comment", "text/uri-list", "# from a browser\r\n", "\r\n", nullptr, nullptr, false},
        {"uri-list with the KDE cut mark", "text/uri-list", "", "\r\n", "application/x-kde-cutselection", "1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        makeFile(QStringLiteral("src/with blank.txt"), "blank");
        makeFile(QStringLiteral("src/\u00e9t\u00e9.txt"), "summer");
        const QString target = makeFolder(QStringLiteral("target-") + QString::number(&c - cases));
        QByteArray bytes = c.head;
        bytes += "file://" + QByteArray(QUrl::toPercentEncoding(src, "/")) + "/with%20blank.txt" + c.separator;
        bytes += "file://" + QByteArray(QUrl::toPercentEncoding(src, "/")) + "/%C3%A9t%C3%A9.txt";
        QMimeData* mime = otherProgramsCopy(c.format, bytes);
        if (c.extraFormat)
            mime->setData(QLatin1String(c.extraFormat), c.extraBytes);
        QGuiApplication::clipboard()->setMimeData(mime);

        m_clipboard.clearListSource();
        m_clipboard.setMode(TransferMode::Move); // left from an earlier cut here: must not matter
        m_panes.showFolder(target);
        m_commands.pasteList();
        EXPECT_EQ(QDir(target).entryList(QDir::Files, QDir::Name),
                  (QStringList{QStringLiteral("with blank.txt"), QStringLiteral("\u00e9t\u00e9.txt")}));
        EXPECT_EQ(QFileInfo::exists(src + QStringLiteral("/with blank.txt")), !c.moves);
        EXPECT_TRUE(prompter().records().isEmpty());
    }
}

// Copy in the program, then read the clipboard's bytes as another program does: split the
// lines and decode each file URL by itself.
TEST_F(FileDropMimeTest, CopiedFilesReadBackInEveryForm)
{
    const QString folder = makeFolder(QStringLiteral("odd names"));
    const QString a = makeFile(QStringLiteral("odd names/a b#1%.txt"), "a");
    const QString b = makeFile(QStringLiteral("odd names/\u65e5\u672c.txt"), "b");
    m_panes.showFolder(folder);
    m_panes.select({QStringLiteral("a b#1%.txt"), QStringLiteral("\u65e5\u672c.txt")});
    m_commands.copyList(true); // a cut here is still offered to others as a copy

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray uriList = mime->data(QStringLiteral("text/uri-list"));
    EXPECT_TRUE(uriList.endsWith("\r\n"));
    QStringList fromUriList;
    for (const QByteArray& line : uriList.split('\n')) {
        if (!line.trimmed().isEmpty())
            fromUriList << QUrl::fromEncoded(line.trimmed()).toLocalFile();
    }
    EXPECT_EQ(fromUriList, (QStringList{a, b}));
    EXPECT_FALSE(uriList.contains(' ')); // encoded, as RFC 2483 asks

    const QList<QByteArray> gnome = mime->data(QStringLiteral("x-special/gnome-copied-files")).split('\n');
    ASSERT_EQ(gnome.size(), 3);
    EXPECT_EQ(gnome[0], "copy");
    EXPECT_EQ(QUrl::fromEncoded(gnome[1]).toLocalFile(), a);
    EXPECT_EQ(QUrl::fromEncoded(gnome[2]).toLocalFile(), b);
    EXPECT_FALSE(mime->hasFormat(QStringLiteral("application/x-kde-cutselection")));
    EXPECT_EQ(mime->text(), a + QLatin1Char('\n') + b);
    EXPECT_EQ(mime->urls(), (QList<QUrl>{QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)}));
}

TEST(FileDropMimeParse, TakesOnlyLocalFileUrls)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        QStringList paths;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"comments and blank lines", "# c\r\n\r\nfile:///a\r\n", {QStringLiteral("/a")}},
        {"no line end at the end", "file:///a\nfile:///b", {QStringLiteral("/a"), QStringLiteral("/b")}},
        {"web and relative URLs are not files", "http://x/y\r\nfile:relative\r\nsmb://h/s\r\n/plain/path\r\n", {}},
        {"host localhost is local", "file://localhost/etc/x\r\n", {QStringLiteral("/etc/x")}},
        {"another host is not", "file://server/share/x\r\n", {}},
        {"an encoded NUL is refused", "file:///a%00b\r\nfile:///ok\r\n", {QStringLiteral("/ok")}},
        {"a path longer than any path", "file:///" + QByteArray(5000, 'x') + "\r\nfile:///ok\r\n", {QStringLiteral("/ok")}},
        {"broken percent escapes", "file:///a%zz\r\nfile:///%\r\n", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileDropMime::parseUriList(c.bytes), c.paths) << c.what;

    EXPECT_TRUE(FileDropMime::parseGnomeCopiedFiles("paste\nfile:///a").paths.isEmpty());
    EXPECT_TRUE(FileDropMime::parseGnomeCopiedFiles("").paths.isEmpty());
    const FileDropList cut = FileDropMime::parseGnomeCopiedFiles("cut\r\nfile:///a\r\n");
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(cut.paths, QStringList{QStringLiteral("/a")});
}

} // namespace
