#pragma once
// The drop targets of the browse panes (DropComboTargetfiles on the file list,
// DropComboTargetPath on the folder tree, DropComboTargettabs on the drive tabs): files and
// folders dragged from other file managers or from the program's own panes (text/uri-list,
// the document portal's key of a sandboxed program), and data that carries a file name.
//
// While a drag hovers, the folder under the cursor is the drop target and the window caption
// reads "Copy to  " and the folder; a hidden folder takes nothing. A plain drop moves the
// items there; a drop with the right mouse button alone asks with PopupMenuDragDrop ("Copy
// here", "Move here", "Cancel"). The transfers run through the program's file operation
// after the drop has returned, so the program the items came from is not kept waiting, and
// the folders concerned are announced as changed.

#include "fileops/DropRules.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>

#include <functional>

class QAction;
class QDragMoveEvent;
class QDropEvent;
class QMenu;
class QMimeData;
class QWidget;
class TFileViewFol;
class TPathViewFol;
class TTabControlDriveFol;

class DropTargets : public QObject {
    Q_OBJECT
public:
    struct Panes {
        TTabControlDriveFol* tabs = nullptr;
        TPathViewFol* tree = nullptr;
        TFileViewFol* list = nullptr;
    };
    DropTargets(QWidget* window, const Panes& panes);

    // While a drop target is shown in the caption, the window's own caption is held back
    // (true); false gives the normal caption back.
    void setCaptionHold(std::function<void(bool held)> hold) { m_holdCaption = std::move(hold); }
    // The current folder the tree shows again after a plain move (CurrentPath).
    void setCurrentPath(std::function<QString()> currentPath) { m_currentPath = std::move(currentPath); }

    QMenu* PopupMenuDragDrop() const { return m_menu; }
    QString dropTarget() const { return m_target; }

    // The local paths a drop carries: its file list, or the files behind a portal key.
    static QStringList droppedPaths(const QMimeData* mime);

Q_SIGNALS:
    // A drop's transfer (or stream) is done (tests wait for it).
    void dropFinished();
    // Items dragged from the program's own panes were dropped on the file list.
    void listDroppedFromProgram();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DropComboTargetfilesDragOver(const QPoint& position);
    void DropComboTargetPathDragOver(const QPoint& position);
    void DropComboTargettabsDragOver(const QPoint& position);
    // The drag-over handler of pane's target.
    void findTarget(DropRules::Pane pane, const QPoint& position);
    void dragOver(DropRules::Pane pane, QDragMoveEvent* event);
    void drop(DropRules::Pane pane, QDropEvent* event);
    void DropComboTargetLeave();
    void Copyhere1Click();
    void Movehere1Click();
    void Cancel1Click();
    void setTarget(DropRules::Pane pane, const QString& folder);
    void transfer(bool move, bool thenShowCurrent);
    void clearDrop();

    QWidget* m_window;
    Panes m_panes;
    QMenu* m_menu;
    std::function<void(bool)> m_holdCaption;
    std::function<QString()> m_currentPath;
    QString m_target;       // the drop target folder, empty when none
    QString m_checked;      // the folder m_target was decided for
    bool m_rightButton = false;
    DropRules::Plan m_plan; // the last drop's, while its menu shows or its transfer waits
};
