#pragma once
// Writes to an output device the bytes of an input held in memory, ranges of it and new
// bytes alike, keeping its own count of the output's position. When the input is also a
// file (the one mapped) and the output is a file, ranges are copied from file to file
// inside the kernel (copy_file_range): their bytes never pass through this process, so a
// mapped input's pages are never touched and a copy costs no memory. Where the kernel
// refuses that (another file system, an old kernel), the ranges are written from memory.

#include <QString>

#include <cstdint>

class QFileDevice;
class QIODevice;

namespace zipio {

class RangeCopier {
public:
    // input: the input's bytes, inputFd: the same bytes as a file, or -1.
    RangeCopier(const uint8_t* input, int inputFd, QIODevice* output);
    // Leaves the output device where the last byte written ends.
    ~RangeCopier();
    RangeCopier(const RangeCopier&) = delete;
    RangeCopier& operator=(const RangeCopier&) = delete;

    // The output's position: where the next byte goes.
    uint64_t pos() const { return m_pos; }
    // The n input bytes at offset, then new bytes; false with errorString() when the output
    // cannot be written.
    bool copy(uint64_t offset, uint64_t n);
    bool write(const void* data, uint64_t n);
    QString errorString() const { return m_error; }

private:
    // Copies what it can, leaving offset and n at the rest (none unless the kernel refused).
    bool copyInKernel(uint64_t& offset, uint64_t& n);
    bool failed(const QString& reason);

    const uint8_t* m_input;
    QIODevice* m_output;
    QFileDevice* m_file = nullptr; // the output, while the kernel copies to it
    int m_inputFd;
    uint64_t m_pos;
    QString m_error;
};

} // namespace zipio
