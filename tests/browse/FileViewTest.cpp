// The file list widget driven as a user would: header clicks, view styles, lazy rows,
// the drive view and listings that are interrupted by a newer one.
#include "QtPrinters.h"

#include "DriveFixture.h"

#include "browse/FileSortOrder.h"
#include "browse/TFileViewFol.h"
#include "platform/FileName.h"
#include "platform/ui/PropertiesDialog.h"
#include "support/BrowseWaits.h"
#include "support/ByteFiles.h"
#include "support/FakeLauncher.h"

#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QFont>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace {

class FileViewTest : public DriveFixture {
protected:
    void SetUp() override
    {
        DriveFixture::SetUp();
        FileSortOrder::FileSortIndex = 0;
        FileSortOrder::DecendSort = false;
    }

    static QStringList captions(TFileViewFol& list)
    {
        QStringList result;
        for (int row = 0; row < list.model().rowCount(); ++row)
            result << list.model().index(row, 0).data().toString();
        return result;
    }

    static void clickHeader(TFileViewFol& list, int column)
    {
        auto* view = list.findChild<QTreeView*>(QStringLiteral("ReportView"));
        QHeaderView* header = view->header();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // Which way the arrow drawn at the right end of a header section points, as a user sees
    // it: "up" when the arrow's wide end is at the bottom, "down" when at the top.
    static std::string arrowSeen(QHeaderView* header, int section)
    {
        const QImage image = header->grab().toImage();
        const int right = header->sectionViewportPosition(section) + header->sectionSize(section);
        std::vector<int> dark(size_t(image.height()), 0);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = right - 24; x < right - 2; ++x)
                dark[size_t(y)] += image.pixelColor(x, y).lightness() < 160 ? 1 : 0;
        }
        const auto first = std::find_if(dark.begin(), dark.end(), [](int n) { return n > 0; });
        const auto last = std::find_if(dark.rbegin(), dark.rend(), [](int n) { return n > 0; }).base();
        if (first >= last)
            return "none";
        const auto middle = first + (last - first) / 2;
        const int upper = std::accumulate(first, middle, 0);
        const int lower = std::accumulate(last - (middle - first), last, 0);
        return lower > upper ? "up" : lower < upper ? "down" : "unclear";
    }
};

