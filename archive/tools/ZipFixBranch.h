#pragma once
// The batch loop's Zip Fix branch (operation code opZipFix): each archive of the work list
// is repaired by TFolZipFix into "<name>_reclaimed.zip" in the target folder, with every
// candidate entry reported live ("reclaimed ok: \t" / "corrupted bad: \t" and its name) and
// the summary "reclaimed %d out of %d files." once the archive is done.
//
// Nothing is replaced or left half-written: the archive is read mapped (never loaded
// whole), the repair is written to a temporary file in the target folder, flushed, and
// linked in under a name that is free, "<name>_reclaimed.zip" or, when that is taken (an
// earlier repair, or an archive of the same name from another folder of the same batch),
// "<name>_reclaimed(2).zip", "(3)" and so on. Cancel stops the repair in progress, which
// then leaves nothing behind. An archive that cannot be read or a target that cannot be
// written ends the batch; failure() then says what failed.

#include <QString>

class ZipFixBranch {
public:
    // Registers the branch in the batch loop's table.
    static void registerBranch();

    // The target's file name for archivePath: its file name without the extension, then
    // "_reclaimed.zip"; number 2 and up make "_reclaimed(2).zip".
    static QString targetName(const QString& archivePath, int number = 1);

    // Why the last Zip Fix batch ended early ("" when it did not): the archive and the reason.
    static QString failure();
};
