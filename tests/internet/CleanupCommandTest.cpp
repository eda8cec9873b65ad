// The Clean up command: the question, the Cleanup window's boxes as the steps end, a step
// that failed left unticked, and the web pane's address list emptied.
#include "WebPaneFixture.h"

#include "internet/ui/CleanupCommand.h"
#include "internet/ui/TClean_Up_Dlg.h"
#include "platform/Trash.h"
#include "support/RootOnlyDrives.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

class CleanupCommandTest : public WebPaneFixture {
protected:
    // Runs the command with the answer given; the number of failed steps (-1: no run).
    int run(PromptButton answer)
    {
        prompter().answer(answer);
        QSignalSpy finished(command.get(), &CleanupCommand::cleanupFinished);
        command->MenuCleanupClick();
        if (!command->isRunning())
            return -1;
        return finished.wait(60000) ? finished.first().first().toInt() : -2;
    }
    QStringList boxes() const
    {
        QStringList shown;
        for (int i = 0; i < kCleanupStepCount; ++i) {
            const QCheckBox* box = command->dialog()->box(CleanupStep(i));
            shown << QString((box->isChecked() ? QStringLiteral("[x] ") : QStringLiteral("[ ] ")) + box->text());
        }
        return shown;
    }

    void SetUp() override
    {
        WebPaneFixture::SetUp();
        command = std::make_unique<CleanupCommand>(*context, *pane);
        tmp = makeFolder(QStringLiteral("tmp"));
        makeFile(QStringLiteral("tmp/old.txt"), "x");
        qputenv("TMPDIR", tmp.toUtf8());
    }
    void TearDown() override
    {
        qunsetenv("TMPDIR");
        command.reset();
        WebPaneFixture::TearDown();
    }

    std::unique_ptr<CleanupCommand> command;
    QString tmp;
};

TEST_F(CleanupCommandTest, NoChangesNothing)
{
    EXPECT_EQ(run(PromptButton::No), -1);
    EXPECT_EQ(prompter().records().size(), 1);
    EXPECT_EQ(prompter().last().kind, PromptKind::Confirmation);
    EXPECT_TRUE(QFile::exists(tmp + QStringLiteral("/old.txt")));
}

TEST_F(CleanupCommandTest, TicksEveryStepAndEndsInTheFileManagerWithAnEmptyAddressList)
{
    const RootOnlyDrives drives(home().root());
    ASSERT_TRUE(Trash::moveToTrash(makeFile(QStringLiteral("home/gone.txt"), "g")));
    addressBox->addItems({QStringLiteral("http://127.0.0.1/1"), QStringLiteral("http://127.0.0.1/2")});
    EXPECT_EQ(run(PromptButton::Yes), 0);
    EXPECT_EQ(boxes(), (QStringList{"[x] Recycle bin emptyed", "[x] Internet cache cleared", "[x] Internet History cleared",
                                    "[x] Temporary folder empty", "[x] Recent used documents cleared",
                                    "[x] Folvane Browser History cleared"}));
    EXPECT_TRUE(Trash::isEmpty());
    EXPECT_TRUE(QDir(tmp).isEmpty());
    EXPECT_TRUE(QDir(tmp).exists());
    EXPECT_EQ(context->currentMode(), vmFileManager);
    EXPECT_EQ(addressBox->count(), 0);
    EXPECT_EQ(addressBox->currentText(), WebBrowserPane::kHomeAddress);
}

TEST_F(CleanupCommandTest, LeavesAFailedStepUntickedAndTheWindowOpen)
{
    const RootOnlyDrives drives(home().root());
    qputenv("TMPDIR", home().home().toUtf8());
    EXPECT_EQ(run(PromptButton::Yes), 1);
    const QCheckBox* temp = command->dialog()->box(CleanupStep::TemporaryFiles);
    EXPECT_FALSE(temp->isChecked());
    EXPECT_EQ(temp->text(), QStringLiteral("Temporary folder/files - not done"));
    EXPECT_TRUE(temp->toolTip().endsWith(QLatin1String("nothing was deleted.")));
    EXPECT_TRUE(command->dialog()->box(CleanupStep::RecentDocuments)->isChecked());
    EXPECT_EQ(command->dialog()->cancelButton()->text(), QStringLiteral("Close"));
}
