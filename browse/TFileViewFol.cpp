#include "browse/TFileViewFol.h"

#include "browse/DriveItems.h"
#include "browse/FileIconDelegate.h"
#include "browse/FileSortOrder.h"
#include "browse/FileSorter.h"
#include "browse/FileTypeNames.h"
#include "browse/FileViewKeys.h"
#include "browse/SortArrowStyle.h"
#include "browse/TFileViewFolPopUp.h"
#include "browse/TPathViewFol.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/ui/PropertiesDialog.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QStackedLayout>
#include <QTreeView>

#include <algorithm>

namespace {

bool isMyComputer(const QString& path)
{
    return path.compare(FileListing::myComputer(), Qt::CaseInsensitive) == 0;
}

} // namespace

TFileViewFol::TFileViewFol(QWidget* parent)
    : QWidget(parent)
    , m_report(new QTreeView(this))
    , m_icons(new QListView(this))
    , m_stack(new QStackedLayout(this))
{
    m_loader = new FolderLoader(this);
    connect(m_loader, &FolderLoader::progressed, this, &TFileViewFol::loadProgress);
    connect(m_loader, &FolderLoader::batchRead, this, &TFileViewFol::batchRead);
    connect(m_loader, &FolderLoader::finished, this, &TFileViewFol::listingFinished);
    m_report->setObjectName(QStringLiteral("ReportView"));
    m_report->setRootIsDecorated(false);
    m_report->setUniformRowHeights(true);
    m_report->setItemsExpandable(false);
    m_report->setAllColumnsShowFocus(true);
    m_report->header()->setSectionsClickable(true);
    m_report->header()->setSortIndicatorShown(true);
    auto* arrows = new SortArrowStyle;
    arrows->setParent(m_report->header());
    m_report->header()->setStyle(arrows);
    m_report->header()->setStretchLastSection(false);
    m_icons->setObjectName(QStringLiteral("IconView"));
    m_icons->setUniformItemSizes(true);
    m_icons->setItemDelegate(m_iconDelegate = new FileIconDelegate(m_icons));
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_report), static_cast<QAbstractItemView*>(m_icons)}) {
        view->setModel(&m_model);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // Selected files and folders are dragged out as a URL list, copy only.
        view->setDragEnabled(true);
        view->setDragDropMode(QAbstractItemView::DragOnly);
        view->setDefaultDropAction(Qt::CopyAction);
        connect(view, &QAbstractItemView::clicked, this, &TFileViewFol::ItemClick);
        connect(view, &QAbstractItemView::doubleClicked, this, &TFileViewFol::DblClick);
    }
    new FileViewKeys(this, {m_report, m_icons});
    m_icons->setSelectionModel(m_report->selectionModel());
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_report);
    m_stack->addWidget(m_icons);
    setFocusProxy(m_report);
    connect(m_report->header(), &QHeaderView::sectionClicked, this, &TFileViewFol::HeaderClick);
    connect(m_report->header(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        // The stretched Name column of auto-size keeps its stored width.
        if (!m_model.listing().isDriveView() && column < m_columnWidths.size() && !(m_autoSizeColumns && column == 0))
            m_columnWidths[column] = width;
    });
    // Queued: the rename runs after the editor has closed, and reads the list again.
    connect(&m_model, &FileListModel::nameEdited, this, &TFileViewFol::captionEdited, Qt::QueuedConnection);
    setViewStyle(TViewStyle::vsReport);
    RefreshList(); // a new list shows its folder at once: the drives
}

void TFileViewFol::setDirectory(const QString& directory)
{
    if (isMyComputer(directory)) {
        if (!isMyComputer(m_directory)) {
            m_directory = directory;
            RefreshList();
        }
        return;
    }
    if (directory.isEmpty() || !LocalFiles::isDir(directory))
        return;
    const QString folder = PathText::withTrailingSlash(QDir::cleanPath(QFileInfo(directory).absoluteFilePath()));
    if (folder == m_directory)
        return;
    m_directory = folder;
    RefreshList();
}

