#pragma once
// Which commands of the main window are enabled, from what the idle handler gathered: a
// plain function, so the whole table is tested as a table of cases. Rows marked "every
// idle" are cheap facts (the panes' own flags, the cached clipboard state); the rows
// "on change" are worked out only when the mode, the folder, the item or the selection
// count changed.

#include "platform/ViewMode.h"

#include <QString>

struct ControlFacts {
    TViewMode mode = vmFileManager;
    // The browse panes (file manager).
    bool listFocused = false;
    bool treeFocused = false;
    int selectionCount = 0;
    bool listIsDriveView = false; // the list shows "My Computer"
    bool treeHasSelection = false;
    bool treePathExists = false;
    int treeLevel = 0; // the selected node's depth: 0 the root, 1 a drive
    bool renaming = false;
    bool folderIsValid = false;
    // The current item.
    QString currentFile;
    bool currentFileExists = false;
    bool selectedItemExists = false; // the list's selected file, as the viewer panes show it
    // The panes' flags, read every idle.
    bool editorHasSelection = false;
    bool editorCanUndo = false;
    bool editorModified = false;
    int editorLineCount = 0;
    bool viewerHasSelection = false;
    bool clipboardHasText = false;
};

struct ControlStates {
    // Every idle.
    bool fileViewerCopy = false;
    bool textEditorPrint = false;
    bool undo = false;
    bool editorCutCopyDelete = false;
    bool editorPaste = false;
    bool save = false;
    bool fileTools = false;
    bool drive = false;
    // On change.
    bool view = false; // ButtonViewFile, MenuViewFile and the spinner
    bool textEditor = false;
    bool newTextFileAndZip = false;
    bool unZip = false;
    bool deleteButton = false; // ButtonDelete, MenuDelete follows it
};

ControlStates ComputeControlStates(const ControlFacts& facts);
