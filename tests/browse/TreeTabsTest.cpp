// The folder tree and the drive tab strip, following a navigator with a file list as the
// main window links them, driven with the mouse and the public operations.
#include "QtPrinters.h"

#include "DriveFixture.h"

#include "browse/BrowseNavigator.h"
#include "browse/BrowsePaneLinks.h"
#include "browse/FolderDrag.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TPathViewFolPopUp.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/FileName.h"
#include "support/BrowseWaits.h"
#include "support/FakeLauncher.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QUrl>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <functional>

#include <sys/stat.h>

namespace {

class TreeTabsTest : public DriveFixture {
protected:
    void SetUp() override
    {
        DriveFixture::SetUp();
        m_rock = makeFolder(QStringLiteral("drives/data/Music/Rock"));
        makeFolder(QStringLiteral("drives/data/Docs"));
        makeFolder(QStringLiteral("drives/data/.cache/x"));
        makeFolder(QStringLiteral("drives/data/secret"));
        makeFile(QStringLiteral("drives/data/.hidden"), "secret\n");
        makeFile(QStringLiteral("drives/data/Music/Rock/song.mp3"));
        makeFolder(QStringLiteral("drives/nfs/empty"));
        makeFile(QStringLiteral("drives/usb/stick.txt"));
    }

    // The three widgets linked as in the main window: tabs over tree and list.
    struct Panes {
        QWidget window;
        BrowseNavigator navigator;
        TTabControlDriveFol* tabs;
        TPathViewFol* tree;
        TFileViewFol* list;
    };

    std::unique_ptr<Panes> makePanes(bool singleDrive, const QString& current)
    {
        auto panes = std::make_unique<Panes>();
        auto* layout = new QVBoxLayout(&panes->window);
        panes->tabs = new TTabControlDriveFol(&panes->window);
        panes->tree = new TPathViewFol(&panes->window);
        panes->list = new TFileViewFol(&panes->window);
        layout->addWidget(panes->tabs);
        layout->addWidget(panes->tree);
        layout->addWidget(panes->list);
        // The folder the panes start from, known before they follow the navigator.
        panes->navigator.goTo(current);
        panes->tree->setCurrentFolder(current);
        panes->tree->setSingleDrive(singleDrive);
        BrowsePaneLinks::link(panes->navigator, {panes->tabs, panes->tree, panes->list});
        panes->tree->RebuildTree();
        panes->window.resize(700, 700);
        panes->window.show();
        settle(*panes);
        return panes;
    }

    // Waits until the list has its rows and the tree the subfolders it is reading.
    static void settle(const Panes& panes)
    {
        ASSERT_TRUE(waitForList(*panes.list));
        ASSERT_TRUE(waitForTree(*panes.tree));
    }

    static QStringList childCaptions(QTreeWidgetItem* node)
    {
        QStringList captions;
        for (int i = 0; i < node->childCount(); ++i)
            captions << node->child(i)->text(0);
        return captions;
    }

    static void clickNode(TPathViewFol* tree, QTreeWidgetItem* node)
    {
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    }

    static void clickTab(TTabControlDriveFol* tabs, int index)
    {
        // Long paths make more tabs than fit; bring the tab into view first, as a user
        // would with the scroll buttons.
        {
            const QSignalBlocker blocker(tabs);
            tabs->setCurrentIndex(index);
        }
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    QString m_rock;
};

TEST_F(TreeTabsTest, AllDrivesAndSingleDriveModes)
{
    auto panes = makePanes(false, m_rock);
    QTreeWidgetItem* root = panes->tree->rootNode();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->text(0), "My Computer");
    EXPECT_EQ(root->childCount(), 6);
    EXPECT_FALSE(panes->tabs->isVisible()) << "the strip is for single-drive mode";
    EXPECT_TRUE(panes->list->ShowFolders());

