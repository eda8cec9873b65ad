#pragma once
// The file list's own key bindings: one key per action, and the set of actions that are on.
// A binding works only while its action is in Actions.

#include <QFlags>
#include <QKeySequence>

enum class TFileViewAction {
    vaCopy = 0x1,
    vaPaste = 0x2,
    vaCut = 0x4,
    vaOpen = 0x8,
    vaNewFolder = 0x10,
    vaSelectAll = 0x20,
    vaDelete = 0x40,
    vaBack = 0x80,
    vaRename = 0x100,
    vaFindFile = 0x200,
    vaRefresh = 0x400,
};
Q_DECLARE_FLAGS(TFileViewActions, TFileViewAction)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFileViewActions)

struct TFileViewShortCuts {
    QKeySequence scCopy{Qt::CTRL | Qt::Key_C};
    QKeySequence scCut{Qt::CTRL | Qt::Key_X};
    QKeySequence scOpen{Qt::CTRL | Qt::Key_O};
    QKeySequence scDelete{Qt::Key_Delete};
    QKeySequence scRename{Qt::Key_F2};
    QKeySequence scNewFolder{Qt::CTRL | Qt::Key_N};
    QKeySequence scPaste{Qt::CTRL | Qt::Key_V};
    QKeySequence scBack{Qt::Key_Backspace};
    QKeySequence scFindFile{Qt::Key_F3};
    QKeySequence scRefresh{Qt::Key_F5};
    QKeySequence scSelectAll{Qt::CTRL | Qt::Key_A};
    TFileViewActions Actions{0x7ff};
};
