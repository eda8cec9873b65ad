#pragma once
// The batch loop every batch command runs inside the progress dialog (ConvertFilesShow):
// for each work list entry it asks the operation code's branch to do the item, shows the
// progress, stops before the next item once Cancel was pressed, and ends the whole batch
// without a message when a branch fails beyond one item. The branches are registered by the
// subsystems that own them (graphics conversions, file tools, zip commands).

#include "fileops/ConfirmActions.h"

#include <QString>
#include <QStringList>

#include <functional>

// The operation codes of the batch commands; the action names follow the same order.
enum OperationCode : quint8 {
    opBmpToJpg = 0, opBmpToGif, opBmpToWmf, opBmpToTif, opJpgToBmp, opJpgToGif, opWmfToBmp, opGifToBmp, opGifToJpg,
    opTifToBmp = 9,
    opChangeExtension = 10, opAppendFiles, opMakeNumberFiles, opSearchReplace, opChangeAttributes = 14,
    opZipToExe = 15, opZip, opUnzip, opZipFix = 18,
    kOperationCount
};

QString ActionNameOf(OperationCode code);

// What the loop shows and asks while it runs; the progress dialog implements it.
class BatchProgress {
public:
    virtual ~BatchProgress();
    virtual void setAction(const QString& text) = 0;
    virtual void setListNames(const QString& text) = 0;
    virtual void setProgressText(const QString& text) = 0;
    virtual void setItemText(const QString& text) = 0;
    virtual void setOverall(int percent) = 0;
    // Lets pending window messages run (so Cancel can be pressed).
    virtual void processEvents() = 0;
    virtual bool cancelled() const = 0;
};

struct BatchItem {
    int index = 0;  // 0-based
    int count = 0;
    QString path;   // the work list entry
    const ConfirmResults* options = nullptr;
    BatchProgress* progress = nullptr;
};

struct BatchItemResult {
    enum class Status { Done, Failed, Fatal };
    Status status = Status::Done;
    QString newName;   // shown as the item's target ("path to\r\nnew name")
    QString errorLine; // Failed: the line shown in LabelItemMeter; the loop goes on
};

// A branch computes the item's new name (prepare) and carries it out (run). prepare runs
// before the Cancel check, run after it, as the labels must show the item first.
struct BatchBranch {
    std::function<QString(const BatchItem&)> prepare;
    std::function<BatchItemResult(const BatchItem&, const QString& newName)> run;
    std::function<bool(const QStringList& work, const ConfirmResults&)> before; // false ends the batch
};

class BatchBranches {
public:
    static void set(OperationCode code, BatchBranch branch);
    static void clear(OperationCode code);
    static const BatchBranch* find(OperationCode code);
};

enum class BatchEnd { Done, Cancelled, Failed };

// Runs the batch; the caller closes the dialog ("done" or, on Failed, a plain close).
BatchEnd ConvertFilesShow(BatchProgress& progress, OperationCode code, const QStringList& work,
                          const ConfirmResults& options);

// "n file" below 2, else "n files": the progress dialog's first count line.
QString FileCountText(qsizetype count);
