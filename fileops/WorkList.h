#pragma once
// The work list of the batch commands: the files they act on, collected from the list rows.

#include "fileops/BrowsePanes.h"
#include "platform/Job.h"

#include <QStringList>

#include <functional>

// Walks the rows in order (every row when wholeList, else the selected ones): a row whose
// path is an existing file is taken as it is; any other row is taken as a folder and every
// file below it is added, first the folder's own files in byte order of their names, then
// each subfolder whose name does not begin with "." in the same way. Only regular files (or
// links to them) are taken, and linked folders are not entered, so a link loop or a FIFO
// cannot hang a batch. The entry types come from the folder reads themselves; only links and
// entries of unknown type are looked at further. stop (may be empty) ends the walk early with
// what was found so far (asked between folders); onFile (may be empty) is told of each file.
QStringList CollectSelectedFiles(const QList<ListEntry>& rows, bool wholeList,
                                 const std::function<bool()>& stop = {}, const std::function<void()>& onFile = {});

// The same walk as a job, for the window: it runs off the UI thread with a count and Cancel
// (a selected home folder may hold a million files). Cancelled, the work list is empty.
class WorkListJob final : public Job {
public:
    WorkListJob(QList<ListEntry> rows, bool wholeList);
    const QStringList& files() const { return m_files; }

protected:
    bool plan() override { return true; }
    void execute() override;

private:
    QList<ListEntry> m_rows;
    bool m_wholeList;
    QStringList m_files;
};
