// The ripper's dialog: a rip started from its fields against a local server, the checks of
// its fields before anything starts, and a close during a run.
#include "RipServer.h"

#include "internet/RipAddress.h"
#include "internet/ui/ElidedLabel.h"
#include "internet/ui/TURLFileDlg.h"
#include "support/TempHome.h"

#include <QApplication>
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

// Long texts wrap (the digit positions) or are shortened (the saved path, the byte counts):
// the dialog keeps the width it opened with instead of growing past the screen.
TEST_F(RipDialogTest, LongTextsKeepTheDialogsWidth)
{
    TURLFileDlg dialog(m_target);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const int width = dialog.width();
    const QString name = QString(300, QLatin1Char('n')) + QStringLiteral(".cip");
    const struct {
        const char* what;
        std::function<void()> change;
        QLabel* label;
    } cases[] = {
        {"digit positions",
         [&dialog] { dialog.Edit1->setText(QStringLiteral("http://127.0.0.1:8765/2023/12/11/photos/IMG_20231211_123456_0001.pas")); },
         dialog.LabelOfIndex},
        {"saved path", [&] { dialog.LabelInfo->setText(QStringLiteral("SAVED:  ") + m_target + QLatin1Char('/') + name); }, dialog.LabelInfo},
        {"byte counts", [&dialog] { dialog.LabelStatusCode->setText(RipAddress::progressText(123456789012345, 987654321098765)); },
         dialog.LabelStatusCode},
    };
    for (const auto& c : cases) {
        c.change();
        QTest::qWait(50);
        EXPECT_LE(dialog.width(), width) << c.what;
        EXPECT_TRUE(dialog.rect().contains(QRect(c.label->mapTo(&dialog, QPoint(0, 0)), c.label->size()))) << c.what;
    }
    // Every line of the wrapped positions shows; the shortened path keeps its file name's end.
    EXPECT_GE(dialog.LabelOfIndex->height(), dialog.LabelOfIndex->heightForWidth(dialog.LabelOfIndex->width()));
    EXPECT_TRUE(dialog.LabelOfIndex->text().endsWith(QStringLiteral("061 062 063 064 ")));
    const auto* info = qobject_cast<ElidedLabel*>(dialog.LabelInfo);
    ASSERT_NE(info, nullptr);
    EXPECT_LT(info->shownText().size(), info->text().size());
    EXPECT_TRUE(info->shownText().startsWith(QStringLiteral("SAVED:"))) << info->shownText().toStdString();
    EXPECT_TRUE(info->shownText().endsWith(QStringLiteral("nn.cip"))) << info->shownText().toStdString();
}

// Enter in a field presses no button: it used to press File Index, which overwrote the
// counter values just typed.
TEST_F(RipDialogTest, EnterInAFieldKeepsWhatWasTyped)
{
    TURLFileDlg dialog(m_target);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const TURLFileDlg::CounterRow& last = dialog.counterRows().back();
    for (QLineEdit* edit : {last.min, last.max, last.width, last.index, dialog.Edit1, dialog.EditEXT}) {
        const QStringList before{last.min->text(), last.max->text(), last.width->text(), last.index->text()};
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(QStringList({last.min->text(), last.max->text(), last.width->text(), last.index->text()}), before)
            << edit->objectName().toStdString();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.isRunning());
    }
}
