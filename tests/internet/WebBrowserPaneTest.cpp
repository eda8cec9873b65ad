// The web pane against a local server: the program's history and one request per
// navigation, frames kept out of the history, the address rules, local pages, and the
// question before a saved page replaces a file.
#include "WebPaneFixture.h"

#include "internet/WebProfileFolders.h"
#include "internet/ui/WebEngineModule.h"
#include "internet/ui/WebModuleLoader.h"

#include <QLineEdit>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

using WebBrowserPaneTest = WebPaneFixture;

TEST_F(WebBrowserPaneTest, KeepsItsOwnHistoryWithOneRequestPerNavigation)
{
    ASSERT_TRUE(open(QStringLiteral("/a.html")));
    ASSERT_TRUE(open(QStringLiteral("/b.html")));
    ASSERT_TRUE(open(QStringLiteral("/c.html")));
    EXPECT_TRUE(context->button(BandButton::BrowserBack)->isEnabled());
    EXPECT_FALSE(context->button(BandButton::BrowserForward)->isEnabled());
    ASSERT_TRUE(load([this] { pane->WebBackBtnClick(); }));
    EXPECT_TRUE(context->button(BandButton::BrowserForward)->isEnabled());
    ASSERT_TRUE(open(QStringLiteral("/d.html")));

    EXPECT_EQ(pane->history().entries(), (QStringList{url("/a.html"), url("/b.html"), url("/d.html")}));
    EXPECT_EQ(pane->history().index(), 2);
    EXPECT_EQ(server.log(), (QStringList{"/a.html", "/b.html", "/c.html", "/b.html", "/d.html"}));
    EXPECT_EQ(context->statusPanel(0)->text(), QStringLiteral("Done"));

    ASSERT_TRUE(load([this] { pane->WebBackBtnClick(); }));
    EXPECT_EQ(pane->history().index(), 1);
    EXPECT_EQ(addressBox->currentText(), url("/b.html"));
    QStringList dropDown;
    for (int i = 0; i < addressBox->count(); ++i)
        dropDown << addressBox->itemText(i);
    EXPECT_EQ(dropDown, (QStringList{url("/b.html"), url("/d.html"), url("/c.html"), url("/a.html")}));
    EXPECT_EQ(server.log().size(), 6);
}

TEST_F(WebBrowserPaneTest, LeavesFramesOutOfTheHistory)
{
    ASSERT_TRUE(open(QStringLiteral("/frames.html")));
    EXPECT_TRUE(QTest::qWaitFor([this] { return server.log().contains(QStringLiteral("/inner.html")); }, 10000));
    EXPECT_EQ(pane->history().entries(), QStringList{url("/frames.html")});
}

TEST_F(WebBrowserPaneTest, LoadsNothingThatFailsTheAddressRules)
{
    ASSERT_TRUE(open(QStringLiteral("/a.html")));
    for (const QString& address : {QStringLiteral("javascript:document.title='owned'"),
                                   QStringLiteral("javascript://x/%0Adocument.title='owned'"),
                                   QStringLiteral("data:text/html,<title>owned</title>"), QStringLiteral("no scheme here")}) {
        pane->NavigateTo(address);
        addressBox->setEditText(address);
        pane->WebRefreshBtnClick();
    }
    QTest::qWait(1000);
    EXPECT_EQ(pane->currentTitle(), QStringLiteral("Page A"));
    EXPECT_EQ(pane->history().entries(), QStringList{url("/a.html")});
    EXPECT_EQ(server.log(), QStringList{"/a.html"});
}

TEST_F(WebBrowserPaneTest, OpensLocalPagesAsFileAddresses)
{
    const QString page = makeFile(QStringLiteral("pages/local.htm"), "<html><head><title>Local</title></head></html>");
    // The window enters the pane before it records the new mode.
    context->switchMode(vmFileManager);
    ASSERT_TRUE(load([this, page] { pane->enter(page); }));
    EXPECT_EQ(context->switches.size(), 2) << "the pane loads the page itself, without another switch";
    EXPECT_EQ(pane->currentTitle(), QStringLiteral("Local"));
    EXPECT_EQ(pane->history().entries(), QStringList{QStringLiteral("file://") + page});
}

TEST_F(WebBrowserPaneTest, AsksAboutTheFileThatWillBeWrittenBeforeSaving)
{
    ASSERT_TRUE(open(QStringLiteral("/a.html")));
    const QString folder = makeFolder(QStringLiteral("saved"));
    const QString existing = makeFile(QStringLiteral("saved/page.HTML"), "old");
    const QString question = existing + QStringLiteral(" already exists.\r\nDo you want to replace it?");

    pickers().answer(folder + QStringLiteral("/page.htm"));
    prompter().answer(PromptButton::No);
    pane->WebSaveBtnClick();
    EXPECT_EQ(prompter().texts(), QStringList{question});
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "old");
    file.close();

    QSignalSpy saved(pane, &WebBrowserPane::pageSaved);
    pickers().answer(folder + QStringLiteral("/page"));
    prompter().answer(PromptButton::Yes);
    pane->WebSaveBtnClick();
    ASSERT_TRUE(saved.wait(30000));
    EXPECT_TRUE(saved.first().at(1).toBool());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Page A"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"page.HTML"});
}

TEST_F(WebBrowserPaneTest, EnterInTheAddressBoxLoadsOnceEvenForAListedAddress)
{
    ASSERT_TRUE(open(QStringLiteral("/a.html")));
    ASSERT_TRUE(open(QStringLiteral("/b.html")));
    addressBox->setEditText(url("/a.html")); // in the drop-down list already
    ASSERT_TRUE(load([this] { QTest::keyClick(addressBox->lineEdit(), Qt::Key_Return); }));
    QTest::qWait(500);
    EXPECT_EQ(server.log(), (QStringList{"/a.html", "/b.html", "/a.html"}));
    EXPECT_EQ(pane->history().index(), 0);
}

// The engine writes its profile (preferences, visited links, cache index) when the profile
// closes. The last pane to go closes it, into the folders it was made for; left to the
// process's end, it would write into a home that is gone by then.
TEST_F(WebBrowserPaneTest, TheLastPaneToGoClosesTheProfileIntoItsOwnFolders)
{
    ASSERT_TRUE(open(QStringLiteral("/a.html")));
    WebEngineModule* module = WebModuleLoader::loaded();
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->clearCache()); // a profile is open while the pane lives
    const QString prefs = WebProfileFolders::dataFolder() + QStringLiteral("/user_prefs.json");
    window.reset();
    EXPECT_FALSE(module->clearCache()); // closed: the clean-up now works on the folders
    EXPECT_TRUE(QTest::qWaitFor([&prefs] { return QFile::exists(prefs); }, 10000)) << prefs.toStdString();
}
