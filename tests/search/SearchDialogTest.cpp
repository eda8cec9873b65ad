// The file search dialog: hits arriving from the worker, the labels, Stop, the empty name
// box, the duplicate lists, the popup's delete, copy and save, the recent texts, and the
// main window's Find command with "Go to file".

#include "platform/FileName.h"
#include "platform/FileOperation.h"
#include "search/RecentTexts.h"
#include "search/SearchHitActions.h"
#include "search/ui/SearchCommands.h"
#include "search/ui/SearchHitModel.h"
#include "search/ui/TFormSearchDlg.h"
#include "support/FakeFileOperations.h"
#include "support/FakeWindowContext.h"
#include "support/TempHome.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <unistd.h>

namespace {

class SearchDialogTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_dialog = std::make_unique<TFormSearchDlg>(store(), tree());
    }
    void TearDown() override
    {
        m_dialog.reset();
        TempHomeTest::TearDown();
    }
    QString store() { return home().configHome() + QStringLiteral("/registry.txt"); }
    QString tree() { return home().root() + QStringLiteral("/tree"); }
    TFormSearchDlg& dialog() { return *m_dialog; }
    template<typename T>
    T* control(const char* name) { return m_dialog->findChild<T*>(QLatin1String(name)); }

    void search(const QString& name, const QString& text = QString())
    {
        control<QComboBox>("ComboBoxEditFileSearchStr")->setEditText(name);
        control<QComboBox>("ComboBoxEditTextSearchStr")->setEditText(text);
        dialog().ButtonSearchStopClick();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog().isSearching(), 10000);
        QCoreApplication::processEvents();
    }
    QStringList names(const SearchHitModel& model)
    {
        QStringList list;
        for (int row = 0; row < model.rowCount(); ++row)
            list << model.text(row, SearchHitModel::NameColumn);
        return list;
    }
    void selectRows(const char* list, std::initializer_list<int> rows)
    {
        QTreeView* view = control<QTreeView>(list);
        view->selectionModel()->clearSelection();
        for (int row : rows)
            view->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view->selectionModel()->setCurrentIndex(view->model()->index(*rows.begin(), 0), QItemSelectionModel::NoUpdate);
    }

private:
    std::unique_ptr<TFormSearchDlg> m_dialog;
};

TEST_F(SearchDialogTest, ShowsTheFormAsDesigned)
{
    EXPECT_EQ(dialog().windowTitle(), QStringLiteral("FolVane III (file search)"));
    EXPECT_EQ(control<QLabel>("LabelSearchPath")->text(), tree());
    EXPECT_TRUE(control<QCheckBox>("CheckBoxRecurse")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("CheckBoxsearchallfixeddrives")->isChecked());
    EXPECT_EQ(control<QPushButton>("ButtonSearchStop")->text(), QStringLiteral("Search"));
    EXPECT_EQ(control<QPushButton>("ButtonDup")->text(), QStringLiteral("Dupe search"));
    EXPECT_FALSE(control<QPushButton>("ButtonGoToFile")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("ButtonDup")->isHidden()); // no hits yet
    EXPECT_TRUE(control<QWidget>("Panel2")->isHidden());
    QStringList headers;
    for (int c = 0; c < SearchHitModel::ColumnCount; ++c)
        headers << dialog().hits().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(headers, (QStringList{QStringLiteral("File(s)"), QStringLiteral("In"), QStringLiteral("Size"),
                                    QStringLiteral("Type"), QStringLiteral("Modified")}));
}

