#pragma once
// The batch loop's branches of the five file tools (operation codes 10 to 14): Change
// Extension, Append Files, Make Number Files, Search + Replace file name and Change
// Attribute Date/Time. Each entry's new name is built in the target folder; the renaming
// tools move an entry found elsewhere (below a selected folder) into the target under it.
//
// No tool replaces a file without asking, and none loses one:
// - Change Extension and Search + Replace fail an entry whose new name is taken
//   ("ERROR on " + name).
// - Append Files and Make Number Files ask the replace question (Yes, Yes to All, No,
//   Cancel); a replaced file goes to the Trash first. When a new name is the name of an
//   entry still to come (renumbering 000001..000009 from 2), that entry is moved aside to a
//   free name beside it and renamed from there when its turn comes, so it is never asked
//   about, let alone replaced.
// - A new name with "/" or NUL, or one that is "." or "..", is refused with "ERROR on".

#include "fileops/BatchActions.h"
#include "fileops/ConfirmActions.h"

#include <QString>

namespace FileToolBranches {

// Registers the five branches in the batch loop's table.
void registerAll();

// Whether the dialog gave the tool what it needs: a new extension, a first number, one of
// the two texts (an empty search text cannot be searched for). Without it the command stops.
bool hasInput(OperationCode code, const ConfirmResults& options);

// The line the progress dialog shows first ("Change file extension...", ...).
QString progressCaption(OperationCode code);

} // namespace FileToolBranches
