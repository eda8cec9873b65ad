#include "viewers/ControlStates.h"

#include "viewers/FileKinds.h"

namespace {

// Names shorter than "/a" plus an extension are no file to act on.
constexpr int kShortestFile = 3;

bool usableFile(const ControlFacts& f)
{
    return f.currentFile.size() > kShortestFile;
}

bool deleteEnabled(const ControlFacts& f)
{
    switch (f.mode) {
    case vmFileManager:
        if (f.listFocused)
            return f.selectionCount > 0 && usableFile(f) && f.folderIsValid && !f.renaming;
        return f.treeFocused && f.treePathExists && f.treeLevel > 1 && f.folderIsValid && !f.renaming;
    case vmWebBrowser: return false;
    case vmTextEditor: return f.editorHasSelection;
    case vmMoviePlayer: return f.currentFileExists;
    case vmFileViewer:
    case vmImageViewer:
    case vmZipViewer: return f.selectedItemExists;
    }
    return false;
}

} // namespace

ControlStates ComputeControlStates(const ControlFacts& f)
{
    ControlStates s;
    s.fileViewerCopy = f.viewerHasSelection;
    s.textEditorPrint = f.editorLineCount > 0;
    s.undo = f.mode == vmTextEditor && f.editorCanUndo;
    s.editorCutCopyDelete = f.editorHasSelection;
    s.editorPaste = f.clipboardHasText;
    s.save = f.mode == vmTextEditor && f.editorModified;
    s.fileTools = f.mode == vmFileManager && f.treeHasSelection && f.folderIsValid && f.treePathExists && !f.listIsDriveView;
    s.drive = f.mode == vmFileManager;

    s.view = f.selectionCount > 0;
    s.textEditor = f.currentFileExists && usableFile(f);
    s.newTextFileAndZip = f.treePathExists && f.folderIsValid && !f.listIsDriveView;
    s.unZip = f.selectionCount > 0 && FileKinds::HasExtension(f.currentFile, QStringLiteral(".ZIP")) && usableFile(f);
    s.deleteButton = deleteEnabled(f);
    return s;
}
