#pragma once
// The texts of the main window that follow the view mode: window titles, the View
// button's hint, the spinner's hint, the caption with the drive's sizes.

#include "platform/ViewMode.h"

#include <QString>

#include <functional>

namespace ViewModeTexts {

// "Folvane File Manager", "Folvane Web Browser", ... by mode.
QString ModeTitle(TViewMode mode);
// The hint of MenuViewFile and ButtonViewFile: "Open <file>" in modes 0 and 1, else the
// pane's close text ("Close Editor", ...).
QString ViewHint(TViewMode mode, const QString& currentFile);

// The spinner's hint (SpinnerHintText): count items in the list, selected the selected
// row (-1: none), nameAt the file name of a row.
QString SpinnerHintText(TViewMode mode, int count, int selected, const std::function<QString(int)>& nameAt);

// The caption: the mode title, five blanks, the drive's name, one blank, its total size,
// two blanks, its free space and " free"; sizes as the file list writes them.
QString Caption(TViewMode mode, const QString& driveName, const QString& total, const QString& free);

} // namespace ViewModeTexts
