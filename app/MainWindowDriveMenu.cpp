#include "app/MainWindowDriveMenu.h"

#include "app/MainWindowSettings.h"
#include "browse/BrowseNavigator.h"
#include "browse/FileSortOrder.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/Drives.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/ui/DesktopWindows.h"
#include "platform/ui/WindowContext.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

namespace {

const char* const kStyleCaptions[] = {"Details", "List", "Small Icon", "Icon"};
const char* const kStyleNames[] = {"PopupDetails", "PopupList", "PopupSmallIcon", "PopupIcon"};
const char* const kSortCaptions[] = {"Name", "Size", "Type", "Date", "Attribute"};
const char* const kSortNames[] = {"PopupSortName", "PopupSortSize", "PopupSortType", "PopupSortDate", "PopupSortAttr"};

QAction* addItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

// Image 3 (all drives) in single-drive mode, image 51 (one drive) otherwise.
QIcon singleDriveIcon(bool singleDrive)
{
    return QApplication::style()->standardIcon(singleDrive ? QStyle::SP_ComputerIcon : QStyle::SP_DriveHDIcon);
}

} // namespace

MainWindowDriveMenu::MainWindowDriveMenu(WindowContext& context, const BrowseWidgets& browse)
    : QObject(context.window())
    , m_context(context)
    , m_browse(browse)
{
    QMenu* drive = context.menu(MainMenu::Drive);
    buildDriveMenu(drive);
    connect(drive, &QMenu::aboutToShow, this, &MainWindowDriveMenu::MenuDriveClick);
    m_singleDriveButton = context.button(BandButton::SingleDrive);
    connect(m_singleDriveButton, &QToolButton::clicked, this, &MainWindowDriveMenu::MenuSingleDriveClick);
    connect(context.button(BandButton::Refresh), &QToolButton::clicked, this, &MainWindowDriveMenu::MenuRefreshClick);
    connect(context.button(BandButton::DeskTop), &QToolButton::clicked, this, &MainWindowDriveMenu::ButtonDeskTopClick);
    buildDisplayMenu();
    showSingleDriveState();
}

void MainWindowDriveMenu::buildDriveMenu(QMenu* drive)
{
    m_refresh = addItem(drive, "MenuRefresh", QStringLiteral("Refresh Drives/Folders/Files"));
    m_refresh->setShortcut(QKeySequence(Qt::Key_F5));
    connect(m_refresh, &QAction::triggered, this, &MainWindowDriveMenu::MenuRefreshClick);
    // The same item in the "File" menu, above "Exit".
    QMenu* file = m_context.menu(MainMenu::File);
    file->insertAction(file->actions().value(1), m_refresh);
    m_singleDrive = addItem(drive, "MenuSingleDrive", QStringLiteral("Change Single/All"));
    connect(m_singleDrive, &QAction::triggered, this, &MainWindowDriveMenu::MenuSingleDriveClick);
    m_showDriveTabs = addItem(drive, "MenuShowDriveTabs", QStringLiteral("Show Drive Tabs"));
    connect(m_showDriveTabs, &QAction::triggered, this, &MainWindowDriveMenu::MenuShowDriveTabsClick);
    drive->addSeparator();
    // Shares are mounted by the desktop; both items say so instead of opening a dialog.
    auto explain = [] { Prompter::instance().information(NetworkDrivesUnavailableText()); };
    connect(addItem(drive, "MenuMapNetworkDrive", QStringLiteral("Map Network Drive")), &QAction::triggered, this, explain);
    m_disconnect = addItem(drive, "MenuDisconnectNetworkDrive", QStringLiteral("Disconnect Network Drive"));
    connect(m_disconnect, &QAction::triggered, this, explain);
    m_format = addItem(drive, "MenuFormat", QStringLiteral("Format Drive"));
    connect(m_format, &QAction::triggered, m_browse.tree, &TPathViewFol::FormatDrive);
}

