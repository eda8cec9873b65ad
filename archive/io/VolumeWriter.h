#pragma once
// Writes a new archive into temporary files beside its target and renames them into place
// only when the whole archive is written (commit); abort, an error or the destructor removes
// them, so the old archive stays as it was until the new one is complete.
//
// With a volume size limit the archive is split the way Info-ZIP and 7-Zip read it:
// name.z01, name.z02, ... and finally name.zip, the first volume starting with the split
// marker. Headers are written whole (a header never straddles two volumes); entry data may.
//
// Small writes (a header, a small entry's data, a central directory record) are gathered
// and go to the file in large ones: an archive of many small files would otherwise cost
// several system calls per entry. A failed write may therefore be reported by a later call.

#include "io/ReadDevice.h"

#include <QString>

#include <string>
#include <vector>

namespace zipio {

class VolumeWriter {
public:
    struct Position {
        uint32_t disk = 0;
        uint64_t offset = 0; // within the volume
    };

    static constexpr uint64_t kMinimumVolume = 64 * 1024;

    // volumeLimit 0 writes one file.
    VolumeWriter(const QString& targetPath, uint64_t volumeLimit);
    ~VolumeWriter();
    VolumeWriter(const VolumeWriter&) = delete;
    VolumeWriter& operator=(const VolumeWriter&) = delete;

    bool start();
    // Data that may be split over volumes.
    bool write(const void* data, size_t n);
    // Starts a new volume when n bytes no longer fit in the current one, so that a record
    // written next lies whole in one volume and position() tells where it starts.
    bool ensureRoom(uint64_t n);
    // A record that must lie whole in one volume.
    bool writeWhole(const std::string& record);
    // Rewrites bytes already written (a local header once its sizes are known).
    bool patch(Position at, const std::string& bytes);
    // Drops everything written after the given position.
    bool truncate(Position at);
    Position position() const { return {uint32_t(m_volumes.size() - 1), m_used}; }
    uint64_t totalWritten() const { return m_total; }
    bool commit();
    void abort();
    QString errorString() const { return m_error; }

private:
    struct Volume {
        QString tempPath;
        UniqueFd fd;
    };
    bool openVolume();
    static bool isFirstVolume(const QString& path);
    bool rawWrite(const void* data, size_t n);
    bool writeOut(const char* data, size_t n);
    bool flushPending();
    QString finalPath(size_t index, size_t count) const;
    bool fail(const QString& what);

    QString m_target;
    uint64_t m_limit;
    std::vector<Volume> m_volumes;
    uint64_t m_used = 0;   // bytes in the current volume, the pending ones included
    std::vector<char> m_pending; // written to the current volume, not yet to its file
    uint64_t m_total = 0;
    bool m_committed = false;
    QString m_error;
};

} // namespace zipio
