#include "app/MainWindowWatch.h"

#include "app/MainWindowControls.h"
#include "app/MainWindowIdle.h"
#include "app/PathFactsCache.h"
#include "app/TFormMainFolvane3.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "fileops/ChangeHandlers.h"
#include "fileops/TShellNotification.h"
#include "platform/PathText.h"

#include <QStatusBar>
#include <QTreeWidgetItemIterator>

#include <chrono>
#include <utility>

namespace {

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The folder and every folder above it, the folder first.
QStringList withParents(const QString& folder)
{
    QStringList chain;
    for (QString path = PathText::withoutTrailingSlash(folder); path.startsWith(QLatin1Char('/'));
         path = PathText::folderOf(path)) {
        chain << path;
        if (path == QLatin1String("/"))
            break;
    }
    return chain;
}

} // namespace

MainWindowWatch::MainWindowWatch(TFormMainFolvane3* window, MainWindowControls& c, PathFactsCache& facts)
    : QObject(window)
    , m_window(window)
    , m_c(c)
    , m_facts(facts)
    , m_watcher(new TShellNotification(this))
{
    m_watcher->setObjectName(QStringLiteral("ShellNotification1"));
    m_watcher->setPath(QString());
    m_watcher->setWatchSubTree(true);
    connect(m_watcher, &TShellNotification::noticed, this, &MainWindowWatch::ShellNotification1Noticed);
    connect(m_watcher, &TShellNotification::watchLimitReached, this, [this] {
        m_c.StatusBar->showMessage(
            QStringLiteral("Too many folders to watch for changes: some are checked every 2 seconds."), 15000);
    });
    // The idle handler runs when the event loop is about to wait; the timer makes sure that
    // happens when the owed refresh's time has come.
    m_wake.setSingleShot(true);
    connect(&m_wake, &QTimer::timeout, this, [this] { m_window->idle().UpdateControlStates(); });
    m_syncShown.setSingleShot(true);
    m_syncShown.setInterval(50);
    connect(&m_syncShown, &QTimer::timeout, this, &MainWindowWatch::syncShownFolders);
    m_factsGap.setSingleShot(true);
    m_factsGap.setInterval(kFreeSpaceGapMs);
    connect(&m_factsGap, &QTimer::timeout, this, [this] {
        if (std::exchange(m_factsOwed, false))
            expireFacts();
    });
    auto shownChanged = [this] { m_syncShown.start(); };
    connect(&window->navigator(), &BrowseNavigator::folderChanged, this, shownChanged);
    connect(m_c.PathViewFol1, &QTreeWidget::itemExpanded, this, shownChanged);
    connect(m_c.PathViewFol1, &QTreeWidget::itemCollapsed, this, shownChanged);
    connect(m_c.FileViewFol1, &TFileViewFol::loaded, this, shownChanged);
}

void MainWindowWatch::start()
{
    m_watcher->setActive(true);
    syncShownFolders();
}

void MainWindowWatch::syncShownFolders()
{
    QStringList essential;
    if (!m_c.FileViewFol1->isDriveView())
        essential << PathText::withoutTrailingSlash(m_c.FileViewFol1->Directory());
    essential << withParents(m_window->CurrentPath());
    essential.removeDuplicates();
    QStringList open;
    for (QTreeWidgetItemIterator it(m_c.PathViewFol1); *it; ++it) {
        if ((*it)->isExpanded() && (*it)->data(0, TPathViewFol::LevelRole).toInt() >= TPathViewFol::DriveLevel)
            open << m_c.PathViewFol1->GetNodePath(*it);
    }
    m_watcher->setShownFolders(essential, open);
}

void MainWindowWatch::ShellNotification1Noticed(const ChangeNotice& notice)
{
    const ChangeHandlers::Shown shown{m_c.FileViewFol1->Directory(),
                                      PathText::withTrailingSlash(m_window->CurrentPath())};
    const ChangeHandlers::Decision decision = ChangeHandlers::decide(notice, shown);
    // The selected item renamed by another program stays selected under its new name.
    if ((notice.event == ChangeEvent::RenameItem || notice.event == ChangeEvent::RenameFolder)
        && notice.path == m_c.FileViewFol1->SelectedItem())
        m_selectAfterReload = notice.path2;
    m_owed.owe(decision.level, nowMs());
    for (const QString& folder : decision.treeFolders) {
        if (m_c.PathViewFol1->nodeOfPath(folder))
            m_owed.oweTreeSync(folder);
    }
    if (decision.freeSpace)
        expireFacts();
    wakeIdle(m_owed.waitMs(nowMs()));
}

void MainWindowWatch::expireFacts()
{
    // The caption's free space follows copies as the facts come in. In a burst (an unpack
    // of thousands of files) every new answer would make the idle handler redo the whole
    // window's controls, so the free space is asked twice a second at most, and once more
    // after the last change.
    if (m_factsGap.isActive()) {
        m_factsOwed = true;
        return;
    }
    m_facts.expire();
    m_factsGap.start();
}

void MainWindowWatch::wakeIdle(qint64 waitMs)
{
    if (waitMs >= 0 && !m_wake.isActive())
        m_wake.start(int(waitMs));
}

bool MainWindowWatch::applyPendingRefresh()
{
    const qint64 now = nowMs();
    const qint64 wait = m_owed.waitMs(now);
    if (wait < 0)
        return false;
    if (wait > 0) {
        wakeIdle(wait);
        return false;
    }
    // A list still being read is not read again on top of itself.
    if (m_owed.PendingRefresh() == RefreshLevel::ListOnly && m_c.FileViewFol1->isLoading()) {
        wakeIdle(kLoadingRetryMs);
        return false;
    }
    const RefreshOwed::Work work = m_owed.take(now);
    m_watcher->forgetLast();
    if (work.level == RefreshLevel::Full) {
        payFull();
    } else {
        for (const QString& folder : work.treeFolders)
            m_c.PathViewFol1->SyncFolderNode(folder);
        if (work.level == RefreshLevel::ListOnly)
            m_c.FileViewFol1->RefreshListInPlace(std::exchange(m_selectAfterReload, QString()));
    }
    Q_EMIT refreshed(work.level);
    return work.level != RefreshLevel::None;
}

void MainWindowWatch::payFull()
{
    // The navigator replaces a folder that is gone by its nearest existing parent; the tree
    // is built again and the list re-read, with the selected item selected again when it
    // is still there.
    QString folder = m_window->CurrentPath();
    if (folder.isEmpty() || m_c.FileViewFol1->isDriveView())
        folder = m_c.FileViewFol1->Directory();
    const QString selected = m_c.FileViewFol1->SelectedItem();
    m_window->navigator().reload(folder);
    if (!selected.isEmpty())
        m_c.FileViewFol1->SelectFileWhenListed(selected);
}
