// The confirmation dialog (controls per action, results kept on every close, the extension
// list, the create-folder question, the file hint) and the progress dialog running the batch
// loop (Cancel between items, a failing batch closing without a message).
#include "browse/FileListing.h"
#include "fileops/BatchLoop.h"
#include "fileops/ui/AskActionTarget.h"
#include "fileops/ui/TConfrim_Dlg.h"
#include "fileops/ui/TFolProgress_Dlg.h"

#include "ConfirmWaiter.h"

#include "platform/FileName.h"
#include "support/ByteFiles.h"
#include "support/TempHome.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QRadioButton>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <functional>

#include <sys/xattr.h>

namespace {

class ConfirmDialogTest : public TempHomeTest {
protected:
    QString settings() { return home().configHome() + QStringLiteral("/QuorVel/Folvane3/registry.txt"); }
    ActionTargetRequest request(OperationCode action, const QStringList& work = {}, const QString& selected = {})
    {
        return {action, m_target + QLatin1Char('/'), work, selected, settings()};
    }
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_target = makeFolder(QStringLiteral("target"));
    }
    QString m_target;
    ConfirmResults m_results;
};

TEST_F(ConfirmDialogTest, EachActionShowsItsControlsAtItsHeight)
{
    struct Case {
        OperationCode code;
        const char* action;
        QStringList shown;
        int height;
    };
    const QStringList all = {"PanelZip", "MaskEditPassword", "CheckBoxCreateFolders", "CheckBoxRestorePath",
                             "CheckBoxWarnOverwrite", "ComboBoxFileExt", "EditNumber", "EditAppendPre", "EditAppendPost",
                             "LabelSearch", "LabelReplace", "DatePicker", "TimePicker", "CheckBoxReadOnly", "CheckBoxHidden",
                             "CheckBoxArchive", "CheckBoxSystem"};
    const Case cases[] = {
        {opZip, "ZIP", {"PanelZip", "MaskEditPassword"}, 223},
        {opZipFolder, "ZIP Folder", {"PanelZip", "MaskEditPassword"}, 223},
        {opUnzip, "UNZIP", {"MaskEditPassword", "CheckBoxCreateFolders", "CheckBoxRestorePath", "CheckBoxWarnOverwrite"}, 151},
        {opZipFix, "ZIP file fix", {}, 151},
        {opZipToExe, "ZIP to EXE", {}, 151},
        {opChangeExtension, "Change Extension", {"ComboBoxFileExt"}, 151},
        {opMakeNumberFiles, "Make Number Files", {"EditNumber"}, 151},
        {opAppendFiles, "Append Files", {"EditAppendPre", "EditAppendPost"}, 174},
        {opSearchReplace, "Search + Replace file name", {"EditAppendPre", "EditAppendPost", "LabelSearch", "LabelReplace"}, 190},
        {opGifToJpg, "GIF to JPG", {}, 174},
        {opBmpToJpg, "BMP to JPG", {}, 174},
        {opChangeAttributes, "Change Attribute Date/Time",
         {"DatePicker", "TimePicker", "CheckBoxReadOnly", "CheckBoxHidden", "CheckBoxArchive", "CheckBoxSystem"}, 174},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        TConfrim_Dlg dialog(c.code, m_results, settings());
        EXPECT_EQ(dialog.LabelAction->text(), QLatin1String(c.action));
        dialog.show();
        for (const QString& name : all) {
            const QWidget* widget = dialog.findChild<QWidget*>(name);
            ASSERT_NE(widget, nullptr) << name.toStdString();
            EXPECT_EQ(!widget->isHidden(), c.shown.contains(name)) << name.toStdString();
        }
        EXPECT_EQ(dialog.height(), c.height);
        EXPECT_FALSE(dialog.EditToPathFile->isHidden());
        EXPECT_LT(dialog.ButtonYes->geometry().bottom(), dialog.height());
        dialog.reject();
    }
}

