#pragma once
// Finds a text in the bytes of a file, reading it in chunks (never a string of the whole
// file). Sixteen places are tested at a time for the text's first and last bytes, and only
// those candidates compared whole; ignoring case folds ASCII letters on the way. The text
// is searched as its UTF-8 bytes.

#include "platform/Job.h"
#include "viewers/text/PagedFile.h"

#include <QByteArray>

#include <cstdint>
#include <functional>

class ByteSearch {
public:
    ByteSearch(QByteArray needle, bool matchCase);

    // The first match at or after from in data, -1 when none.
    qsizetype find(const char* data, qsizetype size, qsizetype from = 0) const;

    // The first match at or after from in file, -1 when none (or when progress, told the
    // bytes searched so far after each chunk, returns false to stop).
    std::int64_t findIn(const PagedFile& file, std::int64_t from,
                        const std::function<bool(std::int64_t searched)>& progress = {}) const;

    int length() const { return int(m_needle.size()); }

private:
    QByteArray m_needle;
    QByteArray m_folded; // the needle in lower case (ASCII), when case is ignored
    bool m_matchCase;
};

// Runs one ByteSearch through a file on a worker, with progress and Cancel between chunks.
class TextSearchJob final : public Job {
public:
    TextSearchJob(const PagedFile& file, ByteSearch search, std::int64_t from)
        : m_file(file)
        , m_search(std::move(search))
        , m_from(from)
    {
    }

    // The offset of the match, -1 when none was found.
    std::int64_t found() const { return m_found; }

protected:
    bool plan() override;
    void execute() override;

private:
    const PagedFile& m_file;
    ByteSearch m_search;
    std::int64_t m_from;
    std::int64_t m_found = -1;
};