    panes->tree->setSingleDrive(true);
    settle(*panes);
    ASSERT_EQ(panes->tree->rootNode()->childCount(), 1);
    EXPECT_EQ(panes->tree->GetNodePath(panes->tree->rootNode()->child(0)), m_data);
    EXPECT_TRUE(panes->tabs->isVisible());
    EXPECT_FALSE(panes->list->ShowFolders());
    EXPECT_EQ(panes->tabs->count(), 6);
    EXPECT_EQ(panes->tabs->tabText(panes->tabs->currentIndex()), m_rock);
    EXPECT_EQ(panes->tabs->tabRect(0).height(), 38);
    panes->tabs->setShowDrives(false);
    EXPECT_EQ(panes->tabs->tabRect(0).height(), 24);
    EXPECT_TRUE(panes->tabs->tabIcon(0).isNull());
}

TEST_F(TreeTabsTest, FoldersAreReadOnFirstExpansionThroughTheFolderFilter)
{
    auto panes = makePanes(false, m_data);
    TPathViewFol* tree = panes->tree;
    tree->setFolderType(TFileAttr::ftReadOnly | TFileAttr::ftArchive);
    QTreeWidgetItem* data = tree->driveNodeOf(m_data);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->childCount(), 0);
    EXPECT_EQ(data->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    data->setExpanded(true);
    settle(*panes);
    EXPECT_EQ(childCaptions(data), (QStringList{"Docs", "Music"}));
    EXPECT_EQ(data->child(0)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator) << "Docs has no subfolder";
    EXPECT_EQ(data->child(1)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

    // With hidden folders allowed, a rebuild lists the dot-folder and the one in .hidden.
    tree->setFolderType(TFileAttr::ftReadOnly | TFileAttr::ftArchive | TFileAttr::ftHidden);
    tree->RebuildTree();
    settle(*panes);
    data = tree->driveNodeOf(m_data);
    data->setExpanded(true);
    settle(*panes);
    EXPECT_EQ(childCaptions(data), (QStringList{".cache", "Docs", "Music", "secret"}));

    // A network folder keeps its expand button without being asked.
    QTreeWidgetItem* nfs = tree->driveNodeOf(m_nfs);
    nfs->setExpanded(true);
    settle(*panes);
    ASSERT_EQ(childCaptions(nfs), (QStringList{"empty"}));
    EXPECT_EQ(nfs->child(0)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    nfs->child(0)->setExpanded(true);
    settle(*panes);
    EXPECT_EQ(nfs->child(0)->childCount(), 0);
    EXPECT_EQ(nfs->child(0)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

TEST_F(TreeTabsTest, ExpandAllStopsAtFoldersNotReadYet)
{
    makeFolder(QStringLiteral("drives/data/Music/Jazz/Live"));
    auto panes = makePanes(false, m_data);
    TPathViewFol* tree = panes->tree;
    ASSERT_TRUE(tree->GoToPath(m_data + "/Music"));
    settle(*panes);
    QTreeWidgetItem* music = tree->currentItem();
    tree->ExpandCollapse(music);
    EXPECT_FALSE(music->isExpanded());
    tree->ExpandCollapse(music);
    EXPECT_TRUE(music->isExpanded());
    ASSERT_EQ(childCaptions(music), (QStringList{"Jazz", "Rock"}));
    EXPECT_FALSE(music->child(0)->isExpanded()) << "Jazz was never read, so it is not read now";
    EXPECT_EQ(music->child(0)->childCount(), 0);
}

TEST_F(TreeTabsTest, GoToPathSelectsTheFolderOrChangesNothing)
{
    auto panes = makePanes(false, m_data);
    TPathViewFol* tree = panes->tree;
    tree->setFolderType(TFileAttr::ftReadOnly | TFileAttr::ftArchive);
    QSignalSpy changes(tree, &TPathViewFol::dirChanged);
    ASSERT_TRUE(tree->GoToPath(m_rock));
    settle(*panes);
    EXPECT_EQ(tree->SelectedPath(), m_rock + "/");
    EXPECT_EQ(tree->GetNodePath(tree->currentItem()), m_rock);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.first().at(0).toString(), m_rock + "/");

    for (const QString& path : QStringList{home().root() + "/drives/data/missing", m_data + "/.cache/x", QString()}) {
        EXPECT_FALSE(tree->GoToPath(path)) << path.toStdString();
        EXPECT_EQ(tree->SelectedPath(), m_rock + "/");
    }
    EXPECT_EQ(changes.size(), 1);
}

// Two folders whose names show alike: one not UTF-8 ("R\xe9"), one with a real U+FFFD. Both
// show the replacement mark, and each is reached by its own path; a drag carries the bytes.
TEST_F(TreeTabsTest, NamesThatAreNotUtf8ShowTheMarkAndAreReachedByTheirBytes)
{
    const QString music = m_data + QStringLiteral("/Music/");
    const QString odd = music + FileName::decode("R\xe9");
    const QString alike = music + QStringLiteral("R\uFFFD");
    ASSERT_EQ(::mkdir(FileName::encode(odd).constData(), 0755), 0);
    ASSERT_EQ(::mkdir(FileName::encode(alike).constData(), 0755), 0);
    auto panes = makePanes(false, m_data);
    TPathViewFol* tree = panes->tree;
    for (const QString& folder : {odd, alike, odd}) {
        SCOPED_TRACE(FileName::encode(folder).toHex().toStdString());
        ASSERT_TRUE(tree->GoToPath(folder));
        EXPECT_EQ(FileName::encode(tree->GetNodePath(tree->currentItem())), FileName::encode(folder));
        EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("R\uFFFD"));
    }
    std::unique_ptr<QMimeData> data(FolderDrag::dragData(odd, false));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->data(QStringLiteral("text/uri-list")).contains("/Music/R%E9")) << data->data(QStringLiteral("text/uri-list")).toStdString();
}

// Folder nodes carry the attributes the list reads (a leading dot, the parent's ".hidden"
// file), so the tree draws them as the list does. Their captions are edited in place: the
// name comes back as bytes, the caption itself waits for the rename; the root and the drives
// are not edited, Escape and an unchanged name send nothing.
TEST_F(TreeTabsTest, FolderNodesCarryTheirAttributesAndAreNamedInPlace)
{
    const QString odd = m_data + QStringLiteral("/Music/") + FileName::decode("R\xe9tro");
    ASSERT_EQ(::mkdir(FileName::encode(odd).constData(), 0755), 0);
    // Brothers that arrive after the chosen folder's node: it stays in view.
    for (int i = 0; i < 60; ++i)
        makeFolder(QStringLiteral("drives/data/Album %1").arg(i, 2, 10, QLatin1Char('0')));
    auto panes = makePanes(false, m_data);
    TPathViewFol* tree = panes->tree;
    tree->setFolderType(TFileAttr::ftReadOnly | TFileAttr::ftArchive | TFileAttr::ftHidden);
    tree->RebuildTree();
    ASSERT_TRUE(tree->GoToPath(odd));
    settle(*panes);
    EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualItemRect(tree->currentItem())));
    for (int i = 0; i < 60; ++i)
        QDir(m_data + QStringLiteral("/Album %1").arg(i, 2, 10, QLatin1Char('0'))).removeRecursively();
    tree->RebuildTree();
    ASSERT_TRUE(tree->GoToPath(odd));
    settle(*panes);
    QTreeWidgetItem* data = tree->driveNodeOf(m_data);
    ASSERT_EQ(childCaptions(data), (QStringList{".cache", "Docs", "Music", "secret"}));
    for (int i = 0; i < data->childCount(); ++i) {
        const uint32_t attributes = data->child(i)->data(0, TPathViewFol::AttributesRole).toUInt();
        const bool hidden = data->child(i)->text(0) == ".cache" || data->child(i)->text(0) == "secret";
        EXPECT_EQ(bool(attributes & FileAttribute::Hidden), hidden) << data->child(i)->text(0).toStdString();
        EXPECT_TRUE(attributes & FileAttribute::Directory);
    }

