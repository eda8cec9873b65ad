// The clean-up's steps on disk, checked with tools no one here wrote: trash-list sees an
// empty Trash, xmllint reads the emptied recent documents list.
#include "internet/CleanupSteps.h"
#include "internet/WebProfileFolders.h"
#include "platform/Trash.h"
#include "support/RootOnlyDrives.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

class CleanupStepsTest : public TempHomeTest {
protected:
    // Runs a tool with this test's home; its standard output, or nullopt when it is missing.
    std::optional<QByteArray> tool(const QString& program, const QStringList& arguments, int* exitCode = nullptr)
    {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return std::nullopt;
        QProcess process;
        process.setEnvironment(home().environment());
        process.start(program, arguments);
        process.waitForFinished(60000);
        if (exitCode)
            *exitCode = process.exitCode();
        return process.readAllStandardOutput();
    }
};

TEST_F(CleanupStepsTest, EmptiesTheTrashAsTrashListSeesIt)
{
    const RootOnlyDrives drives(home().root());
    // trash-list also reads the other volumes' trash, which tests running beside this one
    // fill: only this home's items count.
    const auto ours = [this](const QByteArray& listing) { return listing.count(QByteArray(home().home().toUtf8() + '/')); };
    for (const char* name : {"one.txt", "two.txt"})
        ASSERT_TRUE(Trash::moveToTrash(makeFile(QStringLiteral("home/") + QLatin1String(name), "x")));
    ASSERT_TRUE(Trash::moveToTrash(makeFile(QStringLiteral("home/folder/inner.txt"), "y").section(QLatin1Char('/'), 0, -2)));
    const std::optional<QByteArray> before = tool(QStringLiteral("trash-list"), {});
    if (!before)
        GTEST_SKIP() << "trash-cli is not installed";
    EXPECT_EQ(ours(*before), 3);

    EXPECT_TRUE(CleanupSteps::run(CleanupStep::RecycleBin));
    EXPECT_EQ(ours(*tool(QStringLiteral("trash-list"), {})), 0);
    EXPECT_TRUE(Trash::isEmpty());
}

TEST_F(CleanupStepsTest, LeavesAValidEmptyRecentDocumentsList)
{
    const QString xbel = makeFile(QStringLiteral("home/.local/share/recently-used.xbel"),
                                  "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\"><bookmark href=\"file:///secret.txt\"/></xbel>\n");
    EXPECT_TRUE(CleanupSteps::run(CleanupStep::RecentDocuments));
    int code = -1;
    const std::optional<QByteArray> dump = tool(QStringLiteral("xmllint"), {QStringLiteral("--xpath"), QStringLiteral("count(//bookmark)"), xbel}, &code);
    if (!dump)
        GTEST_SKIP() << "xmllint is not installed";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(dump->trimmed(), "0");
    EXPECT_EQ(QDir(QFileInfo(xbel).path()).entryList({QStringLiteral("*recently*")}, QDir::Files | QDir::Hidden),
              QStringList{"recently-used.xbel"});
}

TEST_F(CleanupStepsTest, ClearsTheWebPanesFoldersAndRefusesTmpdirAtHome)
{
    makeFile(QStringLiteral("home/.cache/QuorVel/Folvane3/WebEngine/Cache/data_0"), "cached");
    makeFile(QStringLiteral("home/.local/share/QuorVel/Folvane3/WebEngine/Cookies"), "cookie");
    EXPECT_TRUE(CleanupSteps::run(CleanupStep::InternetCache));
    EXPECT_TRUE(CleanupSteps::run(CleanupStep::InternetHistory));
    EXPECT_TRUE(QDir(WebProfileFolders::cacheFolder()).isEmpty());
    EXPECT_TRUE(QDir(WebProfileFolders::dataFolder()).isEmpty());

    const QString precious = makeFile(QStringLiteral("home/thesis.tex"), "years of work");
    qputenv("TMPDIR", home().home().toUtf8());
    const Status refused = CleanupSteps::run(CleanupStep::TemporaryFiles);
    qunsetenv("TMPDIR");
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.errorString(), QStringLiteral("The temporary folder \"%1\" is (or holds) the home folder or one of the user's folders; nothing was deleted.")
                                         .arg(home().home()));
    EXPECT_TRUE(QFile::exists(precious));
}

TEST(CleanupSteps, WordsTheQuestionAndTheStepsExactly)
{
    EXPECT_EQ(CleanupSteps::question(),
              QStringLiteral("Do you want to...\r\n  > Clear the Recycle Bin?\r\n  > Empty Temporary folder?\r\n  > Internet Cache?\r\n"
                             "  > Internet History?\r\n  > Recent Docs?\r\n  > Folvane Webbrowser History?\r\n ALL ?"));
    EXPECT_STREQ(CleanupSteps::texts(CleanupStep::RecycleBin).done, "Recycle bin emptyed");
    EXPECT_STREQ(CleanupSteps::texts(CleanupStep::TemporaryFiles).running, "Emptying folder files...");
    EXPECT_STREQ(CleanupSteps::texts(CleanupStep::BrowserAddresses).resting, "Folvane WebBrowser History");
}
