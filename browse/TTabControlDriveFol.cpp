#include "browse/TTabControlDriveFol.h"

#include "browse/ItemIcons.h"
#include "browse/TPathViewFol.h"
#include "browse/TPathViewFolPopUp.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QMouseEvent>

namespace {

bool isMyComputer(const QString& folder)
{
    return folder.compare(TPathViewFol::myComputer(), Qt::CaseInsensitive) == 0;
}

} // namespace

TTabControlDriveFol::TTabControlDriveFol(QWidget* parent)
    : QTabBar(parent)
    , m_folder(QDir::homePath())
{
    setExpanding(false);
    setDrawBase(true);
    setUsesScrollButtons(true);
    RefreshDrivetabs();
}

void TTabControlDriveFol::setNavigator(BrowseNavigator* navigator)
{
    if (m_navigator)
        disconnect(m_navigator, nullptr, this, nullptr);
    m_navigator = navigator;
    if (!navigator)
        return;
    connect(navigator, &BrowseNavigator::folderChanged, this, &TTabControlDriveFol::followFolder);
    const QString folder = navigator->currentFolder();
    if (!folder.isEmpty() && !isMyComputer(folder))
        m_folder = PathText::withoutTrailingSlash(folder);
    RefreshDrivetabs();
}

void TTabControlDriveFol::followFolder(const QString& folder, BrowseNavigator::Change change)
{
    // The drives view is on no drive: every tab keeps its folder.
    if (isMyComputer(folder))
        return;
    m_folder = PathText::withoutTrailingSlash(folder);
    if (change == BrowseNavigator::Change::Reloaded || m_tabs.indexOfDrive(m_folder) < 0)
        RefreshDrivetabs();
    else
        setSelectedTabText(m_folder);
}

void TTabControlDriveFol::setShowDrives(bool show)
{
    m_showDrives = show;
    showTabs();
}

void TTabControlDriveFol::RefreshDrivetabs()
{
    m_tabs.refresh(ListDrives(), m_folder);
    showTabs();
}

void TTabControlDriveFol::showTabs()
{
    const QSignalBlocker blocker(this);
    while (count() > 0)
        removeTab(0);
    ItemIcons& icons = ItemIcons::instance();
    for (int i = 0; i < m_tabs.count(); ++i) {
        const DriveTabList::Tab& tab = m_tabs.at(i);
        const int index = m_showDrives ? addTab(icons.driveIcon(tab.drive.type), tab.text) : addTab(tab.text);
        setTabToolTip(index, tab.drive.caption() + QStringLiteral(" - ") + DriveTypeText(tab.drive.type));
    }
    setCurrentIndex(m_tabs.selected());
    setIconSize(m_showDrives ? QSize(16, 16) : QSize(0, 0));
}

QSize TTabControlDriveFol::tabSizeHint(int index) const
{
    // Tall tabs with the drive icon, short ones with the path only.
    QSize size = QTabBar::tabSizeHint(index);
    size.setHeight(m_showDrives ? 38 : 24);
    return size;
}

void TTabControlDriveFol::setSelectedTabText(const QString& path)
{
    const QString text = PathText::withoutTrailingSlash(path);
    // A folder on another drive moves the selection to that drive's tab.
    const int drive = m_tabs.indexOfDrive(text);
    if (drive < 0)
        return;
    if (drive != m_tabs.selected()) {
        m_tabs.select(drive);
        const QSignalBlocker blocker(this);
        setCurrentIndex(drive);
    }
    m_tabs.setSelectedText(text);
    setTabText(drive, text);
}

QString TTabControlDriveFol::notReadyPrefix(const DriveInfo& drive)
{
    QString kind;
    switch (drive.type) {
    case DriveType::Removable: kind = QStringLiteral("Removable drive "); break;
    case DriveType::Fixed: kind = QStringLiteral("Fixed drive "); break;
    case DriveType::Network: kind = QStringLiteral("Remote drive "); break;
    case DriveType::CdRom: kind = QStringLiteral("CDROM drive "); break;
    case DriveType::RamDisk: kind = QStringLiteral("RAM drive "); break;
    default: break;
    }
    return kind + drive.root + QLatin1Char(':');
}

void TTabControlDriveFol::reportNotReady(const DriveInfo& drive)
{
    const bool optical = drive.type == DriveType::CdRom;
    if (optical)
        EjectMedia(drive.root); // open the tray for the user to put a disc in
    Prompter::instance().ask(PromptKind::Error, PromptButton::Ok | PromptButton::Retry,
                             notReadyPrefix(drive) + QStringLiteral("\r\nThe device is not ready!"));
    if (optical)
        CycleMedia(drive.root);
}

void TTabControlDriveFol::TabChoice()
{
    if (!m_navigator || currentIndex() < 0 || currentIndex() >= m_tabs.count())
        return;
    m_tabs.select(currentIndex());
    const DriveTabList::Tab tab = m_tabs.at(currentIndex());
    const bool ready = tab.drive.mounted && CheckDriveReady(tab.drive.root, false);
    if (ready) {
        // A remembered folder may have been removed since: the navigator takes its
        // nearest existing parent, which is on the same drive at worst its root.
        m_navigator->goTo(tab.text);
        return;
    }
    reportNotReady(tab.drive);
    // Back to the tab of the folder shown.
    RefreshDrivetabs();
}

void TTabControlDriveFol::mousePressEvent(QMouseEvent* event)
{
    QTabBar::mousePressEvent(event);
    const int index = tabAt(event->position().toPoint());
    if (index < 0)
        return;
    if (event->button() == Qt::LeftButton)
        TabChoice();
    m_drag.pressed(event->position().toPoint());
}

void TTabControlDriveFol::mouseMoveEvent(QMouseEvent* event)
{
    QTabBar::mouseMoveEvent(event);
    const int index = currentIndex();
    if (index < 0 || index >= m_tabs.count())
        return;
    const DriveTabList::Tab& tab = m_tabs.at(index);
    m_drag.moved(this, event, tab.text, tab.text == tab.drive.root);
}

void TTabControlDriveFol::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_popUpMenuEnabled || !m_treeView) {
        QTabBar::contextMenuEvent(event);
        return;
    }
    TPathViewFolPopUp menu(m_treeView, true, this);
    menu.exec(event->globalPos() + QPoint(10, 10));
}