void TFileViewFol::setDirectoryDirect(const QString& directory)
{
    if (isMyComputer(directory) || directory.isEmpty())
        m_directory = directory.isEmpty() ? m_directory : directory;
    else
        m_directory = PathText::withTrailingSlash(directory);
}

void TFileViewFol::setMask(const QString& mask)
{
    if (mask == m_options.mask)
        return;
    m_options.mask = mask;
    RefreshList();
}

void TFileViewFol::setFileType(TFileType type)
{
    if (type == m_options.fileType)
        return;
    m_options.fileType = type;
    RefreshList();
}

void TFileViewFol::setShowFolders(bool show)
{
    if (show == m_options.showFolders)
        return;
    m_options.showFolders = show;
    RefreshList();
}

void TFileViewFol::setParentDirCaption(const QString& caption)
{
    m_model.text().setParentDirCaption(caption);
    m_model.textsChanged();
}

void TFileViewFol::setHideFileExt(bool hide)
{
    m_model.text().setHideFileExt(hide);
    m_model.textsChanged();
}

void TFileViewFol::setFileSize(TFileSize unit)
{
    m_model.text().setFileSize(unit);
    m_model.textsChanged();
}

void TFileViewFol::setDateFormat(TDtFormat format)
{
    m_model.text().setTimeFormat(format, TimeFormat());
    m_model.textsChanged();
}

void TFileViewFol::setTimeFormat(TTmFormat format)
{
    m_model.text().setTimeFormat(DateFormat(), format);
    m_model.textsChanged();
}

void TFileViewFol::setLItemColorByATTR(bool on)
{
    if (on == m_colorByAttributes)
        return;
    m_colorByAttributes = on;
    m_model.setMarkByAttributes(on);
    RefreshList();
}

void TFileViewFol::setViewStyle(TViewStyle style)
{
    m_viewStyle = style;
    if (style == TViewStyle::vsReport) {
        m_stack->setCurrentWidget(m_report);
    } else {
        const bool large = style == TViewStyle::vsIcon;
        m_icons->setViewMode(large ? QListView::IconMode : QListView::ListMode);
        m_icons->setFlow(style == TViewStyle::vsList ? QListView::TopToBottom : QListView::LeftToRight);
        m_icons->setWrapping(true);
        m_icons->setResizeMode(QListView::Adjust);
        m_icons->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
        m_icons->setGridSize(large ? QSize(96, 64) : QSize());
        m_icons->setMovement(QListView::Static);
        m_stack->setCurrentWidget(m_icons);
    }
    updateItemWidth();
    setFocusProxy(currentView());
    m_model.setMarksShown(style == TViewStyle::vsReport || style == TViewStyle::vsList);
}

QAbstractItemView* TFileViewFol::currentView() const
{
    return m_viewStyle == TViewStyle::vsReport ? static_cast<QAbstractItemView*>(m_report) : m_icons;
}

void TFileViewFol::setColumnWidths(const QList<int>& widths)
{
    for (qsizetype i = 0; i < std::min<qsizetype>(widths.size(), m_columnWidths.size()); ++i)
        m_columnWidths[i] = widths[i];
    applyColumns();
}

void TFileViewFol::setColumnWidth(int column, int width)
{
    m_columnWidths[column] = width;
    applyColumns();
}

void TFileViewFol::setAutoSizeColumns(bool on)
{
    m_autoSizeColumns = on;
    m_report->header()->setSectionResizeMode(0, on ? QHeaderView::Stretch : QHeaderView::Interactive);
    applyColumns();
}

void TFileViewFol::applyColumns()
{
    static const QList<int> driveWidths{160, 110, 90, 90, 40};
    // A copy: resizing reports back into m_columnWidths through sectionResized.
    const QList<int> widths = m_model.listing().isDriveView() ? driveWidths : m_columnWidths;
    for (int column = 0; column < widths.size(); ++column)
        m_report->header()->resizeSection(column, widths[column]);
}