TEST_F(ConfirmDialogTest, CancelKeepsTheOptionsButReturnsNoTarget)
{
    whenConfirmShows([](TConfrim_Dlg& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("CheckBoxRecurse"))->setChecked(true);
        dialog.MaskEditSpanningThreshold->setText(QStringLiteral(" 1440000 "));
        dialog.ComboBoxFileExt->setEditText(QStringLiteral("txt"));
        dialog.EditNumber->setText(QStringLiteral(" 7 "));
        dialog.ButtonCancel->click();
    });
    EXPECT_EQ(AskActionTarget(nullptr, request(opZip), m_results), QString());
    EXPECT_EQ(m_results.target, QString());
    EXPECT_TRUE(m_results.zip.recurse);
    EXPECT_EQ(m_results.zip.spanThreshold, 1440000);
    EXPECT_EQ(m_results.newExtension, QStringLiteral("txt"));
    EXPECT_EQ(m_results.firstNumber, QStringLiteral("7"));
    EXPECT_EQ(ConfirmActions::loadExtensions(settings()), QStringList{QStringLiteral("txt")});

    whenConfirmShows([](TConfrim_Dlg& dialog) { dialog.ButtonYes->click(); });
    EXPECT_EQ(AskActionTarget(nullptr, request(opChangeExtension), m_results), m_target + QLatin1Char('/'));
}

TEST_F(ConfirmDialogTest, ExtensionListIsSortedWithoutCaseDuplicates)
{
    for (const char* typed : {"zip", "txt", "TXT", "bak"}) {
        whenConfirmShows([typed](TConfrim_Dlg& dialog) {
            dialog.ComboBoxFileExt->setEditText(QLatin1String(typed));
            dialog.ButtonYes->click();
        });
        AskActionTarget(nullptr, request(opChangeExtension), m_results);
    }
    // The text typed last stays among equal ones.
    EXPECT_EQ(ConfirmActions::loadExtensions(settings()), (QStringList{"bak", "TXT", "zip"}));

    // The saved index picks the item at the next showing.
    m_results.extIndex = 2;
    whenConfirmShows([](TConfrim_Dlg& dialog) {
        EXPECT_EQ(dialog.ComboBoxFileExt->currentText(), QStringLiteral("zip"));
        dialog.ButtonCancel->click();
    });
    AskActionTarget(nullptr, request(opChangeExtension), m_results);
}

TEST_F(ConfirmDialogTest, MissingTargetFolderIsCreatedOnlyWhenTheUserAgrees)
{
    const QString missing = m_target + QStringLiteral("/new/deeper/");
    for (const PromptButton answer : {PromptButton::No, PromptButton::Yes}) {
        prompter().answer(answer);
        whenConfirmShows([&missing](TConfrim_Dlg& dialog) {
            dialog.EditToPathFile->setText(missing);
            dialog.ButtonYes->click();
        });
        const QString result = AskActionTarget(nullptr, request(opMakeNumberFiles), m_results);
        EXPECT_EQ(prompter().last().text, QStringLiteral("Create folder?\r\n") + missing);
        EXPECT_EQ(result, answer == PromptButton::Yes ? missing : QString());
        EXPECT_EQ(QFileInfo(missing).isDir(), answer == PromptButton::Yes);
    }
    // An archive target is taken as it is.
    whenConfirmShows([this](TConfrim_Dlg& dialog) {
        dialog.EditToPathFile->setText(m_target + QStringLiteral("/nowhere/a.zip"));
        dialog.ButtonYes->click();
    });
    EXPECT_EQ(AskActionTarget(nullptr, request(opZip), m_results), m_target + QStringLiteral("/nowhere/a.zip"));
}

TEST_F(ConfirmDialogTest, WhatTheActionAppliesTo)
{
    const QString big = makeFile(QStringLiteral("big.iso"));
    ASSERT_TRUE(QFile::resize(big, qint64(5) << 30)); // sparse: 5 GiB
    whenConfirmShows([](TConfrim_Dlg& dialog) {
        EXPECT_EQ(dialog.LabelFileName->text(), QStringLiteral("big.iso"));
        const QString hint = dialog.ImageFileIcon->toolTip();
        EXPECT_TRUE(hint.startsWith(QStringLiteral("Size (bytes): \t5,368,709,120\nAttributes: \tA\nCreated: \t"))) << hint.toStdString();
        EXPECT_TRUE(hint.contains(QStringLiteral("\nDOS name: \t\nType: \t"))) << hint.toStdString();
        EXPECT_TRUE(dialog.CheckBoxArchive->isChecked());
        EXPECT_FALSE(dialog.CheckBoxReadOnly->isChecked());
        dialog.ButtonCancel->click();
    });
    AskActionTarget(nullptr, request(opChangeAttributes, {big}, big), m_results);

    whenConfirmShows([](TConfrim_Dlg& dialog) {
        EXPECT_EQ(dialog.LabelFileName->text(), QStringLiteral("3 files selected"));
        EXPECT_EQ(dialog.ImageFileIcon->toolTip(), QString());
        EXPECT_FALSE(dialog.ImageFileIcon->pixmap().isNull());
        dialog.ButtonCancel->click();
    });
    AskActionTarget(nullptr, request(opAppendFiles, {"/a", "/b", "/c"}, big), m_results);
}

