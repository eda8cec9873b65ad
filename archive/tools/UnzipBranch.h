#pragma once
// The batch loop's Unzip branch (operation code opUnzip): every archive of the work list is
// extracted into the confirmed folder, all entries but one named like the archive itself
// (a copy of the archive stored inside it is not written over it), with the dialog's
// extract options and password. The password and overwrite questions come from the
// engine (ZipQuestions); Yes to All holds for the rest of the batch. An archive that cannot
// be read or entries that cannot be written end the batch, and ZipBatchFailure says which.

class UnzipBranch {
public:
    static void registerBranch();
};