void TFileViewFol::setNavigator(BrowseNavigator* navigator)
{
    if (m_navigator)
        disconnect(m_navigator, nullptr, this, nullptr);
    m_navigator = navigator;
    if (navigator)
        connect(navigator, &BrowseNavigator::folderChanged, this, &TFileViewFol::followFolder);
}

void TFileViewFol::followFolder(const QString& folder, BrowseNavigator::Change change)
{
    const QString before = m_directory;
    if (change == BrowseNavigator::Change::Reloaded) {
        setDirectoryDirect(folder);
        RefreshList();
    } else {
        setDirectory(folder);
    }
    if (change == BrowseNavigator::Change::WentUp && !isDriveView())
        SelectFileWhenListed(before);
}

void TFileViewFol::RefreshList()
{
    m_place = ListPlace();
    m_loading = true;
    m_awaitingRows = true;
    m_rowsAnnounced = false;
    m_requestedSortColumn = FileSortOrder::FileSortIndex;
    m_requestedAscending = FileSortOrder::DecendSort;
    m_loader->start({m_directory, m_options, m_requestedSortColumn, m_requestedAscending});
}

void TFileViewFol::RefreshListInPlace(const QString& select)
{
    const ListPlace place = ListPlace::capture(*currentView(), FileListModel::FullPathRole);
    RefreshList();
    m_place = place;
    m_pendingSelection = select;
}

void TFileViewFol::batchRead(ListingBatch& batch)
{
    if (std::exchange(m_awaitingRows, false))
        startTable();
    const bool ordered = batch.drives || batch.ordered;
    const bool firstRows = m_model.rowCount() == 0;
    m_model.applyBatch(batch);
    if (ordered)
        rowsOrdered();
    else if (firstRows)
        selectFirstRow(); // rows of a slow folder, in the order read
}

void TFileViewFol::listingFinished()
{
    if (std::exchange(m_awaitingRows, false)) {
        startTable();
        rowsOrdered();
    }
    // Type names are asked on this thread, so a sort by type waits for every row.
    if (sortChangedSinceRequest() || m_requestedSortColumn == FileSorter::TypeColumn)
        SortItems();
    if (!m_pendingSelection.isEmpty())
        SelectFileInList(std::exchange(m_pendingSelection, QString()));
    m_loading = false;
    Q_EMIT loaded();
}

void TFileViewFol::startTable()
{
    // The first delivery replaces the previous listing's rows.
    FileListing empty;
    if (!isMyComputer(m_directory))
        empty.startFolder(m_directory, m_options);
    m_model.setListing(std::move(empty));
    m_autoSelectedRecord = noRecord;
    applyColumns();
    updateSortArrow();
}

void TFileViewFol::rowsOrdered()
{
    updateItemWidth();
    applyColumns();
    if (sortChangedSinceRequest())
        SortItems(); // the user chose another sort while the folder was read
    if (!m_place.isEmpty() && std::exchange(m_place, ListPlace()).restore(*currentView()))
        m_autoSelectedRecord = noRecord;
    if (!m_pendingSelection.isEmpty() && SelectFileInList(m_pendingSelection)) {
        m_pendingSelection.clear();
        m_autoSelectedRecord = noRecord; // chosen: it stays where it is
    } else if (m_model.rowCount() > 0) {
        const QModelIndex current = currentView()->currentIndex();
        if (!current.isValid() || m_model.listing().recordAt(current.row()) == m_autoSelectedRecord)
            selectFirstRow();
    }
    // Once per listing, though the name sort orders the rows in two steps.
    if (!std::exchange(m_rowsAnnounced, true))
        Q_EMIT rowsListed();
}

void TFileViewFol::selectFirstRow()
{
    if (m_model.rowCount() == 0)
        return;
    const QModelIndex first = m_model.index(0, 0);
    m_autoSelectedRecord = m_model.listing().recordAt(0);
    currentView()->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    currentView()->scrollTo(first);
}

bool TFileViewFol::sortChangedSinceRequest() const
{
    return FileSortOrder::FileSortIndex != m_requestedSortColumn || FileSortOrder::DecendSort != m_requestedAscending;
}