TEST_F(SearchDialogTest, ListsHitsWithFolderSizeAndTotals)
{
    makeFile(QStringLiteral("tree/Q3 REPORT.doc"), QByteArray(1500, 'r'));
    makeFile(QStringLiteral("tree/sub/report.txt"), "12345");
    makeFile(QStringLiteral("tree/sub/other.txt"), "x");
    search(QStringLiteral("report"));
    dialog().sortColumn(SearchHitModel::NameColumn); // the first click sorts descending
    EXPECT_EQ(names(dialog().hits()), (QStringList{QStringLiteral("report.txt"), QStringLiteral("Q3 REPORT.doc")}));
    EXPECT_EQ(dialog().hits().text(1, SearchHitModel::FolderColumn), tree() + QLatin1Char('/'));
    EXPECT_EQ(dialog().hits().text(1, SearchHitModel::SizeColumn), QLocale().toString(1500));
    EXPECT_EQ(control<QLabel>("LabelHits")->text(),
              QStringLiteral("Hits:2 Total bytes:") + QLocale().toString(1505) + QStringLiteral(" bytes"));
    EXPECT_FALSE(control<QPushButton>("ButtonDup")->isHidden());
    EXPECT_TRUE(control<QPushButton>("ButtonClear")->isEnabled());
    selectRows("ListView1", {0});
    dialog().ListView1Change();
    EXPECT_TRUE(control<QPushButton>("ButtonGoToFile")->isEnabled());
    EXPECT_EQ(dialog().selectedPath(), tree() + QStringLiteral("/sub/report.txt"));
    EXPECT_EQ(control<QLabel>("LabelShowProgress")->text(), tree() + QStringLiteral("/sub/report.txt"));
}

TEST_F(SearchDialogTest, AnEmptyNameBoxDoesNothingEvenWithAText)
{
    makeFile(QStringLiteral("tree/a.txt"), "text");
    control<QComboBox>("ComboBoxEditTextSearchStr")->setEditText(QStringLiteral("text"));
    dialog().ButtonSearchStopClick();
    EXPECT_FALSE(dialog().isSearching());
    EXPECT_EQ(dialog().hits().rowCount(), 0);
}

TEST_F(SearchDialogTest, StopEndsTheSearchAtOnce)
{
    const QString big = makeFile(QStringLiteral("tree/huge.bin"));
    ASSERT_EQ(::truncate(FileName::encode(big).constData(), off_t(16) << 30), 0);
    control<QComboBox>("ComboBoxEditFileSearchStr")->setEditText(QStringLiteral("*"));
    control<QComboBox>("ComboBoxEditTextSearchStr")->setEditText(QStringLiteral("never there"));
    dialog().ButtonSearchStopClick();
    EXPECT_EQ(control<QPushButton>("ButtonSearchStop")->text(), QStringLiteral("Stop"));
    QTest::qWait(50);
    ASSERT_TRUE(dialog().isSearching());
    dialog().ButtonSearchStopClick();
    EXPECT_EQ(control<QPushButton>("ButtonSearchStop")->text(), QStringLiteral("Search"));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog().isSearching(), 100);
}

TEST_F(SearchDialogTest, UnreadableFilesAreReportedInOneBox)
{
    makeFile(QStringLiteral("tree/ok.txt"), "word");
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(::symlink("/nowhere", FileName::encode(tree() + QStringLiteral("/gone%1.txt").arg(i)).constData()), 0);
    search(QStringLiteral("*.txt"), QStringLiteral("word"));
    EXPECT_EQ(names(dialog().hits()), QStringList{QStringLiteral("ok.txt")});
    // The report is posted to the UI thread as the search ends; give a loaded machine time to deliver it.
    QTRY_VERIFY_WITH_TIMEOUT(!prompter().records().isEmpty(), 5000);
    ASSERT_EQ(prompter().records().size(), 1);
    EXPECT_EQ(prompter().last().text.count(QStringLiteral("Could not check file... ")), 3);
    EXPECT_TRUE(prompter().last().text.contains(tree() + QStringLiteral("/gone1.txt for... word")));
}

