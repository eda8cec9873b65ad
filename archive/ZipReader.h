#pragma once
// Opens an archive on disk (one file, or the volumes name.z01, name.z02, ..., name.zip of a
// split archive) and streams an entry's bytes through decryption, inflation and the CRC
// check to a sink. Never allocates by a size read from the archive without checking it
// against the bytes that are really there. A failed call leaves its reason, naming the
// archive or the entry, in errorString().

#include "ZipEntry.h"
#include "codec/Deflate.h"
#include "io/ReadDevice.h"
#include "io/ReadWindow.h"

#include <functional>
#include <memory>
#include <vector>

class ZipReader {
public:
    enum class Status { Ok, NeedPassword, WrongPassword, Damaged, CrcMismatch, Unsupported, SinkFailed, Aborted };

    bool open(const QString& path);
    // For fuzzing and tests: an archive held in memory.
    bool openMemory(const uint8_t* data, size_t size);
    void close();
    bool isOpen() const { return m_device != nullptr; }
    bool isSpanned() const { return m_volumes > 1; }
    QString errorString() const { return m_error; }

    std::vector<ZipEntry>& entries() { return m_entries; }
    const std::vector<ZipEntry>& entries() const { return m_entries; }
    const zipio::ReadDevice& device() const { return *m_device; }

    // Streams the entry's plain bytes to sink. progress gets 0..100 and returns false to
    // abort. The sink never receives more than the declared size, and the stream must
    // end with exactly that size and the declared CRC for Ok; any other status comes with
    // errorString().
    Status read(const ZipEntry& entry, const std::string& password, const zipcodec::ByteSink& sink,
                const std::function<bool(int)>& progress);
    // The raw stored bytes: local header, data and data descriptor (for rewriting).
    bool rawRange(const ZipEntry& entry, uint64_t& start, uint64_t& length);

    static QStringList volumePaths(const QString& zipPath);

private:
    bool openVolumes(const QStringList& paths);
    bool load(const QString& path, const std::vector<uint64_t>& volumeStarts);
    // Sets errorString() to "zip: entry 'name': why" and returns status.
    Status entryFailed(const ZipEntry& entry, Status status, const QString& why);

    std::unique_ptr<zipio::ReadDevice> m_device;
    // What read() reads through (over m_device).
    std::unique_ptr<zipio::ReadWindow> m_window;
    std::vector<ZipEntry> m_entries;
    size_t m_volumes = 0;
    QString m_error;
};
