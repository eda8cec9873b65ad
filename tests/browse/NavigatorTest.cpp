// The navigator: the one owner of the browse panes' folder. Every route to a folder (the
// tree, the list, the tabs, a direct go) goes through it and each follower hears of the
// change once; going up, reloading, and the fallback for folders that are gone.
#include "QtPrinters.h"

#include "DriveFixture.h"

#include "browse/BrowseNavigator.h"
#include "browse/BrowsePaneLinks.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/PathText.h"
#include "support/BrowseWaits.h"

#include <QAbstractItemView>
#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <functional>

namespace {

class NavigatorTest : public DriveFixture {
protected:
    void SetUp() override
    {
        DriveFixture::SetUp();
        m_rock = makeFolder(QStringLiteral("drives/data/Music/Rock"));
        makeFile(QStringLiteral("drives/data/Music/Rock/song.mp3"));
        m_photos = makeFolder(QStringLiteral("drives/usb/photos"));
    }

    // Tabs, tree and list following one navigator, single-drive, started on the data disk.
    void link()
    {
        auto* layout = new QVBoxLayout(&m_window);
        m_tabs = new TTabControlDriveFol(&m_window);
        m_tree = new TPathViewFol(&m_window);
        m_list = new TFileViewFol(&m_window);
        layout->addWidget(m_tabs);
        layout->addWidget(m_tree);
        layout->addWidget(m_list);
        m_navigator.goTo(m_data);
        m_tree->setCurrentFolder(m_data);
        m_tree->setSingleDrive(true);
        BrowsePaneLinks::link(m_navigator, {m_tabs, m_tree, m_list});
        m_tree->RebuildTree();
        m_window.resize(700, 700);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    // Where every follower is: the navigator's folder, the list's, the tree's selection, and
    // the text of the selected tab (without trailing slashes: the panes differ there).
    struct Shown {
        QString navigator, list, tree, tab;
        bool operator==(const Shown&) const = default;
    };
    Shown shown() const
    {
        using PathText::withoutTrailingSlash;
        return {withoutTrailingSlash(m_navigator.currentFolder()), withoutTrailingSlash(m_list->Directory()),
                withoutTrailingSlash(m_tree->SelectedPath()),
                m_tabs->currentIndex() >= 0 ? m_tabs->tabText(m_tabs->currentIndex()) : QString()};
    }
    static Shown at(const QString& folder) { return {folder, folder, folder, folder}; }
    // The list and the tree read on workers: wait for both, as a user waits for the rows.
    void settle() const
    {
        ASSERT_TRUE(waitForList(*m_list));
        ASSERT_TRUE(waitForTree(*m_tree));
    }

    void clickTab(const QString& drive)
    {
        const int index = m_tabs->tabList().indexOfDrive(drive);
        {
            // Long paths make more tabs than fit: bring the tab into view first.
            const QSignalBlocker blocker(m_tabs);
            m_tabs->setCurrentIndex(index);
        }
        QTest::mouseClick(m_tabs, Qt::LeftButton, {}, m_tabs->tabRect(index).center());
    }

    QWidget m_window;
    BrowseNavigator m_navigator;
    TTabControlDriveFol* m_tabs = nullptr;
    TPathViewFol* m_tree = nullptr;
    TFileViewFol* m_list = nullptr;
    QString m_rock, m_photos;
};

// Every route ends in one change of the navigator that all three followers show.
TEST_F(NavigatorTest, EveryRouteToAFolderIsOneChangeThatEveryFollowerShows)
{
    link();
    const QString music = m_data + QStringLiteral("/Music");
    struct Route {
        const char* name;
        QString folder;
        std::function<void()> go;
    } routes[] = {
        {"navigator", m_rock, [&] { m_navigator.goTo(m_rock); }},
        {"tree node", music, [&] {
             QTreeWidgetItem* node = m_tree->currentItem()->parent();
             QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualItemRect(node).center());
         }},
        {"list row", m_rock, [&] {
             ASSERT_TRUE(m_list->SelectFileInList(m_rock));
             m_list->OpenSelected();
         }},
        {"tab of another drive", m_usb, [&] { clickTab(m_usb); }},
        {"tab back", m_rock, [&] { clickTab(m_data); }},
        {"reload", m_photos, [&] { m_navigator.reload(m_photos); }},
    };
    m_list->setShowFolders(true); // the list opens a folder row
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        settle();
        QSignalSpy changes(&m_navigator, &BrowseNavigator::folderChanged);
        route.go();
        settle();
        ASSERT_EQ(changes.size(), 1);
        EXPECT_EQ(changes.first().at(0).toString(), route.folder + QLatin1Char('/'));
        EXPECT_EQ(changes.first().at(1).value<BrowseNavigator::Change>(),
                  QLatin1String(route.name) == QLatin1String("reload") ? BrowseNavigator::Change::Reloaded
                                                                      : BrowseNavigator::Change::Opened);
        EXPECT_EQ(shown(), at(route.folder));
        EXPECT_EQ(m_tree->GetNodePath(m_tree->currentItem()), route.folder);
    }
}

