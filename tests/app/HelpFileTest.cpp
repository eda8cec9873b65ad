// The user's help: help/fvhelp.html shipped in the program folder, readable as XHTML with no
// script and nothing from outside, a heading for every top menu and a row for every key of
// the file list; Help and F1 ask the desktop to open exactly that file.
//
// This test program is built into the program folder, so the window looks the help up
// exactly where the program does.
#include "app/FolvaneApplication.h"
#include "app/TFormMainFolvane3.h"
#include "browse/TFileViewShortCuts.h"
#include "tests/app/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include <functional>
#include <utility>

namespace {

QString shippedHelp()
{
    return qEnvironmentVariable("FOLVANE_BIN_DIR") + QStringLiteral("/help/fvhelp.html");
}

// What a reader of the help file sees: its title, its headings, the keys named in its key
// table and every link and picture it points to.
struct HelpDocument {
    QString error;
    QString title;
    QStringList headings;
    QStringList keys; // the kbd texts of the table with id "keys"
    QStringList ids;
    QStringList references; // href and src values
    int scripts = 0; // script elements and event-handler attributes
};

bool isHeading(QStringView name)
{
    return name.size() == 2 && name[0] == QLatin1Char('h') && name[1] >= QLatin1Char('1') && name[1] <= QLatin1Char('6');
}

void noteElement(HelpDocument& doc, const QXmlStreamReader& xml)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringView name = attribute.name();
        if (name == QStringLiteral("id"))
            doc.ids << attribute.value().toString();
        if (name == QStringLiteral("href") || name == QStringLiteral("src"))
            doc.references << attribute.value().toString();
        if (name.startsWith(QStringLiteral("on")))
            ++doc.scripts;
    }
    if (xml.name() == QStringLiteral("script"))
        ++doc.scripts;
}

// Reads on to the end of the key table, collecting the keys it names.
void readKeyTable(HelpDocument& doc, QXmlStreamReader& xml)
{
    while (!xml.atEnd() && !(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == QStringLiteral("table"))) {
        if (!xml.isStartElement())
            continue;
        noteElement(doc, xml);
        if (xml.name() == QStringLiteral("kbd"))
            doc.keys << xml.readElementText().simplified();
    }
}

HelpDocument readHelp(const QString& path)
{
    HelpDocument doc;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        doc.error = file.errorString();
        return doc;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        noteElement(doc, xml);
        const QStringView name = xml.name();
        if (name == QStringLiteral("title"))
            doc.title = xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
        else if (isHeading(name))
            doc.headings << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
        else if (name == QStringLiteral("table") && xml.attributes().value(QStringLiteral("id")) == QStringLiteral("keys"))
            readKeyTable(doc, xml);
    }
    if (xml.hasError())
        doc.error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return doc;
}

// Receives what the window asks the desktop to open.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

class HelpFileTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_opened, "open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        MainWindowFixture::TearDown();
    }

    // What the window asked to open since the last call, local files by their canonical path.
    QStringList takeOpenedFiles()
    {
        QStringList files;
        for (const QUrl& url : std::as_const(m_opened.urls))
            files << (url.isLocalFile() ? QFileInfo(url.toLocalFile()).canonicalFilePath() : url.toString());
        m_opened.urls.clear();
        return files;
    }

private:
    OpenedUrls m_opened;
};

TEST_F(HelpFileTest, IsShippedInTheProgramFolder)
{
    EXPECT_EQ(QDir(FolvaneApplication::ProgramFolder()).canonicalPath(),
              QDir(qEnvironmentVariable("FOLVANE_BIN_DIR")).canonicalPath());
    EXPECT_TRUE(QFileInfo(shippedHelp()).isFile()) << shippedHelp().toStdString();
}

TEST_F(HelpFileTest, IsWellFormedAndSelfContained)
{
    const HelpDocument doc = readHelp(shippedHelp());
    ASSERT_TRUE(doc.error.isEmpty()) << doc.error.toStdString();
    EXPECT_TRUE(doc.title.contains(QStringLiteral("FolVane III"))) << doc.title.toStdString();
    EXPECT_EQ(doc.scripts, 0);
    EXPECT_EQ(QSet<QString>(doc.ids.cbegin(), doc.ids.cend()).size(), doc.ids.size()) << "an id is used twice";
    const QDir helpFolder = QFileInfo(shippedHelp()).dir();
    for (const QString& reference : doc.references) {
        SCOPED_TRACE(reference.toStdString());
        const QUrl url(reference);
        if (reference.startsWith(QLatin1Char('#'))) {
            EXPECT_TRUE(doc.ids.contains(reference.mid(1)));
        } else {
            // Pictures and the style sheet are files beside the help, never from outside.
            EXPECT_TRUE(url.isRelative());
            EXPECT_TRUE(QFileInfo(helpFolder.filePath(url.path())).isFile());
        }
    }
}

TEST_F(HelpFileTest, HasAHeadingForEveryTopMenu)
{
    const HelpDocument doc = readHelp(shippedHelp());
    ASSERT_TRUE(doc.error.isEmpty()) << doc.error.toStdString();
    auto window = shown();
    const QList<QAction*> topMenus = window->controls().MainMenu1->actions();
    ASSERT_FALSE(topMenus.isEmpty());
    for (const QAction* menu : topMenus) {
        const QString caption = QString(menu->text()).remove(QLatin1Char('&'));
        EXPECT_TRUE(doc.headings.contains(caption) || doc.headings.contains(caption + QStringLiteral(" menu")))
            << caption.toStdString() << " has no heading";
    }
}

TEST_F(HelpFileTest, KeyTableNamesEveryKeyOfTheFileList)
{
    const HelpDocument doc = readHelp(shippedHelp());
    ASSERT_TRUE(doc.error.isEmpty()) << doc.error.toStdString();
    const TFileViewShortCuts keys;
    for (const QKeySequence& key : {keys.scCopy, keys.scCut, keys.scOpen, keys.scDelete, keys.scRename, keys.scNewFolder,
                                    keys.scPaste, keys.scBack, keys.scFindFile, keys.scRefresh, keys.scSelectAll}) {
        const QString text = key.toString(QKeySequence::PortableText);
        EXPECT_TRUE(doc.keys.contains(text)) << text.toStdString() << " is missing from the key table";
    }
}

TEST_F(HelpFileTest, HelpMenuAndF1OpenTheShippedFile)
{
    const QString expected = QFileInfo(shippedHelp()).canonicalFilePath();
    ASSERT_FALSE(expected.isEmpty()) << "no help file shipped";
    const struct {
        const char* how;
        std::function<void(TFormMainFolvane3&)> ask;
    } cases[] = {
        {"Help menu", [](TFormMainFolvane3& w) { w.controls().MenuHelpContents->trigger(); }},
        {"F1", [](TFormMainFolvane3& w) { QTest::keyClick(&w, Qt::Key_F1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        auto window = shown();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        c.ask(*window);
        EXPECT_EQ(takeOpenedFiles(), QStringList{expected});
    }
}

} // namespace

#include "HelpFileTest.moc"