// The attribute boxes and the hint read a file as the list's Attr column does: a name in its
// folder's ".hidden" file is hidden, Samba's user.DOSATTRIB gives its bits, and the name need
// not be UTF-8.
TEST_F(ConfirmDialogTest, AttributeBoxesAndHintReadWhatTheListShows)
{
    const QString folder = makeFolder(QStringLiteral("attrs"));
    const QString odd = folder + QLatin1Char('/') + FileName::decode("l\xe9gal.txt");
    ByteFiles::writeFile(FileName::encode(odd), "legal");
    makeFile(QStringLiteral("attrs/.hidden"), "l\xe9gal.txt\n");
    const QString samba = makeFile(QStringLiteral("attrs/samba.txt"));
    const bool xattrs = ::setxattr(FileName::encode(samba).constData(), "user.DOSATTRIB", "0x4", 3, 0) == 0;
    FileListing listing;
    ASSERT_TRUE(listing.listFolder(folder + QLatin1Char('/'), ListingOptions()));
    QMap<QString, uint32_t> listed;
    for (int row = 0; row < listing.count(); ++row)
        listed[listing.fullPath(row)] = listing.at(row).Attributes;
    ASSERT_TRUE(listed.value(odd) & FileAttribute::Hidden);

    struct Case {
        QString path;
        QString shownName;
        QString letters; // the hint's order: R, H, S, A
    };
    QList<Case> cases{{odd, QStringLiteral("l\uFFFDgal.txt"), QStringLiteral("HA")}};
    if (xattrs)
        cases.append({samba, QStringLiteral("samba.txt"), QStringLiteral("S")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shownName.toStdString());
        const uint32_t attributes = listed.value(c.path);
        whenConfirmShows([&](TConfrim_Dlg& dialog) {
            EXPECT_EQ(dialog.LabelFileName->text(), c.shownName);
            EXPECT_EQ(dialog.CheckBoxReadOnly->isChecked(), bool(attributes & FileAttribute::ReadOnly));
            EXPECT_EQ(dialog.CheckBoxHidden->isChecked(), bool(attributes & FileAttribute::Hidden));
            EXPECT_EQ(dialog.CheckBoxSystem->isChecked(), bool(attributes & FileAttribute::System));
            EXPECT_EQ(dialog.CheckBoxArchive->isChecked(), bool(attributes & FileAttribute::Archive));
            const QString hint = dialog.ImageFileIcon->toolTip();
            EXPECT_TRUE(hint.contains(QStringLiteral("\nAttributes: \t") + c.letters + QLatin1Char('\n'))) << hint.toStdString();
            EXPECT_TRUE(hint.contains(QStringLiteral("\nLocation: \t") + folder + QStringLiteral("/\n"))) << hint.toStdString();
            dialog.ButtonCancel->click();
        });
        AskActionTarget(nullptr, request(opChangeAttributes, {c.path}, c.path), m_results);
    }
}