    EXPECT_FALSE(tree->EditFolderNode(m_data));
    EXPECT_EQ(openNameEditor(*tree), nullptr);
    QSignalSpy edited(tree, &TPathViewFol::captionEdited);
    ASSERT_TRUE(tree->EditFolderNode(odd));
    QLineEdit* editor = openNameEditor(*tree);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("R\uFFFDtro"));
    // However deep the folder and narrow the pane, the label opened is as wide as the name.
    tree->resize(60, tree->height());
    QCoreApplication::processEvents();
    EXPECT_GE(editor->width(), editor->fontMetrics().horizontalAdvance(editor->text()));
    // The node changing meanwhile (its subfolders read) leaves the name selected to type over.
    tree->currentItem()->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    EXPECT_EQ(editor->selectedText(), QStringLiteral("R\uFFFDtro"));
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, QStringLiteral(" 80s"));
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return edited.size() == 1; }));
    EXPECT_EQ(FileName::encode(edited.first().at(0).toString()), FileName::encode(odd));
    EXPECT_EQ(FileName::encode(edited.first().at(1).toString()), QByteArray("R\xe9tro 80s"));
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("R\uFFFDtro"));

    ASSERT_TRUE(tree->EditFolderNode(odd));
    ASSERT_TRUE(typeName(*tree, QStringLiteral("given up"), Qt::Key_Escape));
    ASSERT_TRUE(tree->EditFolderNode(odd));
    QTest::keyClick(openNameEditor(*tree), Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_EQ(edited.size(), 1);

    // A folder made meanwhile joins its read parent in its sorted place, nothing chosen.
    const QString cats = makeFolder(QStringLiteral("drives/data/Cats"));
    tree->AddFolderNodeOf(cats);
    EXPECT_EQ(childCaptions(data), (QStringList{".cache", "Cats", "Docs", "Music", "secret"}));
    EXPECT_EQ(tree->GetNodePath(tree->currentItem()), odd);
}