TEST_F(NavigatorTest, GoingUpSelectsTheFolderLeftAndEndsAtTheComputer)
{
    link();
    m_list->setShowFolders(true);
    m_navigator.goTo(m_rock);
    settle();
    const QString music = m_data + QStringLiteral("/Music");
    QSignalSpy changes(&m_navigator, &BrowseNavigator::folderChanged);
    m_list->GoUp();
    settle();
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.first().at(1).value<BrowseNavigator::Change>(), BrowseNavigator::Change::WentUp);
    EXPECT_EQ(shown(), at(music));
    EXPECT_EQ(m_list->SelectedItem(), m_rock) << "the list selects the folder it came from";

    m_navigator.goUp();
    settle();
    EXPECT_EQ(shown(), at(m_data));
    EXPECT_FALSE(m_tree->currentItem()->isExpanded()) << "a drive reached by going up is collapsed";
    m_navigator.goUp();
    EXPECT_EQ(m_navigator.currentFolder(), QStringLiteral("My Computer"));
    EXPECT_EQ(m_list->Directory(), QStringLiteral("My Computer"));
    EXPECT_EQ(m_tree->currentItem(), m_tree->rootNode());
    EXPECT_EQ(m_tabs->tabText(m_tabs->currentIndex()), m_data) << "the tabs keep their folders";
    EXPECT_EQ(m_navigator.lastFolder(), m_data + QLatin1Char('/'));
    changes.clear();
    m_navigator.goUp();
    EXPECT_TRUE(changes.isEmpty()) << "the computer has no parent";
}

TEST_F(NavigatorTest, AFolderThatIsGoneFallsBackToItsNearestExistingParent)
{
    link();
    m_navigator.goTo(m_rock);
    ASSERT_TRUE(QDir(m_data + QStringLiteral("/Music")).removeRecursively());
    m_navigator.refresh();
    EXPECT_EQ(shown(), at(m_data));

    const struct {
        QString asked;
        QString reached;
    } cases[] = {
        {m_usb + QStringLiteral("/photos/2024/june"), m_photos + QLatin1Char('/')},
        {m_usb + QStringLiteral("/"), m_usb + QLatin1Char('/')},
        {QStringLiteral("my computer"), QStringLiteral("My Computer")},
        {QStringLiteral("relative/path"), QDir::homePath() + QLatin1Char('/')},
    };
    for (const auto& c : cases) {
        m_navigator.goTo(c.asked);
        EXPECT_EQ(m_navigator.currentFolder(), c.reached) << c.asked.toStdString();
        EXPECT_EQ(m_list->Directory(), c.reached) << c.asked.toStdString();
    }
    EXPECT_EQ(BrowseNavigator::parentOf(m_usb), QStringLiteral("My Computer")) << "a drive's root";
    EXPECT_EQ(BrowseNavigator::parentOf(m_photos + QLatin1Char('/')), m_usb);
}

} // namespace
