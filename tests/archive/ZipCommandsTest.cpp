// The zip commands through the window's menus and buttons on the real browse widgets, and
// the zip viewer pane: the proposals, the size question, the confirmation dialog's options,
// archives checked with unzip and 7z, one message for a failed batch, and the viewer's
// listing, popup, extract and delete.
#include "fileops/BrowseWindowFixture.h"

#include "ZipTestTools.h"
#include "archive/tools/ZipQuestions.h"
#include "archive/tools/ZipToExeBranch.h"
#include "archive/ui/TAbZipView.h"
#include "archive/ui/ZipListModel.h"
#include "archive/ui/ZipToolsMenus.h"
#include "archive/ui/ZipViewerPane.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "fileops/ConfirmWaiter.h"
#include "fileops/ui/TFolProgress_Dlg.h"
#include "fileops/ui/TransferMenus.h"
#include "support/BrowseWaits.h"
#include "support/FakeWindowContext.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

class ZipCommandsTest : public BrowseWindowFixture {
protected:
    void addControllers() override
    {
        m_zip = new ZipToolsMenus(*m_context, *m_menus);
        ZipQuestions::forgetPasswords();
        ZipToExeBranch::setStubFolder(stubPath(QString()));
    }
    // The user selects in the list: it takes the focus.
    void selectFiles(const QStringList& names)
    {
        m_list->currentView()->setFocus();
        selectInList(names);
    }
    QAction* action(const char* name) const { return m_window->findChild<QAction*>(QLatin1String(name)); }
    // Presses Cancel in the progress dialog as soon as it shows.
    static void cancelProgressWhenShown()
    {
        auto* timer = new QTimer;
        timer->setInterval(2);
        QObject::connect(timer, &QTimer::timeout, [timer] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<TFolProgress_Dlg*>(widget);
                if (dialog && dialog->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    dialog->ButtonCancel->click();
                    return;
                }
            }
        });
        timer->start();
    }
    static QByteArray names(const QString& archive) { return runTool(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive}).output; }

    ZipToolsMenus* m_zip = nullptr;
};

TEST_F(ZipCommandsTest, TheTreesFolderIsZippedBesideIt)
{
    const QString photos = makeFolder(QStringLiteral("drives/data/Photos"));
    makeFile(QStringLiteral("drives/data/Photos/a.jpg"), QByteArray(5000, 'a'));
    makeFile(QStringLiteral("drives/data/Photos/sub/b.jpg"), "bb");
    makeFile(QStringLiteral("drives/data/Photos/.cache/c.jpg"), "c");
    go(photos); // the list shows no folders: the folder's zip takes them all the same
    m_tree->setFocus();
    whenConfirmShows([&](TConfrim_Dlg& dialog) {
        EXPECT_EQ(dialog.LabelAction->text(), QStringLiteral("ZIP Folder"));
        EXPECT_EQ(dialog.EditToPathFile->text(), photos + QStringLiteral(".ZIP"));
        dialog.RadioGroupCompression->findChildren<QRadioButton*>().at(2)->setChecked(true); // "Stored"
        dialog.ButtonYes->click();
    });
    m_context->button(BandButton::Zip)->click();
    const QString archive = photos + QStringLiteral(".ZIP");
    EXPECT_EQ(names(archive), "Photos/a.jpg\nPhotos/sub/b.jpg\n");
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive}).exitCode, 0);
    EXPECT_EQ(runTool(QStringLiteral("7z"), {QStringLiteral("t"), archive}).exitCode, 0);
    EXPECT_TRUE(runTool(QStringLiteral("unzip"), {QStringLiteral("-v"), archive}).output.contains("Stored"));
    EXPECT_TRUE(prompter().records().isEmpty());
}

TEST_F(ZipCommandsTest, MoreThanOneGibibyteAsksFirst)
{
    const QString folder = makeFolder(QStringLiteral("drives/data/big"));
    struct Case {
        const char* what;
        qint64 size;
        bool asks;
    };
    const Case cases[] = {{"exactly 1 GiB", 1073741824, false}, {"one byte more", 1073741825, true}};
    for (const Case& c : cases) {
        QFile sparse(folder + QStringLiteral("/f%1.bin").arg(c.size));
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
        ASSERT_TRUE(sparse.resize(c.size));
    }
    go(folder);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter().clear();
        const QString name = QStringLiteral("f%1.bin").arg(c.size);
        selectFiles({name});
        const QString archive = folder + QStringLiteral("/") + name + QStringLiteral(".zip");
        whenConfirmShows([&](TConfrim_Dlg& dialog) {
            EXPECT_EQ(dialog.EditToPathFile->text(), folder + QStringLiteral("/folvane.zip"));
            dialog.EditToPathFile->setText(archive);
            dialog.ButtonYes->click();
        });
        if (c.asks)
            prompter().answer(PromptButton::No);
        else
            cancelProgressWhenShown();
        action("PopupFileZip")->trigger();
        if (c.asks) {
            ASSERT_EQ(prompter().records().size(), 1);
            EXPECT_EQ(prompter().last().text, QStringLiteral("Files total size= 1.00 GB\r\nDo you want to try Ziping???"));
        } else {
            EXPECT_TRUE(prompter().records().isEmpty());
        }
        EXPECT_FALSE(QFileInfo::exists(archive));
    }
}