TEST_F(TreeTabsTest, ChoosingANodeFillsTheListAndTheTabRemembersIt)
{
    auto panes = makePanes(true, m_data);
    ASSERT_TRUE(panes->tree->GoToPath(m_rock));
    settle(*panes);
    clickNode(panes->tree, panes->tree->currentItem());
    settle(*panes);
    EXPECT_EQ(panes->list->Directory(), m_rock + "/");
    EXPECT_EQ(panes->list->model().index(0, 0).data().toString(), "song.mp3");
    const int data = panes->tabs->tabList().indexOfDrive(m_data);
    const int usb = panes->tabs->tabList().indexOfDrive(m_usb);
    EXPECT_EQ(panes->tabs->tabText(data), m_rock);

    clickTab(panes->tabs, usb);
    settle(*panes);
    EXPECT_EQ(panes->list->Directory(), m_usb + "/");
    EXPECT_EQ(panes->tree->rootNode()->childCount(), 1);
    EXPECT_EQ(panes->tree->GetNodePath(panes->tree->rootNode()->child(0)), m_usb);
    EXPECT_EQ(panes->tabs->tabText(data), m_rock) << "the data tab keeps its folder";

    clickTab(panes->tabs, data);
    settle(*panes);
    EXPECT_EQ(panes->list->Directory(), m_rock + "/");
    EXPECT_EQ(panes->tree->SelectedPath(), m_rock + "/");
    // The root stands for the computer: the list shows the drives, the tabs keep their texts.
    clickNode(panes->tree, panes->tree->rootNode());
    settle(*panes);
    EXPECT_EQ(panes->tree->SelectedPath(), "My Computer");
    EXPECT_EQ(panes->list->Directory(), "My Computer");
    EXPECT_EQ(panes->list->model().rowCount(), 6);
    EXPECT_EQ(panes->tabs->tabText(data), m_rock);
    // The keyboard chooses too.
    QTest::keyClick(panes->tree, Qt::Key_Down);
    settle(*panes);
    EXPECT_EQ(panes->list->Directory(), m_data + "/");
}