void MainWindowDriveMenu::buildDisplayMenu()
{
    QToolButton* button = m_context.button(BandButton::DetailType);
    m_display = new QMenu(button);
    m_display->setObjectName(QStringLiteral("PopupMenuFileDisplay"));
    for (int i = 0; i < 4; ++i) {
        QAction* style = addItem(m_display, kStyleNames[i], QLatin1String(kStyleCaptions[i]));
        style->setCheckable(true);
        connect(style, &QAction::triggered, this, [this, i] { setFileViewIndex(i); });
        m_styles << style;
    }
    QMenu* sort = m_display->addMenu(QStringLiteral("Sort by.."));
    sort->setObjectName(QStringLiteral("PopupSortBy"));
    for (int i = 0; i < 5; ++i) {
        QAction* column = addItem(sort, kSortNames[i], QLatin1String(kSortCaptions[i]));
        column->setCheckable(true);
        connect(column, &QAction::triggered, this, [this, i] { setFileSortIndex(i); });
        m_sorts << column;
    }
    button->setMenu(m_display);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    connect(button, &QToolButton::clicked, this, &MainWindowDriveMenu::ButtonDetailTypeClick);
    connect(m_display, &QMenu::aboutToShow, this, &MainWindowDriveMenu::PopupMenuFileDisplayPopup);
}

QString MainWindowDriveMenu::singleDriveCaption(bool singleDrive)
{
    return singleDrive ? QStringLiteral("All Drives (Path View)") : QStringLiteral("Single Drive (Path View) \"FolVane\"");
}

QString MainWindowDriveMenu::showDriveTabsCaption(bool showDrives)
{
    return showDrives ? QStringLiteral("Hide Drive Type on Tabs") : QStringLiteral("Show Drive Type on Tabs");
}

void MainWindowDriveMenu::MenuDriveClick()
{
    const bool single = m_browse.tree->SingleDrive();
    m_singleDrive->setText(singleDriveCaption(single));
    m_singleDrive->setIcon(singleDriveIcon(single));
    m_showDriveTabs->setVisible(single);
    m_showDriveTabs->setText(showDriveTabsCaption(m_browse.tabs->ShowDrives()));
    m_disconnect->setVisible(AnyNetworkDrive());
    const QTreeWidgetItem* node = m_browse.tree->currentItem();
    m_format->setVisible(node && node != m_browse.tree->rootNode() && !IsSystemVolume(m_browse.tree->SelectedPath()));
}

void MainWindowDriveMenu::MenuSingleDriveClick()
{
    TPathViewFol* tree = m_browse.tree;
    tree->setSingleDrive(!tree->SingleDrive());
    showSingleDriveState();
    m_context.navigator().refresh();
}

void MainWindowDriveMenu::showSingleDriveState()
{
    const bool single = m_browse.tree->SingleDrive();
    m_singleDriveButton->setIcon(singleDriveIcon(single));
    m_singleDriveButton->setToolTip(singleDriveCaption(single));
    m_singleDrive->setToolTip(singleDriveCaption(single));
    m_browse.tabs->setVisible(single && m_context.currentMode() == vmFileManager);
}

void MainWindowDriveMenu::MenuShowDriveTabsClick()
{
    TTabControlDriveFol* tabs = m_browse.tabs;
    tabs->setShowDrives(!tabs->ShowDrives());
    tabs->update();
}

void MainWindowDriveMenu::MenuRefreshClick()
{
    m_context.navigator().refresh();
}

void MainWindowDriveMenu::ButtonDeskTopClick()
{
    MinimizeAll();
}

void MainWindowDriveMenu::ButtonDetailTypeClick()
{
    setFileViewIndex((MainWindowSettings::fileViewIndex(m_browse.list) + 1) % 4);
}

void MainWindowDriveMenu::PopupMenuFileDisplayPopup()
{
    const int style = MainWindowSettings::fileViewIndex(m_browse.list);
    for (int i = 0; i < m_styles.size(); ++i)
        m_styles[i]->setChecked(i == style);
    for (int i = 0; i < m_sorts.size(); ++i)
        m_sorts[i]->setChecked(i == FileSortOrder::FileSortIndex);
}

void MainWindowDriveMenu::setFileViewIndex(int index)
{
    MainWindowSettings::applyViewStyle(m_browse.list, index);
}

void MainWindowDriveMenu::setFileSortIndex(int index)
{
    FileSortOrder::FileSortIndex = index;
    m_browse.list->RefreshList();
}
