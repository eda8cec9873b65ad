// The synchroniser's dialog: the pair list upkeep and its texts, the lists kept across
// openings, a run started from the two trees ending in the summary box, Stop, and the main
// window's way in.
#include "sync/ui/SyncMenus.h"
#include "sync/ui/TSynchDlg.h"

#include "platform/TransferFaults.h"
#include "support/BrowseWaits.h"
#include "support/ByteFiles.h"
#include "support/FakeWindowContext.h"
#include "support/TempHome.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>

namespace {

class TSynchDlgTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_left = makeFolder(QStringLiteral("left"));
        m_right = makeFolder(QStringLiteral("right"));
    }

    std::unique_ptr<TSynchDlg> open(const QString& start = QString())
    {
        auto dialog = std::make_unique<TSynchDlg>(start.isEmpty() ? m_left : start, SyncPairLists());
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    void pick(TSynchDlg& dialog, const QString& left, const QString& right)
    {
        dialog.setFolders(left, right);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.leftFolder() == left && dialog.rightFolder() == right; }));
    }

    static QListWidget* box(TSynchDlg& dialog, const char* name) { return dialog.findChild<QListWidget*>(QLatin1String(name)); }

    QString m_left;
    QString m_right;
};

} // namespace

TEST_F(TSynchDlgTest, ControlsStartAsDescribed)
{
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("FolVane file synchronizer"));
    const auto* mustExist = dialog->findChild<QCheckBox*>(QStringLiteral("CheckBoxMustExist"));
    const auto* recurse = dialog->findChild<QCheckBox*>(QStringLiteral("CheckBoxRecurse"));
    EXPECT_EQ(mustExist->text(), QStringLiteral("File must exist"));
    EXPECT_EQ(recurse->text(), QStringLiteral("Include sub folders"));
    EXPECT_FALSE(mustExist->isChecked());
    EXPECT_FALSE(recurse->isChecked());
    EXPECT_EQ(dialog->findChild<QToolButton*>(QStringLiteral("ButtonSync"))->toolTip(), QStringLiteral("Synchronize folder(s)"));
    EXPECT_EQ(dialog->findChild<QToolButton*>(QStringLiteral("AddSyncItems"))->text(), QStringLiteral("<Add>"));
    EXPECT_EQ(dialog->findChild<QToolButton*>(QStringLiteral("ClearSyncItems"))->toolTip(), QStringLiteral("Clear Sync List(s)"));
    EXPECT_EQ(dialog->findChild<QToolButton*>(QStringLiteral("SaveSyncItems"))->toolTip(), QStringLiteral("Save Sync Lists"));
    // Both sides open on the folder they were given.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->leftFolder() == m_left && dialog->rightFolder() == m_left; }));
}

TEST_F(TSynchDlgTest, PairsAreAddedCheckedClearedAndKeptAcrossOpenings)
{
    auto dialog = open();
    prompter().answer(PromptButton::Ok);
    pick(*dialog, m_left, m_left);
    dialog->AddSyncItemsClick();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Nothing to synchronize.\r\nVerify two different folders are selected."));

    pick(*dialog, m_left, m_right);
    dialog->AddSyncItemsClick();
    prompter().answer(PromptButton::Ok);
    dialog->AddSyncItemsClick();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Already on list"));
    ASSERT_EQ(box(*dialog, "ListBox1")->count(), 1);
    EXPECT_EQ(box(*dialog, "ListBox2")->item(0)->text(), m_right);
    dialog->accept(); // closing saves the lists
    dialog.reset();

    dialog = open();
    ASSERT_EQ(box(*dialog, "ListBox1")->count(), 1);
    EXPECT_EQ(box(*dialog, "ListBox1")->item(0)->text(), m_left);
    dialog->ClearSyncItemsClick();
    EXPECT_EQ(box(*dialog, "ListBox2")->count(), 0);
}

TEST_F(TSynchDlgTest, AListThatCannotBeSavedIsReportedOnceAndTheDialogCloses)
{
    makeFile(QStringLiteral("home/.local/share/QuorVel"), "a file where the data folder should be");
    auto dialog = open();
    prompter().answer(PromptButton::Ok);
    dialog->reject();
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(prompter().records().size(), 1);
    EXPECT_EQ(prompter().last().kind, PromptKind::Warning);
    EXPECT_TRUE(prompter().last().text.startsWith(QStringLiteral("Cannot save the sync lists")));
}