TEST_F(SearchDialogTest, DupeSearchFillsTheTwoListsAsTheRowsRule)
{
    for (const char* name : {"A.dat", "B.dat", "C.dat"})
        makeFile(QStringLiteral("tree/") + QLatin1String(name), "identical");
    makeFile(QStringLiteral("tree/D.dat"), "different"); // the same size, other bytes
    search(QStringLiteral("*.dat"));
    dialog().sortColumn(SearchHitModel::NameColumn);
    dialog().sortColumn(SearchHitModel::NameColumn); // ascending: A, B, C, D
    dialog().ButtonDupClick();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog().isComparing(), 10000);
    EXPECT_EQ(names(dialog().originals()), QStringList{QStringLiteral("C.dat")});
    EXPECT_EQ(names(dialog().duplicates()), (QStringList{QStringLiteral("B.dat"), QStringLiteral("A.dat"), QStringLiteral("C.dat"),
                                                         QStringLiteral("A.dat"), QStringLiteral("C.dat"), QStringLiteral("B.dat")}));
    EXPECT_FALSE(control<QWidget>("Panel2")->isHidden());
    EXPECT_EQ(control<QPushButton>("ButtonDup")->text(), QStringLiteral("Dupe search"));
}

TEST_F(SearchDialogTest, CopyRemovesTheRowsThoughTheOriginalsStay)
{
    makeFile(QStringLiteral("tree/one.txt"), "1");
    makeFile(QStringLiteral("tree/two.txt"), "2");
    search(QStringLiteral("*.txt"));
    FakeFileOperations operations;
    pickers().answer(home().root() + QStringLiteral("/target"));
    selectRows("ListView1", {0, 1});
    dialog().copySelected(false);
    EXPECT_EQ(dialog().hits().rowCount(), 0);
    ASSERT_EQ(operations.requests().size(), 1);
    EXPECT_EQ(operations.requests().first().kind, FileOperationKind::Copy);
    EXPECT_EQ(operations.requests().first().targets, QStringList{home().root() + QStringLiteral("/target")});
    EXPECT_EQ(pickers().captions(), QStringList{QStringLiteral("Browse")});
    // A failed move keeps the rows removed and says so in the "ERROR" box.
    search(QStringLiteral("*.txt"));
    operations.answer(FileOperationResult{false, true, QString()});
    pickers().answer(home().root() + QStringLiteral("/target"));
    selectRows("ListView1", {1});
    dialog().copySelected(true);
    EXPECT_EQ(dialog().hits().rowCount(), 1);
    EXPECT_EQ(prompter().last().text, SearchHitActions::kTransferFailed);
    EXPECT_EQ(prompter().last().caption, QStringLiteral("ERROR"));
}

TEST_F(SearchDialogTest, DeleteSendsTheSelectedHitsToTheTrashAndDropsThemFromEveryList)
{
    makeFile(QStringLiteral("tree/x.dat"), "same");
    makeFile(QStringLiteral("tree/y.dat"), "same");
    search(QStringLiteral("*.dat"));
    dialog().ButtonDupClick();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog().isComparing(), 10000);
    ASSERT_EQ(dialog().duplicates().rowCount(), 2);
    FakeFileOperations operations;
    operations.setPassThrough(true);
    selectRows("ListView3", {0});
    const QString gone = FileName::decode(dialog().duplicates().hit(0).path());
    prompter().answer(PromptButton::Yes); // the engine's "Move ... to the Trash?"
    QTest::keyClick(control<QTreeView>("ListView3"), Qt::Key_Delete);
    ASSERT_EQ(operations.requests().size(), 1);
    EXPECT_EQ(operations.requests().first().kind, FileOperationKind::Delete);
    EXPECT_EQ(operations.requests().first().sources, QStringList{gone});
    EXPECT_TRUE(operations.requests().first().flags.testFlag(FileOperationFlag::AllowUndo));
    EXPECT_EQ(dialog().hits().rowCount(), 1);
    EXPECT_EQ(dialog().duplicates().rowCount(), 1);
    EXPECT_FALSE(QFile::exists(gone));
    EXPECT_EQ(prompter().records().size(), 1); // no "ERROR" box
}

