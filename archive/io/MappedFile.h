#pragma once
// A whole file mapped read-only into memory: the same bytes as a copy in memory, without
// the memory. The file stays open beside its mapping (fd()), for copies the kernel makes from
// it. Unmapped and closed when destroyed.

#include "io/ReadDevice.h"

#include <QString>

#include <cstdint>

namespace zipio {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // False with errorString() when the file cannot be opened or mapped.
    bool open(const QString& path);
    const uint8_t* data() const { return m_data; }
    uint64_t size() const { return m_size; }
    int fd() const { return m_file.fd(); }
    QString errorString() const { return m_error; }
    // The bytes before offset will not be read again: their pages leave this process's
    // resident memory (they stay in the page cache, and reading them again maps them back).
    // Done in steps of several megabytes, so a caller may tell it after every small read.
    void dropBefore(uint64_t offset);

private:
    FileDevice m_file;
    const uint8_t* m_data = nullptr;
    uint64_t m_size = 0;
    uint64_t m_dropped = 0;
    QString m_error;
    // A zero-length file has nothing to map but is still a valid, empty input.
    static const uint8_t kEmpty;
};

} // namespace zipio
