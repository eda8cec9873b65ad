#pragma once
// Adds up the sizes of the files a zip is about to take, off the UI thread (the work list
// may hold a whole home folder). Files that vanished count nothing.

#include "platform/Job.h"

#include <QStringList>

class TotalSizeJob final : public Job {
public:
    explicit TotalSizeJob(QStringList files) : m_files(std::move(files)) {}
    std::int64_t total() const { return m_total; }

    // More than 1 GiB (not equal): the zip asks before it starts.
    static constexpr std::int64_t kQuestionAbove = 1073741824;

protected:
    bool plan() override;
    void execute() override;

private:
    QStringList m_files;
    std::int64_t m_total = 0;
};