TEST_F(ZipCommandsTest, UnzipFromTheListPopupAndZipToExeSaysWhatFailed)
{
    const QString folder = makeFolder(QStringLiteral("drives/data/z"));
    makeFile(QStringLiteral("drives/data/z/t/x.txt"), "x");
    ASSERT_EQ(runTool(QStringLiteral("zip"), {QStringLiteral("-qr"), folder + QStringLiteral("/one.zip"), QStringLiteral("x.txt")},
                      folder + QStringLiteral("/t")).exitCode, 0);
    const QString out = makeFolder(QStringLiteral("drives/data/out"));
    go(folder);
    selectFiles({QStringLiteral("one.zip"), QStringLiteral("t")});
    whenConfirmShows([&](TConfrim_Dlg& dialog) {
        EXPECT_EQ(dialog.LabelAction->text(), QStringLiteral("UNZIP"));
        dialog.EditToPathFile->setText(out);
        dialog.ButtonYes->click();
    });
    m_menus->PopupMenuFilePopup();
    action("PopupFileUnZip")->trigger();
    EXPECT_EQ(listTree(out), QStringList{QStringLiteral("x.txt")});

    ZipToExeBranch::setStubFolder(makeFolder(QStringLiteral("nostubs")));
    whenConfirmShows([&](TConfrim_Dlg& dialog) {
        EXPECT_EQ(dialog.LabelAction->text(), QStringLiteral("ZIP to EXE"));
        dialog.EditToPathFile->setText(out);
        dialog.ButtonYes->click();
    });
    prompter().answer(PromptButton::Ok);
    action("PopUpMenuZiptoExe")->trigger();
    ASSERT_EQ(prompter().records().size(), 1);
    EXPECT_EQ(prompter().last().kind, PromptKind::Error);
    EXPECT_TRUE(prompter().last().text.startsWith(QStringLiteral("ERROR on ") + folder + QStringLiteral("/one.zip: ")))
        << qPrintable(prompter().last().text);
    EXPECT_EQ(listTree(out), QStringList{QStringLiteral("x.txt")});
}

class ZipViewerTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_window = std::make_unique<QMainWindow>();
        m_context = std::make_unique<FakeWindowContext>(m_window.get());
        m_pane = new ZipViewerPane(*m_context, m_window.get());
        m_window->setCentralWidget(m_pane->widget());
        m_window->show();
        ZipQuestions::forgetPasswords();
    }
    void TearDown() override
    {
        m_window.reset();
        m_context.reset();
        TempHomeTest::TearDown();
    }
    bool open(const QString& path)
    {
        m_context->switchMode(vmZipViewer, path);
        QSignalSpy shown(m_pane, &ZipViewerPane::archiveShown);
        QSignalSpy failed(m_pane, &ZipViewerPane::openFailed);
        m_pane->enter(path);
        return QTest::qWaitFor([&] { return !shown.isEmpty() || !failed.isEmpty(); }, 10000) && !shown.isEmpty();
    }
    TAbZipView& view() const { return *m_pane->ZipViewer(); }
    QStringList column(int c) const
    {
        QStringList cells;
        for (int row = 0; row < view().model()->rowCount(); ++row)
            cells << view().model()->index(row, c).data().toString();
        return cells;
    }
    void select(const QStringList& names)
    {
        view().clearSelection();
        for (int row = 0; row < view().model()->rowCount(); ++row) {
            if (names.contains(view().model()->index(row, ZipListModel::Name).data().toString()))
                view().selectionModel()->select(view().model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    QString popupText(const char* name) const
    {
        m_pane->PopupMenuZipViewPopup();
        return m_pane->PopupMenuZipView()->findChild<QAction*>(QLatin1String(name))->text();
    }
    QString sample()
    {
        const QString folder = makeFolder(QStringLiteral("src"));
        makeFile(QStringLiteral("src/big.txt"), QByteArray(9000, 'b'));
        makeFile(QStringLiteral("src/dir/small.txt"), "s");
        makeFile(QStringLiteral("src/mid.txt"), QByteArray(300, 'm'));
        const QString archive = home().root() + QStringLiteral("/view/a.zip");
        makeFolder(QStringLiteral("view"));
        EXPECT_EQ(runTool(QStringLiteral("zip"), {QStringLiteral("-qr"), archive, QStringLiteral("big.txt"), QStringLiteral("dir"),
                                                   QStringLiteral("mid.txt")}, folder).exitCode, 0);
        return archive;
    }

    std::unique_ptr<QMainWindow> m_window;
    std::unique_ptr<FakeWindowContext> m_context;
    ZipViewerPane* m_pane = nullptr;
};

TEST_F(ZipViewerTest, ListingColumnsSortingAndPopup)
{
    ASSERT_TRUE(open(sample()));
    EXPECT_EQ(m_pane->widget()->objectName(), QStringLiteral("ZipViewer"));
    EXPECT_EQ(column(ZipListModel::Name), (QStringList{"big.txt", "dir", "small.txt", "mid.txt"}));
    EXPECT_EQ(column(ZipListModel::Path), (QStringList{"", "", "dir/", ""}));
    EXPECT_EQ(column(ZipListModel::Size), (QStringList{"9000", "0", "1", "300"}));
    QStringList shown;
    for (int c = 0; c < ZipListModel::ColumnCount; ++c) {
        if (!view().isColumnHidden(c))
            shown << view().model()->headerData(c, Qt::Horizontal).toString();
    }
    EXPECT_EQ(shown, (QStringList{"Name", "Packed", "Encrypted", "Time Stamp", "Size", "Path"}));
    EXPECT_EQ(view().header()->defaultSectionSize(), 150);

    view().sortByColumn(ZipListModel::Size, Qt::DescendingOrder);
    EXPECT_EQ(column(ZipListModel::Name), (QStringList{"big.txt", "mid.txt", "small.txt", "dir"}));
    view().sortByColumn(ZipListModel::Method, Qt::AscendingOrder); // not a sorting column
    EXPECT_EQ(column(ZipListModel::Name), (QStringList{"big.txt", "mid.txt", "small.txt", "dir"}));

    view().clearSelection();
    EXPECT_EQ(popupText("PopupZipViewExtract"), QStringLiteral("Extract (no file selected)"));
    EXPECT_FALSE(m_pane->PopupMenuZipView()->findChild<QAction*>(QStringLiteral("PopupZipViewExtract"))->isEnabled());
    EXPECT_EQ(popupText("PopupZipViewDelete"), QStringLiteral("Delete entire Zip file"));
    EXPECT_EQ(popupText("PopupZipViewSelectAll"), QStringLiteral("Select All"));
    select({"big.txt", "mid.txt"});
    EXPECT_EQ(popupText("PopupZipViewExtract"), QStringLiteral("Extract 2 selected files"));
    EXPECT_EQ(popupText("PopupZipViewDelete"), QStringLiteral("Delete 2 selected files"));
    view().selectAll();
    EXPECT_EQ(popupText("PopupZipViewSelectAll"), QStringLiteral("Un-Select All"));
}

TEST_F(ZipViewerTest, ExtractBesideTheArchiveAndDeleteEntries)
{
    const QString archive = sample();
    ASSERT_TRUE(open(archive));
    select({"mid.txt", "small.txt"});
    m_pane->PopupMenuZipViewExtractClick();
    EXPECT_EQ(listTree(home().root() + QStringLiteral("/view")), (QStringList{"a.zip", "dir", "dir/small.txt", "mid.txt"}))
        << qPrintable(listTree(home().root() + QStringLiteral("/view")).join(QLatin1Char(' ')));
    EXPECT_EQ(view().selectedCount(), 0);

    select({"big.txt"});
    prompter().answer(PromptButton::Yes);
    m_pane->deleteSelected();
    EXPECT_EQ(prompter().last().text, QStringLiteral("Delete selected file(s)?"));
    EXPECT_EQ(prompter().last().kind, PromptKind::Warning);
    EXPECT_EQ(column(ZipListModel::Name), (QStringList{"dir", "small.txt", "mid.txt"}));
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive}).output, "dir/\ndir/small.txt\nmid.txt\n");
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive}).exitCode, 0);
}

TEST_F(ZipViewerTest, ADamagedArchiveIsReportedAndTheFileManagerReturns)
{
    const QString bad = makeFile(QStringLiteral("bad.zip"), "PK\x03\x04 and nothing more");
    prompter().answer(PromptButton::Ok);
    EXPECT_FALSE(open(bad));
    EXPECT_TRUE(prompter().last().text.startsWith(QStringLiteral("Can not open Zip file to view \r\nbad.zip\r\n")));
    EXPECT_EQ(m_context->currentMode(), vmFileManager);
}

} // namespace