TEST_F(FileViewTest, HeaderClicksSortAndFlipTheDirectionWithFilesFirst)
{
    makeFile(QStringLiteral("drives/data/b.txt"), "12345");
    makeFile(QStringLiteral("drives/data/A.txt"), "1");
    makeFile(QStringLiteral("drives/data/c.txt"), "123");
    makeFolder(QStringLiteral("drives/data/Alpha"));
    makeFolder(QStringLiteral("drives/data/zulu"));
    TFileViewFol list;
    list.resize(600, 300);
    list.show();
    list.setShowFolders(true);
    list.setParentDirEnabled(false);
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    // First run: DecendSort false sorts names Z to A.
    EXPECT_EQ(captions(list), (QStringList{"c.txt", "b.txt", "A.txt", "zulu", "Alpha"}));
    auto* header = list.findChild<QTreeView*>(QStringLiteral("ReportView"))->header();
    EXPECT_EQ(arrowSeen(header, 0), "down");
    // The selection stays on its entry across the sort.
    list.currentView()->setCurrentIndex(list.model().index(1, 0));
    ASSERT_EQ(list.selectedPaths(), QStringList{m_data + "/b.txt"});

    clickHeader(list, 0);
    EXPECT_EQ(list.selectedPaths(), QStringList{m_data + "/b.txt"});
    EXPECT_EQ(list.currentView()->currentIndex().row(), 1);
    EXPECT_TRUE(FileSortOrder::DecendSort);
    EXPECT_EQ(captions(list), (QStringList{"A.txt", "b.txt", "c.txt", "Alpha", "zulu"}));
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(arrowSeen(header, 0), "up");
    EXPECT_EQ(arrowSeen(header, 2), "none");

    clickHeader(list, 1); // another column flips the direction too
    EXPECT_EQ(FileSortOrder::FileSortIndex, 1);
    EXPECT_FALSE(FileSortOrder::DecendSort);
    EXPECT_EQ(captions(list).mid(0, 3), (QStringList{"b.txt", "c.txt", "A.txt"}));
    EXPECT_EQ(list.currentView()->currentIndex().row(), 0);
    EXPECT_EQ(list.selectedPaths(), QStringList{m_data + "/b.txt"});
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(FileViewTest, AttributeMarksOnlyInReportAndListStyles)
{
    makeFile(QStringLiteral("drives/data/.secret"));
    makeFile(QStringLiteral("drives/data/readme.exe.txt"));
    makeFile(QStringLiteral("drives/data/plain"));
    TFileViewFol list;
    list.setFileType(TFileAttr::ftHidden | TFileAttr::ftArchive);
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    auto row = [&](const QString& name) {
        for (int r = 0; r < list.model().rowCount(); ++r) {
            if (list.model().index(r, 0).data().toString() == name)
                return list.model().index(r, 0);
        }
        return QModelIndex();
    };
    struct Case {
        TViewStyle style;
        bool marked;
    } cases[] = {{TViewStyle::vsReport, true}, {TViewStyle::vsList, true}, {TViewStyle::vsIcon, false}, {TViewStyle::vsSmallIcon, false}};
    for (const Case& c : cases) {
        list.setViewStyle(c.style);
        const QModelIndex hidden = row(".secret");
        const QModelIndex program = row("readme.exe.txt");
        ASSERT_TRUE(hidden.isValid() && program.isValid());
        EXPECT_EQ(hidden.data(Qt::ForegroundRole).isValid(), c.marked) << int(c.style);
        EXPECT_EQ(hidden.data(Qt::FontRole).value<QFont>().strikeOut(), c.marked) << int(c.style);
        EXPECT_EQ(program.data(Qt::FontRole).value<QFont>().bold(), c.marked) << int(c.style);
        EXPECT_FALSE(row("plain").data(Qt::ForegroundRole).isValid());
        EXPECT_EQ(list.currentView()->model(), &list.model());
    }
    // A hidden folder is struck through in its texts, not in its blank size (a stray dash).
    makeFolder(QStringLiteral("drives/data/.folder"));
    list.setViewStyle(TViewStyle::vsReport);
    list.setShowFolders(true);
    ASSERT_TRUE(waitForList(list));
    const QModelIndex folder = row(".folder");
    ASSERT_TRUE(folder.isValid());
    EXPECT_TRUE(folder.data(Qt::FontRole).value<QFont>().strikeOut());
    EXPECT_FALSE(folder.siblingAtColumn(1).data(Qt::FontRole).value<QFont>().strikeOut());
    EXPECT_TRUE(folder.siblingAtColumn(2).data(Qt::FontRole).value<QFont>().strikeOut());
    list.setLItemColorByATTR(false);
    ASSERT_TRUE(waitForList(list));
    EXPECT_FALSE(row(".secret").data(Qt::ForegroundRole).isValid());
}

TEST_F(FileViewTest, ListAndIconStylesGiveEveryNameRoomWhateverRowIsShortest)
{
    // The views size all items alike; the shortest name sorts last here, where they sample.
    for (const char* name : {"zz.txt", "holiday.jpg", "a-rather-long-name-for-a-list.txt", "a.md"})
        makeFile(QStringLiteral("drives/data/") + name);
    TFileViewFol list;
    list.resize(700, 300);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    auto rectOf = [&](const QString& name) {
        for (int r = 0; r < list.model().rowCount(); ++r) {
            const QModelIndex index = list.model().index(r, 0);
            if (index.data().toString() == name)
                return list.currentView()->visualRect(index);
        }
        return QRect();
    };
    struct Case {
        TViewStyle style;
        const char* name; // must show whole: the long name in the list styles, a usual one in icons
    } cases[] = {{TViewStyle::vsList, "a-rather-long-name-for-a-list.txt"},
                 {TViewStyle::vsSmallIcon, "a-rather-long-name-for-a-list.txt"},
                 {TViewStyle::vsIcon, "holiday.jpg"}};
    for (bool resorted : {false, true}) {
        for (const Case& c : cases) {
            list.setViewStyle(c.style);
            QCoreApplication::processEvents();
            const int text = list.currentView()->fontMetrics().horizontalAdvance(QString::fromLatin1(c.name));
            EXPECT_GE(rectOf(QString::fromLatin1(c.name)).width(), text) << int(c.style) << " resorted " << resorted;
        }
        list.setViewStyle(TViewStyle::vsReport);
        clickHeader(list, 0);
    }
}

TEST_F(FileViewTest, IconsAndTypesAreFetchedOnlyForRowsShown)
{
    for (int i = 0; i < 3000; ++i)
        makeFile(QStringLiteral("drives/data/f%1.txt").arg(i, 4, 10, QLatin1Char('0')));
    TFileViewFol list;
    list.resize(500, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    QTest::qWait(50);
    int fetched = 0;
    for (int row = 0; row < list.model().listing().count(); ++row)
        fetched += list.model().listing().at(row).IconFetched ? 1 : 0;
    EXPECT_GT(fetched, 0);
    EXPECT_LT(fetched, 300);
}

TEST_F(FileViewTest, DirectoryChangesMyComputerAndMissingFolders)
{
    makeFile(QStringLiteral("drives/data/one.txt"));
    TFileViewFol list;
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.Directory(), m_data + "/");
    EXPECT_EQ(list.model().rowCount(), 1);
    list.setDirectory(home().root() + QStringLiteral("/missing"));
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.Directory(), m_data + "/") << "a missing folder is ignored";
    EXPECT_EQ(list.model().rowCount(), 1);

    auto* header = list.findChild<QTreeView*>(QStringLiteral("ReportView"))->header();
    list.setColWidth_Name(210);
    EXPECT_EQ(header->sectionSize(0), 210);
    list.setDirectory(QStringLiteral("my computer"));
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(header->sectionSize(0), 160) << "the drive view has its own widths";
    EXPECT_EQ(list.ColWidth_Name(), 210);
    EXPECT_EQ(list.model().rowCount(), 6);
    EXPECT_EQ(list.Directory(), "my computer");
    EXPECT_EQ(list.model().headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "HD Size");
    EXPECT_EQ(list.model().headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Free Space");
    EXPECT_EQ(list.model().index(0, 1).data().toString(), "Fixed Disk");

    // A share that does not answer is not read at all: the list stays empty.
    makeFile(QStringLiteral("drives/nfs/remote.txt"));
    setNotReady(m_nfs);
    list.setDirectory(m_nfs);
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.Directory(), m_nfs + "/");
    EXPECT_EQ(list.model().rowCount(), 0);

    list.setDirectory(QStringLiteral("My Computer"));
    ASSERT_TRUE(waitForList(list));
    // Opening a drive row enters it.
    list.currentView()->setCurrentIndex(list.model().index(2, 0));
    list.OpenSelected();
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.Directory(), m_data + "/");
}