TEST_F(TreeTabsTest, GoingToAFolderByPathMovesTheSelectedTabWithTheTree)
{
    // The main window's go-to sequence: the navigator reloads the folder, the panes follow.
    auto panes = makePanes(true, m_data);
    const int data = panes->tabs->tabList().indexOfDrive(m_data);
    ASSERT_EQ(panes->tabs->tabText(data), m_data);
    panes->navigator.reload(m_rock + "/");
    ASSERT_EQ(panes->tree->SelectedPath(), m_rock + "/");
    settle(*panes);
    EXPECT_EQ(panes->tabs->currentIndex(), data);
    EXPECT_EQ(panes->tabs->tabText(data), m_rock);

    // Away to another drive and back by the tab: the folder the path led to, not the old one.
    clickTab(panes->tabs, panes->tabs->tabList().indexOfDrive(m_usb));
    settle(*panes);
    clickTab(panes->tabs, data);
    settle(*panes);
    EXPECT_EQ(panes->tree->SelectedPath(), m_rock + "/");
    EXPECT_EQ(panes->list->Directory(), m_rock + "/");
}

TEST_F(TreeTabsTest, ATabWhoseFolderWasRemovedGoesToTheNearestParent)
{
    auto panes = makePanes(true, m_rock);
    const int data = panes->tabs->tabList().indexOfDrive(m_data);
    ASSERT_EQ(panes->tabs->tabText(data), m_rock);
    ASSERT_TRUE(QDir(m_rock).removeRecursively());
    clickTab(panes->tabs, data);
    settle(*panes);
    EXPECT_EQ(prompter().records().size(), 0) << "the drive is ready: no warning";
    EXPECT_EQ(panes->list->Directory(), m_data + "/Music/");
    EXPECT_EQ(panes->tree->GetNodePath(panes->tree->currentItem()), m_data + "/Music");
}

TEST_F(TreeTabsTest, OpeningAFolderOnAnotherDriveFromTheListMovesTreeAndTabs)
{
    const QString photos = makeFolder(QStringLiteral("drives/usb/photos"));
    auto panes = makePanes(true, m_rock);
    panes->list->setDirectory(QStringLiteral("My Computer"));
    settle(*panes);
    const int usbRow = [&] {
        for (int row = 0; row < panes->list->model().rowCount(); ++row) {
            if (panes->list->model().index(row, 0).data(FileListModel::FullPathRole).toString() == m_usb)
                return row;
        }
        return -1;
    }();
    ASSERT_GE(usbRow, 0);
    panes->list->currentView()->setCurrentIndex(panes->list->model().index(usbRow, 0));
    panes->list->OpenSelected();
    settle(*panes);
    EXPECT_EQ(panes->list->Directory(), m_usb + "/");
    EXPECT_EQ(panes->tree->GetNodePath(panes->tree->rootNode()->child(0)), m_usb);
    EXPECT_EQ(panes->tabs->currentIndex(), panes->tabs->tabList().indexOfDrive(m_usb));
    EXPECT_EQ(panes->tabs->tabText(panes->tabs->tabList().indexOfDrive(m_data)), m_rock);

    ASSERT_TRUE(panes->tree->GoToPath(photos));
    settle(*panes);
    EXPECT_EQ(panes->tree->GetNodePath(panes->tree->currentItem()), photos);
}