// The browse button names an archive only for "ZIP", in a save dialog so that a new archive
// can be named as well as an existing one chosen; the zip of the tree's folder, like every
// other action, picks a folder.
TEST_F(ConfirmDialogTest, BrowseButtonPicksWhatTheActionTargets)
{
    const QString archive = m_target + QStringLiteral("/backup");
    const struct {
        OperationCode code;
        const char* caption;
        PickerKind kind;
        QString answer;
        QString target;
    } cases[] = {
        {opZip, "Enter .ZIP file name or select", PickerKind::SaveFile, archive, archive + QStringLiteral(".ZIP")},
        {opZipFolder, "Browse", PickerKind::Folder, m_target, m_target + QLatin1Char('/')},
        {opUnzip, "Browse", PickerKind::Folder, m_target, m_target + QLatin1Char('/')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        TConfrim_Dlg dialog(c.code, m_results, settings());
        dialog.EditToPathFile->setText(home().root() + QStringLiteral("/elsewhere/"));
        dialog.show();
        pickers().answer(c.answer);
        dialog.ButtonBrowsePathFile->click();
        EXPECT_EQ(pickers().captions().last(), QLatin1String(c.caption));
        EXPECT_EQ(pickers().kinds().last(), c.kind);
        EXPECT_EQ(dialog.EditToPathFile->text(), c.target);
        dialog.reject();
    }
}

TEST_F(ConfirmDialogTest, DateAndTimeStartAtTheFileStampOrNow)
{
    // One selected file lends its stamp; otherwise the pickers start at the present moment,
    // so that a confirmed "Change Attribute Date/Time" never stamps a date long past.
    const QString file = makeFile(QStringLiteral("old.txt"));
    const QDateTime stamp(QDate(2011, 7, 14), QTime(9, 30, 12));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    struct Case {
        const char* name;
        QStringList work;
        QString selected;
        bool fromFile;
    };
    const Case cases[] = {
        {"one file", {file}, file, true},
        {"several files", {file, file + QStringLiteral("2")}, QString(), false},
        {"a folder", {m_target}, m_target, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDateTime shown;
        whenConfirmShows([&](TConfrim_Dlg& dialog) {
            shown = QDateTime(dialog.DatePicker->date(), dialog.TimePicker->time());
            dialog.ButtonCancel->click();
        });
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        AskActionTarget(nullptr, request(opChangeAttributes, c.work, c.selected), m_results);
        if (c.fromFile) {
            EXPECT_EQ(shown, stamp);
        } else {
            EXPECT_GE(shown, before) << shown.toString().toStdString();
            EXPECT_LE(shown, QDateTime::currentDateTime()) << shown.toString().toStdString();
        }
    }
}

TEST_F(ConfirmDialogTest, StoredCompressionTurnsDeflationOff)
{
    TConfrim_Dlg dialog(opZip, m_results, settings());
    dialog.show();
    dialog.findChildren<QRadioButton*>().at(2)->click(); // "Stored"
    EXPECT_FALSE(dialog.RadioGroupDeflation->isEnabled());
    EXPECT_EQ(dialog.deflation(), 0);
    dialog.ButtonMoreZip->click();
    EXPECT_EQ(dialog.ButtonMoreZip->text(), QStringLiteral("-"));
    EXPECT_EQ(dialog.height(), ConfirmActions::kZipExpandedHeight);
    EXPECT_EQ(dialog.ButtonYes->y(), dialog.PanelZip->geometry().bottom() + 1 + 2);
    dialog.ButtonMoreZip->click();
    EXPECT_EQ(dialog.height(), ConfirmActions::kZipCollapsedHeight);
    dialog.reject();
    EXPECT_EQ(m_results.zip.compression, 2);
}

class BatchTest : public TempHomeTest {
protected:
    void TearDown() override
    {
        BatchBranches::clear(opChangeExtension);
        TempHomeTest::TearDown();
    }
};

// Watches the progress dialog from the UI thread while a batch runs.
TFolProgress_Dlg* shownProgressDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<TFolProgress_Dlg*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// A test branch on a 100-file batch: the items run on a worker while the window stays
// responsive; Cancel pressed during the 11th item stops the loop before the 12th, and the
// button reads "Wait..." until the dialog closes. The dialog shows what the loop published.
TEST_F(BatchTest, CancelStopsBetweenItems)
{
    QStringList work;
    for (int i = 0; i < 100; ++i)
        work << QStringLiteral("/work/") + QString::number(i);
    QStringList done;
    std::atomic<bool> onUiThread{false};
    std::atomic<bool> cancelPressed{false};
    BatchBranch branch;
    branch.prepare = [](const BatchItem& item) -> QString { return item.path + QStringLiteral(".new"); };
    branch.run = [&](const BatchItem& item, const QString& newName) {
        done << newName;
        if (QThread::currentThread() == qApp->thread())
            onUiThread = true;
        // The 11th item lasts until the window, polling, has shown it and Cancel was pressed.
        for (int waited = 0; item.index == 10 && !cancelPressed && waited < 5000; waited += 5)
            QThread::msleep(5);
        return BatchItemResult{};
    };
    BatchBranches::set(opChangeExtension, branch);

    QString buttonText;
    int ticksDuringItem = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        TFolProgress_Dlg* dialog = shownProgressDialog();
        if (!dialog || cancelPressed || dialog->LabelListNames->text() != QStringLiteral("11 of 100 10"))
            return;
        // The UI thread keeps running while the item is at work.
        if (++ticksDuringItem < 3)
            return;
        EXPECT_EQ(dialog->LabelAction->text(), QStringLiteral("Change Extension"));
        EXPECT_EQ(dialog->LabelProgressMeter->text(), QStringLiteral("/work/10 to \n/work/10.new"));
        EXPECT_EQ(dialog->ProgressMeter->value(), 9);
        EXPECT_TRUE(dialog->ItemMeter->isHidden());
        dialog->ButtonCancel->click();
        buttonText = dialog->ButtonCancel->text();
        EXPECT_FALSE(dialog->ButtonCancel->isEnabled());
        cancelPressed = true;
    });
    watch.start(10);
    EXPECT_EQ(RunBatchDialog(nullptr, QStringLiteral("Change file extension..."), opChangeExtension, work, ConfirmResults(), false),
              BatchEnd::Cancelled);
    EXPECT_TRUE(cancelPressed);
    EXPECT_FALSE(onUiThread) << "the items run on the runner's worker";
    EXPECT_EQ(done.size(), 11);
    EXPECT_EQ(buttonText, QStringLiteral("Wait..."));
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TFolProgress_Dlg*>(widget), nullptr) << "the dialog is freed";
}