TEST_F(FileViewTest, TheParentEntryGoesUpToTheDriveViewAtARoot)
{
    const QString sub = makeFolder(QStringLiteral("drives/data/sub"));
    makeFile(QStringLiteral("drives/data/sub/file"));
    TFileViewFol list;
    list.setShowFolders(true);
    list.setParentDirCaption(QStringLiteral("Up"));
    list.setDirectory(sub);
    ASSERT_TRUE(waitForList(list));
    ASSERT_EQ(captions(list), (QStringList{" Up", "file"}));
    list.currentView()->setCurrentIndex(list.model().index(0, 0));
    list.OpenSelected();
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.Directory(), m_data + "/");
    list.GoUp();
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.Directory(), "My Computer") << "above a drive's root is the computer";
    list.GoUp();
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.Directory(), "My Computer");
}

TEST_F(FileViewTest, ClicksReportTheItemAndSelectionFigures)
{
    makeFile(QStringLiteral("drives/data/a.TXT"), "1234");
    makeFile(QStringLiteral("drives/data/b.txt"), "12");
    makeFile(QStringLiteral("drives/data/c.c"), "123456");
    FileSortOrder::DecendSort = true;
    TFileViewFol list;
    list.resize(500, 300);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    QSignalSpy changes(&list, &TFileViewFol::itemChanged);
    QAbstractItemView* view = list.currentView();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(list.model().index(1, 0)).center());
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.first().at(0).toString(), m_data + "/b.txt");
    EXPECT_EQ(list.SelectedItem(), m_data + "/b.txt");

    view->selectionModel()->select(list.model().index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(list.SelectedNumber(), 2);
    EXPECT_EQ(list.SelectedSize(), 6);
    EXPECT_TRUE(list.HasSelectedExtension(".txt"));
    EXPECT_FALSE(list.HasSelectedExtension(".c"));

    // The properties window opens for the item under the cursor.
    list.ShowItemProperties();
    auto* properties = list.findChild<PropertiesDialog*>();
    ASSERT_NE(properties, nullptr);
    EXPECT_TRUE(properties->isVisible());
    delete properties;

    view->clearSelection();
    EXPECT_EQ(list.SelectedNumber(), 3) << "nothing selected counts every item";
    EXPECT_EQ(list.SelectedSize(), 0);
    list.ShowItemProperties();
    EXPECT_EQ(list.findChild<PropertiesDialog*>(), nullptr) << "nothing selected, nothing shown";
}

