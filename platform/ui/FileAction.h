#pragma once
// A window action run for one named file (the file a viewer shows): the file rides in the
// action's data while the action runs, so its handler acts on that file instead of on the
// selection of whichever of the folder tree and the file list had the focus last.

#include <QString>

class QAction;
class QObject;

namespace FileAction {

// Runs the action for the file; an empty file runs it on the selection as usual.
void trigger(QAction* action, const QString& file);

// The file the action that called a handler was run for; empty for a plain run.
QString fileOf(const QObject* sender);

} // namespace FileAction