void TFileViewFol::SortItems()
{
    m_model.sortTable(FileSortOrder::FileSortIndex, FileSortOrder::DecendSort);
    updateSortArrow();
}

void TFileViewFol::updateItemWidth()
{
    // The report has no item width; the icon view lays itself out when it is shown.
    if (m_viewStyle == TViewStyle::vsReport)
        return;
    // Icons take their grid cell; list and small icons the longest name, within reason.
    constexpr int widestListItem = 400;
    int width = 0;
    if (m_viewStyle == TViewStyle::vsIcon) {
        width = m_icons->gridSize().width() - 4;
    } else {
        const int text = m_model.widestCaption(m_icons->fontMetrics());
        width = std::min(text + m_icons->iconSize().width() + 20, widestListItem);
    }
    m_iconDelegate->setItemWidth(width);
    m_icons->doItemsLayout();
}

void TFileViewFol::updateSortArrow()
{
    m_report->header()->setSortIndicator(FileSortOrder::FileSortIndex,
                                         FileSortOrder::DecendSort ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TFileViewFol::HeaderClick(int column)
{
    if (m_model.rowCount() == 0) {
        updateSortArrow();
        return;
    }
    FileSortOrder::FileSortIndex = column;
    FileSortOrder::DecendSort = !FileSortOrder::DecendSort;
    if (m_model.listing().isDriveView())
        updateSortArrow();
    else
        SortItems();
}

void TFileViewFol::ItemClick(const QModelIndex& index)
{
    if (!index.isValid() || !currentView()->selectionModel()->isSelected(index))
        return;
    m_selectedItem = m_model.data(index, FileListModel::FullPathRole).toString();
    Q_EMIT itemChanged(m_selectedItem);
}

QModelIndex TFileViewFol::selectedItemIndex() const
{
    const QModelIndex current = currentView()->currentIndex();
    if (current.isValid() && currentView()->selectionModel()->isSelected(current))
        return current.siblingAtColumn(0);
    const QModelIndexList rows = selectedRows();
    return rows.isEmpty() ? QModelIndex() : rows.first();
}

bool TFileViewFol::isDriveView() const
{
    return isMyComputer(m_directory);
}

void TFileViewFol::followSelection()
{
    ItemClick(selectedItemIndex());
}

void TFileViewFol::DblClick(const QModelIndex& index)
{
    const QModelIndex item = selectedItemIndex();
    if (!index.isValid() || !item.isValid() || item.data().toString().isEmpty())
        return;
    if (m_openByDblClick)
        OpenSelected();
    else if (ItemKind(item.data(FileListModel::KindRole).toInt()) == ItemKind::Parent)
        GoUp();
    else
        Q_EMIT dblClicked();
}

void TFileViewFol::OpenSelected()
{
    const QModelIndex item = selectedItemIndex();
    if (!item.isValid())
        return;
    const auto kind = ItemKind(item.data(FileListModel::KindRole).toInt());
    const QString path = item.data(FileListModel::FullPathRole).toString();
    if (kind == ItemKind::Parent) {
        GoUp();
        return;
    }
    if (kind == ItemKind::File) {
        openFile(path);
        return;
    }
    const DriveInfo drive = DriveOfPath(path);
    if (kind == ItemKind::Drive && drive.type == DriveType::Removable && !CheckDriveReady(drive.root, true))
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    openFolder(path);
    QGuiApplication::restoreOverrideCursor();
}

void TFileViewFol::openFile(const QString& path)
{
    if (m_openByDblClickFV) {
        Q_EMIT viewSelected(path);
        return;
    }
    if (ShellExecute(QStringLiteral("Open"), path).failed())
        Prompter::instance().error(QStringLiteral("Can not Open file  ") + QFileInfo(path).fileName());
}

void TFileViewFol::GoUp()
{
    if (isDriveView())
        return;
    const QString before = m_directory;
    const QString parent = BrowseNavigator::parentOf(m_directory);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_navigator)
        m_navigator->goTo(parent, BrowseNavigator::Change::WentUp);
    else
        followFolder(parent, BrowseNavigator::Change::WentUp);
    QGuiApplication::restoreOverrideCursor();
    if (m_directory != before)
        Q_EMIT directoryOpened(m_directory);
}

bool TFileViewFol::SelectFileInList(const QString& fullPath)
{
    const QString wanted = PathText::withoutTrailingSlash(fullPath);
    for (int row = 0; row < m_model.rowCount(); ++row) {
        const QModelIndex index = m_model.index(row, 0);
        if (PathText::withoutTrailingSlash(index.data(FileListModel::FullPathRole).toString()) == wanted) {
            focusRow(row);
            followSelection();
            return true;
        }
    }
    return false;
}

void TFileViewFol::SelectFileWhenListed(const QString& fullPath)
{
    if (m_loading)
        m_pendingSelection = fullPath;
    else
        SelectFileInList(fullPath);
}

bool TFileViewFol::EditItemCaption(const QString& fullPath)
{
    if (!SelectFileInList(fullPath))
        return false;
    const QModelIndex name = currentView()->currentIndex().siblingAtColumn(0);
    currentView()->setFocus();
    currentView()->edit(name);
    return currentView()->indexWidget(name) != nullptr; // the editor is open
}

void TFileViewFol::focusRow(int row)
{
    const QModelIndex index = m_model.index(row, 0);
    currentView()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    currentView()->scrollTo(index);
}

void TFileViewFol::openFolder(const QString& path)
{
    const QString before = m_directory;
    if (m_navigator)
        m_navigator->goTo(path);
    else
        setDirectory(path);
    if (m_directory != before)
        Q_EMIT directoryOpened(m_directory);
}

void TFileViewFol::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_popUpMenuEnabled) {
        Q_EMIT contextMenuRequested(event->globalPos());
        return;
    }
    if (isDriveView())
        return;
    TFileViewFolPopUp menu(this);
    menu.exec(event->globalPos() + QPoint(10, 10));
}