TEST_F(TreeTabsTest, ANotReadyDriveIsReportedAndNotEntered)
{
    auto panes = makePanes(true, m_data);
    panes->list->setDirectory(m_data);
    settle(*panes);
    setNotReady(m_usb);
    prompter().answer(PromptButton::Ok);
    clickTab(panes->tabs, panes->tabs->tabList().indexOfDrive(m_usb));
    settle(*panes);
    ASSERT_EQ(prompter().records().size(), 1);
    EXPECT_EQ(prompter().last().kind, PromptKind::Error);
    EXPECT_EQ(prompter().last().buttons, PromptButton::Ok | PromptButton::Retry);
    EXPECT_EQ(prompter().last().text, "Removable drive " + m_usb + ":\r\nThe device is not ready!");
    EXPECT_EQ(panes->list->Directory(), m_data + "/");
    EXPECT_EQ(panes->tabs->currentIndex(), panes->tabs->tabList().indexOfDrive(m_data));
    EXPECT_EQ(panes->tree->GetNodePath(panes->tree->rootNode()->child(0)), m_data);

    // In the tree (all drives), choosing the stick warns and goes back to where it was.
    panes->tree->setSingleDrive(false);
    settle(*panes);
    ASSERT_TRUE(panes->tree->GoToPath(m_data));
    settle(*panes);
    clickNode(panes->tree, panes->tree->currentItem());
    settle(*panes);
    prompter().answer(PromptButton::Ok);
    clickNode(panes->tree, panes->tree->driveNodeOf(m_usb));
    settle(*panes);
    EXPECT_EQ(prompter().last().kind, PromptKind::Warning);
    EXPECT_TRUE(prompter().last().text.startsWith("There is no disk in Drive " + m_usb));
    EXPECT_EQ(panes->tree->SelectedPath(), m_data);
    EXPECT_EQ(panes->list->Directory(), m_data + "/");
}

TEST_F(TreeTabsTest, OnlyFoldersBelowADriveRootAreDraggedAndOnlyAfterAMove)
{
    struct Case {
        QString folder;
        bool driveRoot;
        bool dragged;
    } cases[] = {
        {m_rock, false, true},
        {m_data, true, false},
        {QStringLiteral("My Computer"), false, false},
        {m_data + "/missing", false, false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QMimeData> data(FolderDrag::dragData(c.folder, c.driveRoot));
        EXPECT_EQ(data != nullptr, c.dragged) << c.folder.toStdString();
        if (data)
            EXPECT_EQ(data->urls(), QList<QUrl>{QUrl::fromLocalFile(c.folder)});
    }
    FolderDrag drag;
    EXPECT_FALSE(drag.reachedDistance(QPoint(100, 100), Qt::LeftButton)) << "no press yet";
    drag.pressed(QPoint(10, 10));
    EXPECT_FALSE(drag.reachedDistance(QPoint(11, 11), Qt::LeftButton));
    EXPECT_FALSE(drag.reachedDistance(QPoint(60, 60), Qt::RightButton));
    EXPECT_TRUE(drag.reachedDistance(QPoint(60, 60), Qt::LeftButton));
}

TEST_F(TreeTabsTest, ContextMenuWorksWhereItCanAndSaysWhatIsNotThereYet)
{
    auto panes = makePanes(false, m_data);
    ASSERT_TRUE(panes->tree->GoToPath(m_rock));
    settle(*panes);
    TPathViewFolPopUp menu(panes->tree, false);
    // Rock has no subfolders, so there is nothing to expand.
    for (const char* absent : {"ExpandCollapseNode"})
        EXPECT_EQ(menu.findChild<QAction*>(QLatin1String(absent)), nullptr) << absent;
    for (const char* present : {"OpenNode", "FindNodePath", "FormatNode", "MapNetNode", "UnMapNetNode", "SingleDriveNode", "RefreshNode", "SavePathToClipNode",
                                "CopyNode", "DelNode", "AddNode", "PropertiesNode"})
        EXPECT_NE(menu.findChild<QAction*>(QLatin1String(present)), nullptr) << present;

    prompter().answer(PromptButton::Ok);
    menu.findChild<QAction*>(QStringLiteral("CopyNode"))->trigger();
    settle(*panes);
    EXPECT_EQ(prompter().last().text, "\"Copy\" is not available yet.");

    prompter().answer(PromptButton::Ok);
    menu.findChild<QAction*>(QStringLiteral("SavePathToClipNode"))->trigger();
    settle(*panes);
    EXPECT_EQ(prompter().last().text, "The following has been saved to the clipboard.\r\nYou may now paste this into any other "
                                      "applications as text.\r\n\r\n" + m_rock);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), m_rock);

    // Open and Find go to the desktop's programs; without a search program the user is told.
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("xdg-open")).addProgram(QStringLiteral("nautilus"));
    menu.findChild<QAction*>(QStringLiteral("OpenNode"))->trigger();
    settle(*panes);
    ASSERT_EQ(launcher.launches().size(), 1);
    EXPECT_EQ(launcher.launches().first().arguments, QStringList{m_rock});
    prompter().answer(PromptButton::Ok);
    menu.findChild<QAction*>(QStringLiteral("FindNodePath"))->trigger();
    settle(*panes);
    EXPECT_EQ(prompter().last().text, "Can not Find file  " + m_rock + "\r\nNo file search program is installed.");
    launcher.addProgram(QStringLiteral("catfish"));
    menu.findChild<QAction*>(QStringLiteral("FindNodePath"))->trigger();
    settle(*panes);
    ASSERT_EQ(launcher.launches().size(), 2);
    EXPECT_EQ(launcher.launches().last().workingFolder, m_rock);

    // Network drives are the desktop's business; formatting goes to its disk utility.
    EXPECT_TRUE(menu.findChild<QAction*>(QStringLiteral("UnMapNetNode"))->isEnabled()) << "the NFS share is mounted";
    prompter().answer(PromptButton::Ok);
    menu.findChild<QAction*>(QStringLiteral("MapNetNode"))->trigger();
    settle(*panes);
    EXPECT_EQ(prompter().last().kind, PromptKind::Information);
    EXPECT_TRUE(prompter().last().text.startsWith("Network drives are connected"));
    ASSERT_TRUE(panes->tree->GoToPath(m_usb));
    settle(*panes);
    launcher.addProgram(QStringLiteral("gnome-disks"));
    TPathViewFolPopUp driveMenu(panes->tree, false);
    driveMenu.findChild<QAction*>(QStringLiteral("FormatNode"))->trigger();
    settle(*panes);
    ASSERT_EQ(launcher.launches().size(), 3);
    EXPECT_TRUE(launcher.launches().last().arguments.contains("/dev/sdb1"));
    EXPECT_EQ(panes->list->Directory(), m_usb + "/");

    menu.findChild<QAction*>(QStringLiteral("SingleDriveNode"))->trigger();
    settle(*panes);
    EXPECT_TRUE(panes->tree->SingleDrive());
    EXPECT_EQ(panes->tree->rootNode()->childCount(), 1);
}