TEST_F(FileViewTest, FindInFolderNeedsTheFocusAndReportsAMissingSearchProgram)
{
    TFileViewFol list;
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    list.show();
    list.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    FakeLauncher launcher;
    list.currentView()->clearFocus();
    list.FindInFolder();
    EXPECT_TRUE(prompter().records().isEmpty()) << "without the focus nothing happens";
    list.currentView()->setFocus();
    prompter().answer(PromptButton::Ok);
    list.FindInFolder();
    EXPECT_EQ(prompter().last().text, "Can not Find file  " + m_data + "\r\nNo file search program is installed.");
    launcher.addProgram(QStringLiteral("kfind"));
    list.FindInFolder();
    ASSERT_EQ(launcher.launches().size(), 1);
    EXPECT_EQ(launcher.launches().first().arguments, QStringList{m_data});
}

TEST_F(FileViewTest, ProgressIsReportedAndANewerListingSupersedesTheRunningOne)
{
    for (int i = 0; i < 50; ++i)
        makeFile(QStringLiteral("drives/data/f%1").arg(i));
    makeFile(QStringLiteral("drives/usb/only-on-usb"));
    // The folder answers slowly, as a far mount would: the user has time to pick another.
    const SlowFolderReads slow(std::chrono::milliseconds(15));
    TFileViewFol list;
    QSignalSpy progress(&list, &TFileViewFol::loadProgress);
    bool redirected = false;
    QObject::connect(&list, &TFileViewFol::loadProgress, &list, [&](int count, const QString&) {
        // The user picks another folder while the first one is still being read.
        if (count == 10 && !redirected) {
            redirected = true;
            list.setDirectory(m_usb);
        }
    });
    list.setDirectory(m_data);
    ASSERT_TRUE(QTest::qWaitFor([&] { return redirected && !list.isLoading(); }, 10000));
    EXPECT_TRUE(redirected);
    EXPECT_EQ(list.Directory(), m_usb + "/");
    ASSERT_EQ(list.model().rowCount(), 1);
    EXPECT_EQ(list.model().index(0, 0).data().toString(), "only-on-usb");
    EXPECT_GE(progress.size(), 11);
    EXPECT_EQ(progress.first().at(0).toInt(), 1);
}