TEST_F(TSynchDlgTest, ARunFromTheTreesEndsWithTheSummary)
{
    makeFile(QStringLiteral("left/sub/a.txt"), "a");
    makeFile(QStringLiteral("right/b.txt"), "b");
    auto dialog = open();
    pick(*dialog, m_left, m_right);
    dialog->findChild<QCheckBox*>(QStringLiteral("CheckBoxRecurse"))->setChecked(true);
    QSignalSpy finished(dialog.get(), &TSynchDlg::runFinished);
    prompter().answer(PromptButton::Ok);
    dialog->ButtonSyncClick();
    EXPECT_TRUE(dialog->isRunning());
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_FALSE(dialog->isRunning());
    const PromptRecord& summary = prompter().last();
    EXPECT_EQ(summary.kind, PromptKind::Information);
    EXPECT_EQ(summary.caption, QStringLiteral("Synchronization Complete!"));
    EXPECT_EQ(summary.text, QStringLiteral("Created 1 folders\r\nUpdated 2 File(s)\r\n"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("FolVane file synchronizer"));
    EXPECT_EQ(ByteFiles::readFile(QFile::encodeName(m_right) + "/sub/a.txt"), "a");
    EXPECT_EQ(ByteFiles::readFile(QFile::encodeName(m_left) + "/b.txt"), "b");
}

TEST_F(TSynchDlgTest, SavedPairsRunFromTheLastToTheFirstAndTheTreesFollow)
{
    const QString other = makeFolder(QStringLiteral("other"));
    makeFile(QStringLiteral("left/a.txt"), "a");
    auto dialog = open();
    pick(*dialog, m_left, m_right);
    dialog->AddSyncItemsClick();
    pick(*dialog, m_right, other);
    dialog->AddSyncItemsClick();
    QSignalSpy finished(dialog.get(), &TSynchDlg::runFinished);
    prompter().answer(PromptButton::Ok);
    dialog->ButtonSyncClick();
    ASSERT_TRUE(finished.wait(20000));
    // right-other went first, so "other" has not got a.txt yet; the first pair is shown last.
    EXPECT_EQ(prompter().last().text, QStringLiteral("Created 0 folders\r\nUpdated 1 File(s)\r\n"));
    EXPECT_EQ(ByteFiles::namesIn(other), ByteFiles::Names());
    EXPECT_EQ(box(*dialog, "ListBox1")->currentRow(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->leftFolder() == m_left && dialog->rightFolder() == m_right; }));
}

TEST_F(TSynchDlgTest, StopEndsTheRunAndLeavesTheTargetWhole)
{
    makeFile(QStringLiteral("left/big.bin"), QByteArray(48 << 20, 'b'));
    TransferFaults faults;
    faults.afterChunk = [](std::int64_t) { QThread::msleep(300); };
    TransferFaults::set(faults);
    auto dialog = open();
    pick(*dialog, m_left, m_right);
    QSignalSpy finished(dialog.get(), &TSynchDlg::runFinished);
    dialog->ButtonSyncClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->windowTitle() == QStringLiteral("Synchronizing..."); }));
    prompter().answer(PromptButton::Ok);
    dialog->ButtonSyncClick(); // Stop
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("FolVane file synchronizer"));
    ASSERT_TRUE(finished.wait(20000));
    TransferFaults::clear();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Created 0 folders\r\nUpdated 0 File(s)\r\n"));
    EXPECT_EQ(ByteFiles::namesIn(m_right), ByteFiles::Names());
}

TEST_F(TSynchDlgTest, SameOrNestedTreeFoldersAreRefusedWithoutARun)
{
    const QString inner = makeFolder(QStringLiteral("left/inner"));
    auto dialog = open();
    pick(*dialog, m_left, inner);
    prompter().answer(PromptButton::Ok);
    dialog->ButtonSyncClick();
    EXPECT_FALSE(dialog->isRunning());
    EXPECT_EQ(prompter().last().text, QStringLiteral("Nothing to synchronize.\r\nOne folder lies inside the other."));
}

TEST_F(TSynchDlgTest, ToolsMenuAndBandButtonOpenTheDialog)
{
    QMainWindow window;
    FakeWindowContext context(&window);
    SyncMenus menus(context);
    EXPECT_EQ(menus.MenuSync()->text(), QStringLiteral("Sync Folders"));
    EXPECT_TRUE(context.menu(MainMenu::Tools)->actions().contains(menus.MenuSync()));
    int opened = 0;
    const auto closeWhenShown = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* dialog = window.findChild<TSynchDlg*>()) {
                ++opened;
                dialog->reject();
            }
        });
    };
    closeWhenShown();
    menus.MenuSync()->trigger();
    closeWhenShown();
    context.button(BandButton::Sync)->click();
    EXPECT_EQ(opened, 2);
}
