#pragma once
// What a drop on a browse pane does, decided without widgets: the folder that receives it,
// and whether the dropped items move at once (a plain drop), wait for the drop menu (a drop
// with the right mouse button alone), or change nothing.
//
// Nothing is moved onto itself or into itself: a folder dropped on itself, on its own tree
// node or on one of its own subfolders is left out, as is an item dropped on the folder that
// already holds it (unless the drop menu may copy it there beside itself); a drop left with
// nothing to do does nothing.

#include <QString>
#include <QStringList>

#include <functional>

namespace DropRules {

enum class Pane { List, Tree, Tabs };
enum class Action { Nothing, Move, AskMenu };

// The drop target folder, or empty when folder may receive nothing: a hidden folder (or one
// whose attributes cannot be read) that is not a drive's root.
QString acceptedTarget(const QString& folder, bool hiddenOrUnreadable, bool isDriveRoot);

// The caption while a drag hovers over target: "Copy to  " and the folder, with one blank on
// the drive tabs.
QString hoverCaption(Pane pane, const QString& target);

struct Drop {
    Pane pane = Pane::List;
    QString target;       // the drop target folder
    QStringList dropped;  // the local paths dropped, in order
    QString listFolder;   // the list's folder with a trailing "/"
    bool rightButton = false;
};

struct Plan {
    Action action = Action::Nothing;
    QStringList sources; // what the transfer takes
    QString into;        // the target with a trailing "/"
    bool announce = false; // the target and the source folder are announced as changed
};

// exists: whether a dropped path is there (a file or a folder).
Plan plan(const Drop& drop, const std::function<bool(const QString&)>& exists);

// A dropped data stream's own name reduced to a plain file name: the part after the last
// "/", never "." or "..", and no NUL; empty when nothing usable is left.
QString streamFileName(const QString& suggested);

} // namespace DropRules
