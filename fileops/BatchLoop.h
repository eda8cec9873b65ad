#pragma once
// The batch loop every batch command runs (ConvertFilesShow), as a job: for each work list
// entry it asks the operation code's branch to do the item on the runner's worker thread,
// publishes the labels that the progress dialog polls, stops before the next item once
// Cancel was pressed, and ends the whole batch without a message when a branch fails beyond
// one item. The branches are registered by the subsystems that own them (graphics
// conversions, file tools, zip commands).

#include "fileops/BatchActions.h"
#include "fileops/ConfirmActions.h"
#include "platform/Job.h"

#include <QMutex>
#include <QString>
#include <QStringList>

#include <functional>

class BatchLoop;

// What the progress dialog shows, as the loop last set it.
struct BatchLabels {
    int serial = 0; // goes up with every change; 0 until the loop has set anything
    QString action;
    QString listNames;
    QString progressText;
    QString itemText; // the last item's error line
    int overall = 0;  // percent
    int item = 0;     // percent of the current item, as its branch reports it
};

struct BatchItem {
    int index = 0; // 0-based
    int count = 0;
    QString path;  // the work list entry
    const ConfirmResults* options = nullptr;
    BatchLoop* loop = nullptr; // for the item meter (setItemPercent)
};

struct BatchItemResult {
    enum class Status { Done, Failed, Fatal };
    Status status = Status::Done;
    QString newName;   // shown as the item's target ("path to\r\nnew name")
    QString errorLine; // Failed: the line shown in LabelItemMeter; the loop goes on
};

// A branch computes the item's new name (prepare) and carries it out (run). prepare runs
// before the Cancel check, run after it, as the labels must show the item first. Both run on
// the runner's worker thread: they touch no widget, and what they ask goes through calls
// that ask on the UI thread (RunFileOperation, RunOnUiThread). before runs once on the UI
// thread ahead of the first item and may ask the user directly; false ends the batch.
struct BatchBranch {
    std::function<QString(const BatchItem&)> prepare;
    std::function<BatchItemResult(const BatchItem&, const QString& newName)> run;
    std::function<bool(const QStringList& work, const ConfirmResults&)> before;
    // Runs once on the worker after the items, also after Cancel or a failure (failed tells
    // which): a branch that gathers the items into one result (an archive) completes or
    // drops it here. A non-empty answer is the failure that ends the batch.
    std::function<QString(BatchLoop& loop, bool failed)> finish;
};

class BatchBranches {
public:
    static void set(OperationCode code, BatchBranch branch);
    static void clear(OperationCode code);
    static const BatchBranch* find(OperationCode code);
};

enum class BatchEnd { Done, Cancelled, Failed };

class BatchLoop final : public Job {
public:
    BatchLoop(OperationCode code, QStringList work, ConfirmResults options);

    // How the batch ended; read once the job has finished.
    BatchEnd end() const;
    BatchLabels labels() const;

    // For a branch while its item runs: the item meter.
    void setItemPercent(int percent);
    // For a branch while its item runs: the line under the action (a live report).
    void setProgressText(const QString& text);
    // For a branch while it runs: the line under the overall meter and the overall meter.
    void setItemText(const QString& text);
    void setOverallPercent(int percent);

protected:
    bool plan() override;
    void execute() override; // ConvertFilesShow

private:
    void publish(const std::function<void(BatchLabels&)>& change);
    void runItems();

    OperationCode m_code;
    QStringList m_work;
    ConfirmResults m_options;
    BatchBranch m_branch;
    mutable QMutex m_labelsMutex;
    BatchLabels m_labels;
};

// "n file" below 2, else "n files": the progress dialog's first count line.
QString FileCountText(qsizetype count);
