#pragma once
// Writes the archive that a save produces: entries kept from the old archive are copied as
// they are stored (no recompression), new and replaced ones are read from disk, deflated
// (on every core for files that fit in memory) and optionally encrypted. The result goes
// through VolumeWriter, so it replaces the old archive only once it is complete.

#include "ZipEntry.h"
#include "ZipOptions.h"

#include <functional>
#include <string>
#include <vector>

class ZipReader;
struct PreparedEntry;
namespace zipio { class VolumeWriter; }

class ZipWriter {
public:
    struct Options {
        ZipCompressionMethod method = ZipCompressionMethod::Best;
        int level = 6;
        std::string password;
        uint64_t volumeLimit = 0;
    };

    ZipWriter(const QString& targetPath, const Options& options) : m_target(targetPath), m_options(options) {}

    // Percent of the whole save; return false to abort.
    std::function<bool(int)> onProgress;
    // Percent of one entry; return false to abort.
    std::function<bool(const ZipEntry&, int)> onItemProgress;

    // Writes every entry whose action is not Delete, in order; old is the archive the kept
    // entries come from (may be null when there are none).
    // False with errorString() ("zip: ...") when the archive could not be written.
    bool write(const std::vector<ZipEntry>& entries, ZipReader* old);
    QString errorString() const { return m_error; }
    bool aborted() const { return m_aborted; }

private:
    bool copyKept(zipio::VolumeWriter& out, const ZipEntry& entry, ZipReader& old,
                  zipfmt::CentralDirectoryHeader& central);
    bool volumeFailed(const zipio::VolumeWriter& out);
    bool writePrepared(zipio::VolumeWriter& out, const PreparedEntry& p, zipfmt::CentralDirectoryHeader& central);
    bool writeStreamed(zipio::VolumeWriter& out, const ZipEntry& entry, zipfmt::CentralDirectoryHeader& central);
    // Writes the file's data stored or deflated as method says; the best method deflates
    // unless the first piece shows the data does not deflate. Sets central's method, CRC
    // and sizes; grew when deflated data came out no smaller than the file.
    bool streamData(zipio::VolumeWriter& out, const ZipEntry& entry, ZipCompressionMethod method,
                    zipfmt::CentralDirectoryHeader& central, bool& grew);
    bool writeDirectory(zipio::VolumeWriter& out, const std::vector<zipfmt::CentralDirectoryHeader>& central);
    bool advance(uint64_t bytes);
    static uint64_t upperBound(const std::vector<ZipEntry>& entries);

    QString m_target;
    Options m_options;
    QString m_error;
    bool m_aborted = false;
    uint64_t m_totalBytes = 0;
    uint64_t m_doneBytes = 0;
};
