#pragma once
// The file manager's transfer commands over the active browse pane: copy, cut and paste
// through the internal file clipboard (and the system clipboard's file list), delete to the
// Trash, rename, new folder, new text file, copy to and move to a chosen folder, select all,
// and the enabling rules of the menus. Every transfer runs through the platform's file
// operation, which asks before replacing, refuses a folder pasted into itself and never
// leaves a half-written file.
//
// Questions and messages go through the Prompter, the folder picker through Pickers.

#include "fileops/BrowsePanes.h"
#include "fileops/FileClipboard.h"

#include <functional>

class TransferCommands {
public:
    TransferCommands(BrowsePanes& panes, FileClipboard& clipboard);

    // Runs after a paste, delete, rename or move: the main window re-checks the playlist and
    // updates the recent folders (UpdateRecentPaths).
    void setAfterChange(std::function<void()> afterChange) { m_afterChange = std::move(afterChange); }
    // Leaves a viewer pane for the file manager before a move (SwitchViewMode).
    void setReturnToFileManager(std::function<void()> fn) { m_returnToFileManager = std::move(fn); }

    // The Edit commands on the active pane.
    void copy(bool move);
    void paste();
    void deleteSelected();
    void startRename();
    void selectAll();

    // The list's and the tree's own steps.
    void copyList(bool move);
    void copyTree(bool move);
    void pasteList();
    bool pasteTree();
    void deleteList();
    void deleteTree();
    // Delete of one named file (the file a viewer shows), whichever pane is active.
    void deleteFile(const QString& path);
    void startListRename();
    // Commits a new name typed for a list row; false when nothing was renamed.
    bool renameListItem(const QString& oldPath, const QString& text, const QString& kind);
    bool renameTreeFolder(const QString& oldPath, const QString& text);

    // New Folder of the menu (the tree's rule) and of the list's own shortcut.
    bool newFolder();
    QString newFolderInList();
    // Creates an empty text file in the tree's folder; the path, empty on failure.
    QString newTextFile();

    // Copy to / Move to a folder chosen with the folder picker.
    void copyTo(bool move);
    // The same for one named file (the file a viewer shows), whichever pane is active.
    void copyFileTo(const QString& path, bool move);
    // The path whose properties the Properties command shows; empty when none.
    QString propertiesPath() const;

    // Enabling rules.
    bool canPaste() const;
    // The tree's pending folder when the tree is active, else the list's rule above.
    bool canPasteInActivePane() const;
    struct FileMenuState {
        bool newTextFile = false;
        bool newFolder = false;
        bool properties = false; // also "Send ..." and "Copy file(s) to..."
        bool moveTo = false;
    };
    FileMenuState fileMenuState() const;
    struct ListPopupState {
        bool needsSelection = false; // Cut, Copy, Delete, Rename, Send copy, Move, Properties
        bool paste = false;
        bool newFolder = false;
    };
    ListPopupState listPopupState() const;
    struct TreePopupState {
        bool belowRoot = false;  // Copy, New Folder, Properties, Send copy
        bool belowDrive = false; // Cut, Delete Folder, Rename Folder, Move folder
        bool paste = false;
    };
    TreePopupState treePopupState() const;

    // Names the commands make: "New Folder", "New Folder(0)", ... and "Newtext.txt",
    // "Newtext0.txt", ...; the list's own rule numbers from 2.
    static QString freeFolderName(const QString& parent, int firstNumber);
    static QString freeTextFileName(const QString& folder);
    static bool hasInvalidFolderChar(const QString& name);

    FileClipboard& clipboard() { return m_clipboard; }

private:
    // Deletes paths, all in folder, and shows the change.
    void deletePaths(const QString& folder, const QStringList& paths);
    // The picker titled title, then the copy or move of the candidates (those still there)
    // from folder; fromTree when the tree's folder is sent.
    void sendTo(const QString& title, const QString& folder, const QStringList& candidates, bool move, bool fromTree);
    QString listFolder() const;
    void forgetPastedCut();
    bool activePaneFolderExists() const;
    void afterChange();

    BrowsePanes& m_panes;
    FileClipboard& m_clipboard;
    std::function<void()> m_afterChange;
    std::function<void()> m_returnToFileManager;
};
