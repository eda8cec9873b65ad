// The ripper's dialog: a rip started from its fields against a local server, the checks of
// its fields before anything starts, and a close during a run.
#include "RipServer.h"

#include "internet/ui/TURLFileDlg.h"
#include "support/TempHome.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

class RipDialogTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_target = makeFolder(QStringLiteral("target"));
        makeFolder(QStringLiteral("served"));
        for (int i = 1; i <= 3; ++i)
            makeFile(QStringLiteral("served/%1.pas").arg(i, 2, 10, QLatin1Char('0')), QByteArray(i == 2 ? 10 : 100, 'a'));
        makeFile(QStringLiteral("served/big.pas"), QByteArray(400000, 'b'));
    }
    QString m_target;
};

} // namespace

TEST_F(RipDialogTest, RipFromTheFields)
{
    RipServer server(home().root() + QStringLiteral("/served"));
    ASSERT_TRUE(server.isRunning());
    TURLFileDlg dialog(m_target);
    EXPECT_EQ(dialog.EditToPath->text(), m_target + QLatin1Char('/'));
    dialog.Edit1->setText(server.url(QStringLiteral("files"), QStringLiteral("03.pas")));
    // Typing an address that ends in a number sets counter 10 to it.
    const TURLFileDlg::CounterRow& last = dialog.counterRows().back();
    EXPECT_EQ(last.index->text().toInt(), dialog.Edit1->text().size() - 5);
    EXPECT_EQ(last.width->text(), QStringLiteral("2"));
    EXPECT_EQ(last.max->text(), QStringLiteral("03"));
    EXPECT_EQ(last.min->text(), QStringLiteral("1"));
    dialog.MaskEditFileSize->setText(QStringLiteral("50"));

    QSignalSpy finished(&dialog, &TURLFileDlg::runFinished);
    dialog.ButtonRip->click();
    EXPECT_EQ(dialog.ButtonRip->text(), QStringLiteral("Halt"));
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(dialog.ButtonRip->text(), QStringLiteral("<< Rip"));
    EXPECT_EQ(dialog.LabelSavedFileCount->text(), QStringLiteral("2"));
    EXPECT_EQ(dialog.LabelInfo->text(), QStringLiteral("SAVED:  ") + m_target + QStringLiteral("/03.cip"));
    for (const TURLFileDlg::CounterRow& row : dialog.counterRows())
        EXPECT_EQ(row.max->text(), QStringLiteral("0"));
    EXPECT_EQ(QDir(m_target).entryList(QDir::Files | QDir::Hidden), QStringList({"01.cip", "03.cip"}));

    // Download One counts on without a reset and says nothing in the info line.
    dialog.Edit1->setText(server.url(QStringLiteral("files"), QStringLiteral("01.pas")));
    dialog.ButtonDownloadFile->click();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(dialog.LabelSavedFileCount->text(), QStringLiteral("3"));
    EXPECT_TRUE(QFile::exists(m_target + QStringLiteral("/[0]01.cip")));
}

TEST_F(RipDialogTest, BadFieldsStartNothing)
{
    TURLFileDlg dialog(m_target);
    struct Case {
        int row;
        QLineEdit* TURLFileDlg::CounterRow::*field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {2, &TURLFileDlg::CounterRow::width, "two", "Counter 03 width: \"two\" is not a number"},
        {9, &TURLFileDlg::CounterRow::min, "-4", "Counter 10 min: -4 is below 0"},
    };
    for (const Case& c : cases) {
        prompter().clear();
        QLineEdit* edit = dialog.counterRows()[size_t(c.row)].*c.field;
        const QString before = edit->text();
        edit->setText(QLatin1String(c.text));
        dialog.ButtonRip->click();
        EXPECT_FALSE(dialog.isRunning());
        EXPECT_EQ(dialog.ButtonRip->text(), QStringLiteral("<< Rip"));
        EXPECT_EQ(prompter().texts(), QStringList{QLatin1String(c.message)});
        edit->setText(before);
    }
    // Field rules: a letter counter takes 65 to 122, one character wide; index 0 clears a row.
    const TURLFileDlg::CounterRow& row = dialog.counterRows()[0];
    row.alpha->setChecked(true);
    EXPECT_EQ(QStringList({row.min->text(), row.max->text(), row.width->text()}), QStringList({"65", "122", "1"}));
    dialog.ButtonIndex0->click();
    EXPECT_EQ(QStringList({row.min->text(), row.max->text(), row.width->text()}), QStringList({"0", "0", "0"}));
}

TEST_F(RipDialogTest, ClosingDuringARunHaltsIt)
{
    RipServer server(home().root() + QStringLiteral("/served"));
    ASSERT_TRUE(server.isRunning());
    {
        TURLFileDlg dialog(m_target);
        dialog.Edit1->setText(server.url(QStringLiteral("stall"), QStringLiteral("big.pas")));
        dialog.ButtonDownloadFile->click();
        QLabel* status = dialog.LabelStatusCode;
        ASSERT_TRUE(QTest::qWaitFor([status] { return !status->text().trimmed().isEmpty() && status->text().contains(QLatin1Char(':')); }, 20000));
        dialog.reject();
    }
    EXPECT_TRUE(QDir(m_target).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