TEST_F(SearchDialogTest, SaveListWritesTheSelectedPathsFromTheLastRowUp)
{
    makeFile(QStringLiteral("tree/a.txt"), "1");
    makeFile(QStringLiteral("tree/b.txt"), "2");
    search(QStringLiteral("*.txt"));
    dialog().sortColumn(SearchHitModel::NameColumn);
    dialog().sortColumn(SearchHitModel::NameColumn); // a.txt, b.txt
    const QString list = home().root() + QStringLiteral("/saved");
    pickers().answer(list);
    selectRows("ListView1", {0, 1});
    dialog().saveSelectedList();
    QFile file(list + QStringLiteral(".TXT"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), FileName::encode(tree() + QStringLiteral("/b.txt\n") + tree() + QStringLiteral("/a.txt\n")));
    EXPECT_EQ(pickers().captions(), QStringList{QStringLiteral("Create search list text file")});
    EXPECT_EQ(prompter().last().text, list + QStringLiteral(".TXT\r\nCreated from selected files."));
    // Cancelled: nothing written, nothing shown.
    prompter().clear();
    pickers().answer(QString());
    dialog().saveSelectedList();
    EXPECT_TRUE(prompter().records().isEmpty());
}

TEST_F(SearchDialogTest, SearchingKeepsTheTextsInTheirRecentLists)
{
    makeFile(QStringLiteral("tree/a.txt"), "needle");
    int fileIndex = -1, findIndex = -1;
    dialog().setHistoryIndexes(&fileIndex, &findIndex);
    search(QStringLiteral("*.txt"), QStringLiteral("needle"));
    dialog().reject();
    EXPECT_EQ(RecentTexts::load(store(), RecentTexts::kNames), QStringList{QStringLiteral("*.txt")});
    EXPECT_EQ(RecentTexts::load(store(), RecentTexts::kContents), QStringList{QStringLiteral("needle")});
    // A new dialog shows the first item of each list.
    TFormSearchDlg again(store(), tree());
    EXPECT_EQ(again.findChild<QComboBox*>(QStringLiteral("ComboBoxEditFileSearchStr"))->currentText(), QStringLiteral("*.txt"));
    EXPECT_EQ(again.findChild<QComboBox*>(QStringLiteral("ComboBoxEditTextSearchStr"))->currentText(), QStringLiteral("needle"));
}

TEST_F(SearchDialogTest, FindOpensTheDialogAtTheTreesFolderAndGoToFileShowsTheHit)
{
    makeFile(QStringLiteral("tree/target.txt"), "t");
    QMainWindow window;
    FakeWindowContext context(&window);
    context.setSettingsFile(store());
    context.navigator().goTo(tree());
    SearchCommands commands(context, nullptr, nullptr);
    EXPECT_EQ(commands.findAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<TFormSearchDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->startFolder(), tree());
        shown->findChild<QComboBox*>(QStringLiteral("ComboBoxEditFileSearchStr"))->setEditText(QStringLiteral("target"));
        QObject::connect(shown, &TFormSearchDlg::searchFinished, shown, [shown] {
            QTreeView* list = shown->findChild<QTreeView*>(QStringLiteral("ListView1"));
            list->setCurrentIndex(list->model()->index(0, 0));
            shown->findChild<QPushButton*>(QStringLiteral("ButtonGoToFile"))->click();
        });
        shown->ButtonSearchStopClick();
    });
    commands.findAction()->trigger();
    EXPECT_EQ(context.switches, QList<TViewMode>{vmFileManager});
    EXPECT_EQ(commands.lastHit(), tree() + QStringLiteral("/target.txt"));
    EXPECT_EQ(context.navigator().currentFolder(), tree() + QLatin1Char('/'));
}

} // namespace
