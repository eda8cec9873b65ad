#pragma once
// The program's file operation: copy, move, delete and rename over lists of paths, asking
// before it replaces or deletes, showing progress on long work (unless silent), moving deleted
// items to the Trash when undo is allowed, and never losing data: a source is removed only
// after its copy is complete, a failed copy leaves no partial target and an untouched source,
// and a copy or move onto itself or into its own subfolder is refused before anything starts.
//
// One synchronous call for the caller: the work is a job (platform/TransferJob) that runs on a
// worker thread while the progress window (or a local event loop) keeps the window alive;
// questions come back to the UI thread. Called from a worker (a batch item), the job runs on
// that worker and its questions and messages still go to the UI thread.

#include <QFlags>
#include <QString>
#include <QStringList>

enum class FileOperationKind { Copy, Move, Delete, Rename };

enum class FileOperationFlag {
    None = 0,
    AllowUndo = 0x1, // deleted items go to the Trash
    Silent = 0x2,    // no progress dialog
};
Q_DECLARE_FLAGS(FileOperationFlags, FileOperationFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(FileOperationFlags)

struct FileOperationResult {
    bool succeeded = false; // every item done
    bool aborted = false;   // the user cancelled (in a question or the progress dialog)
    QString error;          // the error reported to the user, empty when none

    // The program's rule: the whole operation succeeded and was not aborted.
    bool ok() const { return succeeded && !aborted; }
};

// The service behind RunFileOperation: the engine in the program; tests of other subsystems
// install FakeFileOperations (tests/support) to see what a command asked for.
class FileOperationService {
public:
    virtual ~FileOperationService();
    virtual FileOperationResult run(FileOperationKind kind, const QStringList& sources, const QStringList& targets,
                                    FileOperationFlags flags) = 0;

    static FileOperationService& instance();
    static void setInstance(FileOperationService* service);
};

// Copy and Move: targets is one folder that receives every source (made when several sources
// go to a folder that does not exist yet), or, for one source, the new path when it is not an
// existing folder, or one target path per source. A source sent into the folder that holds it
// is copied beside itself under a new name ("name - Copy.ext", "name - Copy (2).ext", ...), and
// not moved at all. Rename: one new path (or bare new name) per
// source. Delete: targets is ignored. Errors are shown through the Prompter.
FileOperationResult RunFileOperation(FileOperationKind kind, const QStringList& sources, const QStringList& targets,
                                     FileOperationFlags flags = FileOperationFlag::AllowUndo);

// True only when the whole operation succeeded and was not aborted.
bool RunTransfer(FileOperationKind kind, const QStringList& sources, const QStringList& targets,
                 FileOperationFlags flags = FileOperationFlag::AllowUndo);

// Path lists: each path followed by a NUL, one more NUL at the end.
QString ToPathList(const QStringList& paths);
QStringList FromPathList(const QString& pathList);
