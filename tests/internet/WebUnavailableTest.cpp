// The web pane without its engine: when the web module cannot be loaded the pane says why
// and every browser command does nothing; and the Clean up, which clears the engine's folders
// on disk, never loads the module to do it.
#include "WebPaneFixture.h"

#include "internet/WebProfileFolders.h"
#include "internet/ui/CleanupCommand.h"
#include "internet/ui/WebModuleLoader.h"
#include "support/RootOnlyDrives.h"

#include <QDir>
#include <QFile>
#include <QLabel>

namespace {

// Whether a shared object whose name holds part is mapped into this process: the loader's
// own record aside, this sees a module loaded by any path.
bool mapped(const char* part)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(part);
}

} // namespace

class WebUnavailableTest : public WebPaneFixture {
protected:
    void TearDown() override
    {
        WebModuleLoader::setSearchFolders({});
        WebPaneFixture::TearDown();
    }

    void expectEngineNotLoaded()
    {
        EXPECT_EQ(WebModuleLoader::loaded(), nullptr);
        EXPECT_FALSE(mapped(WebModuleLoader::kFileName));
        EXPECT_FALSE(mapped("libQt6WebEngineCore"));
    }
};

TEST_F(WebUnavailableTest, SaysWhyInsteadOfShowingAPageAndIgnoresTheBrowserCommands)
{
    WebModuleLoader::setSearchFolders({makeFolder(QStringLiteral("no module here"))});
#ifdef FOLVANE_HAVE_WEBENGINE
    const QString reason = QStringLiteral("The web browser is not installed: folvane3-web.so was not found beside the program.");
#else
    const QString reason = QStringLiteral("The web browser is not available: this build of Folvane III was made without Qt WebEngine.");
#endif
    pane->enter(QString());
    const QList<QLabel*> labels = pane->findChildren<QLabel*>(QStringLiteral("LabelWebUnavailable"));
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.first()->text(), reason);
    EXPECT_EQ(context->statusPanel(0)->text(), reason);

    pane->NavigateTo(url("/a.html"));
    pane->WebHomeBtnClick();
    pane->WebBackBtnClick();
    pane->WebForwardBtnClick();
    pane->WebRefreshBtnClick();
    pane->WebStopBtnClick();
    pane->WebSaveBtnClick();
    pane->leave();
    pane->enter(url("/b.html"));
    EXPECT_EQ(pane->findChildren<QLabel*>(QStringLiteral("LabelWebUnavailable")).size(), 1);
    EXPECT_TRUE(pane->currentAddress().isEmpty());
    EXPECT_TRUE(pane->history().entries().isEmpty());
    EXPECT_TRUE(pickers().captions().isEmpty());
    EXPECT_TRUE(server.log().isEmpty());
    expectEngineNotLoaded();
}

TEST_F(WebUnavailableTest, CleanUpClearsTheEngineFoldersWithoutLoadingIt)
{
    const RootOnlyDrives drives(home().root());
    const QString tmp = makeFolder(QStringLiteral("tmp"));
    qputenv("TMPDIR", tmp.toUtf8());
    for (const QString& folder : {WebProfileFolders::cacheFolder(), WebProfileFolders::dataFolder()}) {
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Cookies.d")));
        QFile file(folder + QStringLiteral("/Cookies.d/visited"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    CleanupCommand command(*context, *pane);
    prompter().answer(PromptButton::Yes);
    QSignalSpy finished(&command, &CleanupCommand::cleanupFinished);
    command.MenuCleanupClick();
    ASSERT_TRUE(finished.wait(60000));
    qunsetenv("TMPDIR");
    EXPECT_EQ(finished.first().first().toInt(), 0);
    EXPECT_TRUE(QDir(WebProfileFolders::cacheFolder()).isEmpty());
    EXPECT_TRUE(QDir(WebProfileFolders::dataFolder()).isEmpty());
    expectEngineNotLoaded();
}