TEST_F(FileViewTest, TheWindowKeepsAnsweringWhileASlowFolderIsListed)
{
    for (int i = 0; i < 200; ++i)
        makeFile(QStringLiteral("drives/data/f%1.txt").arg(199 - i, 3, 10, QLatin1Char('0')));
    const SlowFolderReads slow(std::chrono::milliseconds(2)); // 0.4 s for the folder
    TFileViewFol list;
    list.resize(500, 300);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(waitForList(list));
    // A timer stands for the user's input: the longest gap between its ticks is the longest
    // time the window would not have answered.
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 worst = 0;
    std::vector<int> rowsSeen;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, &list, [&] {
        worst = std::max(worst, clock.elapsed() - last);
        last = clock.elapsed();
        rowsSeen.push_back(list.model().rowCount());
    });
    clock.start();
    ticker.start();
    list.setDirectory(m_data);
    EXPECT_TRUE(list.isLoading()) << "setDirectory returns before the folder is read";
    ASSERT_TRUE(waitForList(list));
    worst = std::max(worst, clock.elapsed() - last);
    EXPECT_GE(clock.elapsed(), 350);
    EXPECT_LT(worst, 100) << "ms without an answer";
    // Rows came while the folder was still being read, not all at the end.
    EXPECT_TRUE(std::any_of(rowsSeen.begin(), rowsSeen.end(), [](int rows) { return rows > 0 && rows < 200; }));
    ASSERT_EQ(list.model().rowCount(), 200);
    EXPECT_EQ(list.model().index(0, 0).data().toString(), "f199.txt") << "in order once complete (Z to A)";
    EXPECT_EQ(list.model().index(199, 0).data().toString(), "f000.txt");
    EXPECT_EQ(list.model().index(0, 1).data().toString().trimmed(), "0 KB") << "the details followed";
}

TEST_F(FileViewTest, AFolderWithNothingToShowStillEndsItsListing)
{
    makeFile(QStringLiteral("drives/data/.only-hidden"));
    TFileViewFol list;
    ASSERT_TRUE(waitForList(list));
    list.setFileType(TFileAttr::ftArchive | TFileAttr::ftNormal);
    ASSERT_TRUE(waitForList(list));
    QSignalSpy listed(&list, &TFileViewFol::rowsListed);
    QSignalSpy loaded(&list, &TFileViewFol::loaded);
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.model().rowCount(), 0);
    EXPECT_EQ(listed.size(), 1) << "the window waits for it (the splash closes on it)";
    EXPECT_EQ(loaded.size(), 1);
}

TEST_F(FileViewTest, ASelectionAskedForWhileListingIsMadeWhenTheRowArrives)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        makeFile(QStringLiteral("drives/data/") + QLatin1String(name));
    TFileViewFol list;
    ASSERT_TRUE(waitForList(list));
    QSignalSpy changes(&list, &TFileViewFol::itemChanged);
    list.setDirectory(m_data);
    ASSERT_TRUE(list.isLoading());
    list.SelectFileWhenListed(m_data + "/b.txt");
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.selectedPaths(), QStringList{m_data + "/b.txt"});
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.first().at(0).toString(), m_data + "/b.txt");

    // Without a listing under way the selection is made at once.
    list.SelectFileWhenListed(m_data + "/a.txt");
    EXPECT_EQ(list.selectedPaths(), QStringList{m_data + "/a.txt"});
    EXPECT_EQ(list.currentView()->currentIndex().row(), 2);
}

