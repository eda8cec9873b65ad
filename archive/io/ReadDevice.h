#pragma once
// Random-access byte sources the zip reader works on: one file, the volumes of a split
// archive seen as one run of bytes, or a block of memory (fuzzing, tests).

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zipio {

class ReadDevice {
public:
    virtual ~ReadDevice() = default;
    virtual uint64_t size() const = 0;
    // Reads exactly n bytes at offset; false when the range does not lie inside the device
    // or the read fails.
    virtual bool readAt(uint64_t offset, void* buffer, size_t n) const = 0;
};

// A file descriptor that closes itself.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept { reset(other.release()); return *this; }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release() { int fd = m_fd; m_fd = -1; return fd; }
    void reset(int fd = -1);

private:
    int m_fd = -1;
};

class FileDevice : public ReadDevice {
public:
    // Opens a regular file (never a FIFO or device) for reading; false with errorString().
    bool open(const QString& path);
    uint64_t size() const override { return m_size; }
    bool readAt(uint64_t offset, void* buffer, size_t n) const override;
    int fd() const { return m_fd.get(); }
    QString errorString() const { return m_error; }

private:
    UniqueFd m_fd;
    uint64_t m_size = 0;
    QString m_error;
};

// The volumes of a split archive one after the other; offset 0 is the first byte of the
// first volume.
class VolumeSet : public ReadDevice {
public:
    explicit VolumeSet(std::vector<std::unique_ptr<FileDevice>> volumes);
    uint64_t size() const override { return m_total; }
    bool readAt(uint64_t offset, void* buffer, size_t n) const override;
    size_t volumeCount() const { return m_volumes.size(); }
    // Start of volume i in the joined run (i may equal volumeCount(), giving size()).
    uint64_t volumeStart(size_t i) const { return m_starts[i]; }

private:
    std::vector<std::unique_ptr<FileDevice>> m_volumes;
    std::vector<uint64_t> m_starts;
    uint64_t m_total = 0;
};

class MemoryDevice : public ReadDevice {
public:
    MemoryDevice(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint64_t size() const override { return m_size; }
    bool readAt(uint64_t offset, void* buffer, size_t n) const override;

private:
    const uint8_t* m_data;
    size_t m_size;
};

inline bool rangeInside(uint64_t offset, uint64_t n, uint64_t size) { return offset <= size && n <= size - offset; }

} // namespace zipio
