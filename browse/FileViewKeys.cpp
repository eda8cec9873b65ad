#include "browse/FileViewKeys.h"

#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "platform/JobWaiter.h"
#include "platform/Prompter.h"
#include "platform/TransferJob.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>

#include <functional>

namespace {

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return true;
    default: return false;
    }
}

Qt::KeyboardModifiers plainModifiers(const QKeyEvent* key)
{
    return key->modifiers() & ~Qt::KeypadModifier;
}

} // namespace

FileViewKeys::FileViewKeys(TFileViewFol* list, std::initializer_list<QAbstractItemView*> views)
    : QObject(list)
    , m_list(list)
{
    for (QAbstractItemView* view : views)
        view->installEventFilter(this);
}

bool FileViewKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    return handleKey(watched, static_cast<QKeyEvent*>(event));
}

bool FileViewKeys::handleKey(QObject* view, QKeyEvent* key)
{
    TFileViewFol& list = *m_list;
    const Qt::KeyboardModifiers modifiers = plainModifiers(key);
    bool taken = runBinding(key);
    if (!taken && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        if (list.OpenByEnter())
            list.OpenSelected();
        taken = true;
    } else if (!taken && key->key() == Qt::Key_Delete && modifiers == Qt::ShiftModifier) {
        PermanentDelete(list);
        taken = true;
    } else if (!taken && !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && !key->text().isEmpty()
               && key->text().at(0).isPrint() && list.model().rowCount() > 0) {
        FirstLetterSearch(list, key->text().left(1));
        taken = true;
    } else if (!taken) {
        // The view's own handling first, then the click handling when the keys moved the
        // selection. QObject::event is public; the view's override runs.
        view->event(key);
        if (isNavigationKey(key->key()))
            list.followSelection();
        taken = key->isAccepted();
    }
    Q_EMIT list.keyDown(key->key(), key->modifiers());
    return taken;
}

bool FileViewKeys::runBinding(const QKeyEvent* key)
{
    TFileViewFol& list = *m_list;
    const QKeyCombination pressed(plainModifiers(key), Qt::Key(key->key()));
    const TFileViewShortCuts& sc = list.ShortCuts();
    const bool selected = list.selectedItemIndex().isValid();
    const bool folder = !list.isDriveView();
    struct Binding {
        const QKeySequence& keys;
        TFileViewAction action;
        bool allowed;
        std::function<void()> run;
    };
    const Binding bindings[] = {
        {sc.scCopy, TFileViewAction::vaCopy, selected, [&] { Q_EMIT list.copyRequested(); }},
        {sc.scCut, TFileViewAction::vaCut, selected, [&] { Q_EMIT list.cutRequested(); }},
        {sc.scOpen, TFileViewAction::vaOpen, selected, [&] { list.OpenSelected(); }},
        {sc.scDelete, TFileViewAction::vaDelete, selected, [&] { Q_EMIT list.deleteRequested(); }},
        {sc.scRename, TFileViewAction::vaRename, selected, [&] { Q_EMIT list.renameRequested(); }},
        {sc.scNewFolder, TFileViewAction::vaNewFolder, folder, [&] { Q_EMIT list.newFolderRequested(); }},
        {sc.scPaste, TFileViewAction::vaPaste, true, [&] { Q_EMIT list.pasteRequested(); }},
        {sc.scBack, TFileViewAction::vaBack, folder, [&] { list.GoUp(); }},
        {sc.scFindFile, TFileViewAction::vaFindFile, true, [&] { list.FindInFolder(); }},
        {sc.scRefresh, TFileViewAction::vaRefresh, true, [&] {
             // With a navigator the tree is built again and the list re-read as followers.
             if (BrowseNavigator* navigator = list.navigator())
                 navigator->reload(list.Directory());
             else
                 list.RefreshList();
         }},
        {sc.scSelectAll, TFileViewAction::vaSelectAll, true, [&] { SelectAllOrNone(list); }},
    };
    for (const Binding& binding : bindings) {
        if (binding.keys.count() != 1 || binding.keys[0] != pressed || !sc.Actions.testFlag(binding.action))
            continue;
        if (binding.allowed)
            binding.run();
        return true;
    }
    return false;
}

void FileViewKeys::SelectAllOrNone(TFileViewFol& list)
{
    QItemSelectionModel* selection = list.currentView()->selectionModel();
    if (selection->hasSelection()) {
        selection->clearSelection();
        return;
    }
    const int rows = list.model().rowCount();
    if (rows == 0)
        return;
    const QItemSelection all(list.model().index(0, 0), list.model().index(rows - 1, list.model().columnCount() - 1));
    selection->select(all, QItemSelectionModel::Select);
}

void FileViewKeys::PermanentDelete(TFileViewFol& list)
{
    const QModelIndexList rows = list.selectedRows();
    if (rows.isEmpty())
        return;
    QItemSelectionModel* selection = list.currentView()->selectionModel();
    for (const QModelIndex& row : rows) {
        // The walk ends at the first selected entry that is not a file (a folder).
        if (ItemKind(row.data(FileListModel::KindRole).toInt()) != ItemKind::File)
            break;
        const QString question = QStringLiteral("Are you sure you want to permanently delete file\r\n  \"")
            + row.data().toString() + QStringLiteral("\"?");
        if (Prompter::instance().confirm(question)) {
            TransferJob job(FileOperationKind::Delete, {row.data(FileListModel::FullPathRole).toString()}, {},
                            FileOperationFlag::Silent);
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            RunJob(job);
            QGuiApplication::restoreOverrideCursor();
            // The file stays where it was; say why instead of passing over it in silence.
            if (!job.result().error.isEmpty())
                Prompter::instance().error(job.result().error);
        }
        selection->select(row, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    list.RefreshList();
}

void FileViewKeys::FirstLetterSearch(TFileViewFol& list, const QString& letter)
{
    const int rows = list.model().rowCount();
    if (rows == 0)
        return;
    const QModelIndex selected = list.selectedItemIndex();
    const int start = selected.isValid() ? selected.row() : 0;
    list.currentView()->selectionModel()->clearSelection();
    for (int step = 1; step <= rows; ++step) {
        const int row = (start + step) % rows;
        if (list.model().index(row, 0).data().toString().startsWith(letter, Qt::CaseInsensitive)) {
            list.focusRow(row);
            list.followSelection();
            return;
        }
    }
}