// F2's editor: the whole name (a hidden extension too), its odd bytes kept where the text
// was not touched; Escape and an unchanged name send nothing. The rows themselves never take
// the typed text: the rename reads the folder again.
TEST_F(FileViewTest, NamesAreEditedInPlaceKeepingTheirBytes)
{
    const QString odd = m_data + QLatin1Char('/') + FileName::decode("\xff-odd.txt");
    const QByteArray native = FileName::encode(odd);
    ByteFiles::writeFile(native, "odd");
    makeFile(QStringLiteral("drives/data/plain.txt"));
    TFileViewFol list;
    list.resize(500, 300);
    list.show();
    list.setHideFileExt(true);
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    QSignalSpy edited(&list, &TFileViewFol::captionEdited);

    ASSERT_TRUE(list.EditItemCaption(odd));
    QLineEdit* editor = openNameEditor(*list.currentView());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("\uFFFD-odd.txt"));
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClicks(editor, QStringLiteral("new"));
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return edited.size() == 1; }));
    EXPECT_EQ(FileName::encode(edited.first().at(0).toString()), native);
    EXPECT_EQ(FileName::encode(edited.first().at(1).toString()), QByteArray("new\xff-odd.txt"));
    EXPECT_EQ(list.model().index(list.currentView()->currentIndex().row(), 0).data().toString(), QStringLiteral("\uFFFD-odd"));

    ASSERT_TRUE(list.EditItemCaption(m_data + "/plain.txt"));
    ASSERT_TRUE(typeName(*list.currentView(), QStringLiteral("given-up"), Qt::Key_Escape));
    ASSERT_TRUE(list.EditItemCaption(m_data + "/plain.txt"));
    ASSERT_TRUE(typeName(*list.currentView(), QStringLiteral("plain.txt")));
    QTest::qWait(20);
    EXPECT_EQ(edited.size(), 1);
    EXPECT_FALSE(list.EditItemCaption(m_data + "/missing.txt"));
}

// Re-read in place: the selection and the top row come back on the same entries, and an
// entry asked for becomes the selection.
TEST_F(FileViewTest, ARefreshInPlaceKeepsTheSelectionAndTheScrollPosition)
{
    for (int i = 0; i < 80; ++i)
        makeFile(QStringLiteral("drives/data/f%1.txt").arg(i, 2, 10, QLatin1Char('0')));
    FileSortOrder::DecendSort = true; // A to Z
    TFileViewFol list;
    list.resize(400, 200);
    list.show();
    list.setDirectory(m_data);
    ASSERT_TRUE(waitForList(list));
    QAbstractItemView* view = list.currentView();
    const auto rowOf = [&](const QString& name) {
        for (int row = 0; row < list.model().rowCount(); ++row) {
            if (list.model().index(row, 0).data().toString() == name)
                return list.model().index(row, 0);
        }
        return QModelIndex();
    };
    view->scrollTo(rowOf(QStringLiteral("f40.txt")), QAbstractItemView::PositionAtTop);
    view->selectionModel()->select(QItemSelection(rowOf(QStringLiteral("f41.txt")), rowOf(QStringLiteral("f42.txt"))),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QStringList selected{m_data + "/f41.txt", m_data + "/f42.txt"};
    ASSERT_EQ(list.selectedPaths(), selected);
    const auto topName = [&] { return view->indexAt(QPoint(1, 1)).data().toString(); };
    ASSERT_EQ(topName(), QStringLiteral("f40.txt"));

    makeFile(QStringLiteral("drives/data/f00a.txt"));
    list.RefreshListInPlace();
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.model().rowCount(), 81);
    EXPECT_EQ(list.selectedPaths(), selected);
    EXPECT_EQ(topName(), QStringLiteral("f40.txt"));

    const QString made = makeFile(QStringLiteral("drives/data/f41b.txt"));
    list.RefreshListInPlace(made);
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(list.selectedPaths(), QStringList{made});
    EXPECT_EQ(topName(), QStringLiteral("f40.txt"));

    // A plain refresh starts at the top, as it always has.
    list.RefreshList();
    ASSERT_TRUE(waitForList(list));
    EXPECT_EQ(topName(), QStringLiteral("f00.txt"));
}

} // namespace