// The branch's before-step runs on the UI thread (it may ask), and saying no ends the batch
// before the first item, as a failure.
TEST_F(BatchTest, BeforeStepRunsOnTheUiThread)
{
    for (const bool go : {false, true}) {
        SCOPED_TRACE(go);
        bool beforeOnUiThread = false;
        int items = 0;
        BatchBranch branch;
        branch.before = [&](const QStringList& work, const ConfirmResults&) {
            beforeOnUiThread = QThread::currentThread() == qApp->thread() && work.size() == 2;
            return go;
        };
        branch.run = [&](const BatchItem&, const QString&) {
            ++items;
            return BatchItemResult{};
        };
        BatchBranches::set(opChangeExtension, branch);
        EXPECT_EQ(RunBatchDialog(nullptr, QStringLiteral("x"), opChangeExtension, {"/a", "/b"}, ConfirmResults(), false),
                  go ? BatchEnd::Done : BatchEnd::Failed);
        EXPECT_TRUE(beforeOnUiThread);
        EXPECT_EQ(items, go ? 2 : 0);
    }
}

TEST_F(BatchTest, ItemErrorsGoOnAndAFatalErrorEndsTheBatchSilently)
{
    const QStringList work{"/a", "/b", "/c", "/d"};
    QStringList itemTexts;
    BatchBranch branch;
    branch.run = [&](const BatchItem& item, const QString&) {
        itemTexts << item.loop->labels().itemText;
        if (item.path == QLatin1String("/b"))
            return BatchItemResult{BatchItemResult::Status::Failed, QString(), QStringLiteral("ERROR on b")};
        if (item.path == QLatin1String("/d"))
            return BatchItemResult{BatchItemResult::Status::Fatal, QString(), QString()};
        return BatchItemResult{};
    };
    BatchBranches::set(opChangeExtension, branch);
    EXPECT_EQ(RunBatchDialog(nullptr, QStringLiteral("x"), opChangeExtension, work, ConfirmResults(), true), BatchEnd::Failed);
    EXPECT_EQ(itemTexts, (QStringList{"", "", "ERROR on b", "ERROR on b"}));
    EXPECT_TRUE(prompter().records().isEmpty());

    // A code whose branch has not arrived ends at once, as an error does.
    EXPECT_EQ(RunBatchDialog(nullptr, QStringLiteral("x"), opZipFix, work, ConfirmResults(), true), BatchEnd::Failed);
    EXPECT_EQ(FileCountText(1), QStringLiteral("1 file"));
    EXPECT_EQ(FileCountText(0), QStringLiteral("0 file"));
    EXPECT_EQ(FileCountText(2), QStringLiteral("2 files"));
}

} // namespace
