#pragma once
// The captions of the File Tools items, which count the selected list items (never the
// files below selected folders, so opening the menu reads nothing from the disk). The
// numbers are framed by "(" and ") files"; one item and none have forms of their own.

#include <QString>

namespace FileToolCaptions {

enum class Item {
    ChangeExtension,
    MakeNumbered,
    Append,
    SearchReplace,
    Attributes,
    SaveToClipboard,      // the main menu's caption
    PopupSaveToClipboard,
    SaveToTextFile,       // the main menu's caption
    PopupSaveToTextFile,
    ShortcutIn,
    ShortcutToDesktop,
};

// The caption for n selected items; listFolder is named by the shortcut items when n is 0.
QString caption(Item item, int n, const QString& listFolder = QString());

// The main menu's save items when the tree is the active control.
QString treeSaveToClipboard(const QString& treeFolder);
QString treeSaveToTextFile(const QString& treeFolder);

// The title of the folder picker of Make Shortcut in...: the selection's count when the list
// is active with items selected, else the list's folder.
QString shortcutPickerTitle(int n, const QString& listFolder);

} // namespace FileToolCaptions