// When the desktop's explorer or search program cannot be started, the message keeps its
// words and adds the platform's reason: the tree's Open and Find, and the list's Find.
TEST_F(TreeTabsTest, ExplorerAndSearchFailuresSayWhy)
{
    auto panes = makePanes(true, m_rock);
    panes->window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panes->window));
    ASSERT_TRUE(panes->tree->GoToPath(m_rock));
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("xdg-open")).addProgram(QStringLiteral("kfind")).addProgram(QStringLiteral("dolphin"));
    launcher.setFailStarts(QStringLiteral("Permission denied"));
    const struct {
        const char* name;
        std::function<void()> run;
        QString text;
    } cases[] = {
        {"tree open", [&] { panes->tree->OpenWithExplorer(); }, "Can not Open file  " + m_rock + "\r\nPermission denied"},
        {"tree find", [&] { panes->tree->FindWithExplorer(); }, "Can not Find file  " + m_rock + "\r\nPermission denied"},
        {"list find",
         [&] {
             panes->list->setDirectory(m_rock);
             panes->list->currentView()->setFocus();
             panes->list->FindInFolder();
         },
         "Can not Find file  " + m_rock + "\r\nPermission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter().clear();
        prompter().answer(PromptButton::Ok);
        c.run();
        ASSERT_EQ(prompter().records().size(), 1);
        EXPECT_EQ(prompter().last().kind, PromptKind::Error);
        EXPECT_EQ(prompter().last().text, c.text);
    }
    EXPECT_EQ(launcher.launches().size(), 3);
}

} // namespace
