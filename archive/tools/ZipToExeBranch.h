#pragma once
// The batch loop's Zip to EXE branch (operation code opZipToExe): every archive of the work
// list becomes a self-extracting program "<name>.exe" in the confirmed folder, the stub
// "fv3smallstub.exe" (UseSmallZipToExe on) or "fv3selfstub.exe" followed by the archive.
// The program is written to a temporary file and renamed into place; an existing one of the
// same name is replaced only after the question (Yes, No, Yes to All). An archive that fails
// shows "ERROR on " and its path, the batch goes on, and ZipBatchFailure lists the failures
// with their reasons for the window to say once.

#include <QString>

class ZipToExeBranch {
public:
    static void registerBranch();

    // The stub the next batches use: the small one or the windowed one.
    static void setSmallStub(bool small);
    // Where the stubs are: the running program's folder unless set (tests, fvtool).
    static void setStubFolder(const QString& folder);
    static QString stubPath();

    // The target for archivePath in folder: the archive's name without its extension + ".exe".
    static QString targetPath(const QString& folder, const QString& archivePath);
};
