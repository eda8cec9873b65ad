#pragma once
// Prepares new entries for a save on worker threads: reads each file, computes its CRC,
// deflates it (or keeps it stored when that is smaller, for the best method) and encrypts
// it. Results come back strictly in order through take(); workers stay within a memory
// budget so a run of large files cannot pile up in memory.

#include "ZipEntry.h"
#include "ZipOptions.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct PreparedEntry {
    zipfmt::CentralDirectoryHeader header; // method, flags, crc and sizes filled in
    std::string payload;                   // what follows the local header
    QString error;                         // empty on success; made on a worker, read by the writer
};

// Builds one entry from bytes in memory; used by the workers and by tests.
PreparedEntry prepareEntry(const ZipEntry& entry, const std::string& data, ZipCompressionMethod method, int level,
                           const std::string& password);

class EntryPreparer {
public:
    // Files up to this size are prepared whole in memory; larger ones are streamed.
    static constexpr uint64_t kInMemoryLimit = 32ull << 20;

    EntryPreparer(std::vector<const ZipEntry*> jobs, ZipCompressionMethod method, int level, std::string password);
    ~EntryPreparer();
    EntryPreparer(const EntryPreparer&) = delete;
    EntryPreparer& operator=(const EntryPreparer&) = delete;

    // The worker threads a save uses: one per core, up to eight.
    static unsigned threadCount();

    // Blocks until job i is done; jobs must be taken in order.
    PreparedEntry take(size_t i);

private:
    void work();

    std::vector<const ZipEntry*> m_jobs;
    ZipCompressionMethod m_method;
    int m_level;
    std::string m_password;
    std::vector<PreparedEntry> m_results;
    std::vector<char> m_ready;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_next = 0;
    size_t m_taken = 0;
    uint64_t m_inFlight = 0;
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};