void TFileViewFol::FindInFolder()
{
    if (!currentView()->hasFocus() || isMyComputer(m_directory))
        return;
    const QString folder = PathText::withoutTrailingSlash(m_directory);
    const ShellExecuteResult result = ShellExecute(QStringLiteral("Find"), folder);
    if (!result.accepted)
        Prompter::instance().error(ShellFailureMessage(QStringLiteral("Find"), folder, result));
}

void TFileViewFol::ShowItemProperties()
{
    const QModelIndex current = currentView()->currentIndex();
    if (!current.isValid() || !currentView()->selectionModel()->isSelected(current))
        return;
    const QString error = ShowProperties(m_model.data(current, FileListModel::FullPathRole).toString(), this);
    if (!error.isEmpty())
        Prompter::instance().error(error);
}

QModelIndexList TFileViewFol::selectedRows() const
{
    // The icon views select only the first column, so rows are taken from it.
    QModelIndexList rows;
    for (const QModelIndex& index : currentView()->selectionModel()->selectedIndexes()) {
        if (index.column() == 0)
            rows << index;
    }
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return rows;
}

QStringList TFileViewFol::selectedPaths() const
{
    QStringList paths;
    for (const QModelIndex& index : selectedRows())
        paths << m_model.data(index, FileListModel::FullPathRole).toString();
    return paths;
}

bool TFileViewFol::HasSelectedExtension(const QString& extension) const
{
    const QModelIndexList rows = selectedRows();
    return std::any_of(rows.begin(), rows.end(), [&extension](const QModelIndex& index) {
        return index.data().toString().endsWith(extension, Qt::CaseInsensitive);
    });
}

int TFileViewFol::SelectedNumber() const
{
    const int selected = int(selectedRows().size());
    return selected > 0 ? selected : m_model.rowCount();
}

qint64 TFileViewFol::SelectedSize() const
{
    qint64 total = 0;
    for (const QModelIndex& index : selectedRows())
        total += m_model.listing().at(index.row()).Size;
    return total;
}

qint64 TFileViewFol::DriveFreeSpace() const
{
    return isMyComputer(m_directory) ? 0 : DriveFreeKB(DriveOfPath(m_directory).root);
}
