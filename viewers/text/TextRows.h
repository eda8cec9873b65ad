#pragma once
// How the viewer cuts a file into text rows: a row ends after a line feed, or after
// kMaxRowBytes bytes of a longer line, so that a file without line ends (or a huge one)
// still shows as rows of bounded size. Rows are found from any offset by reading windows
// of the file; nothing is loaded whole.

#include "viewers/text/PagedFile.h"

#include <QString>

#include <cstdint>
#include <vector>

class TextRows {
public:
    static constexpr std::int64_t kMaxRowBytes = 4096;
    static constexpr int kTabWidth = 8;

    explicit TextRows(const PagedFile& file)
        : m_file(file)
    {
    }

    // The offset where the row after the one starting at rowStart begins (size() at the end).
    std::int64_t nextRow(std::int64_t rowStart) const;
    // The start of the row before the one starting at rowStart (0 for the first row).
    std::int64_t previousRow(std::int64_t rowStart) const;
    // The start of the row holding offset.
    std::int64_t rowStartOf(std::int64_t offset) const;

    // A row as shown: its bytes without the line end, decoded (UTF-8 when valid, else
    // Latin-1), tabs expanded; byteOf[i] is the offset in the file of shown character i,
    // with one more entry for the row's end.
    struct Shown {
        QString text;
        std::vector<std::int64_t> byteOf;
    };
    Shown shown(std::int64_t rowStart) const;

private:
    // The start of the line (after the line feed before it) holding offset.
    std::int64_t lineStartOf(std::int64_t offset) const;

    const PagedFile& m_file;
};
