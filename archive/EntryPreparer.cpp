#include "EntryPreparer.h"

#include "codec/Deflate.h"
#include "codec/ZipCrypto.h"

#include <QFile>

#include <memory>

namespace {

constexpr uint64_t kMemoryBudget = 96ull << 20;

// The file's bytes in data; on failure the reason goes into the job's result.
bool readWholeFile(const QString& path, std::string& data, PreparedEntry& failed)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failed.error = QStringLiteral("zip: cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    data.resize(size_t(file.size()));
    const qint64 got = file.read(data.data(), qint64(data.size()));
    if (got < 0) {
        failed.error = QStringLiteral("zip: cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    data.resize(size_t(got));
    return true;
}

// One compressor per worker thread, kept from file to file: a new one for every small file
// cost an allocation of several hundred KiB and its first-touch page faults each time.
zipcodec::BufferDeflater& threadDeflater(int level)
{
    thread_local std::unique_ptr<zipcodec::BufferDeflater> deflater;
    thread_local int deflaterLevel = -1;
    if (!deflater || deflaterLevel != level) {
        deflater = std::make_unique<zipcodec::BufferDeflater>(level);
        deflaterLevel = level;
    }
    return *deflater;
}

} // namespace

PreparedEntry prepareEntry(const ZipEntry& entry, const std::string& data, ZipCompressionMethod method, int level,
                           const std::string& password)
{
    PreparedEntry p;
    p.header = entry.header;
    auto& h = p.header;
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
    h.crc = zipcodec::crc32(0, bytes, data.size());
    h.uncompressedSize = data.size();
    h.method = zipfmt::kMethodStored;
    if (method != ZipCompressionMethod::Stored && !data.empty()) {
        zipcodec::BufferDeflater& deflater = threadDeflater(level);
        // Best keeps the entry stored when deflating does not make it smaller (or, judged
        // by samples, would not); Deflated always deflates.
        const bool best = method == ZipCompressionMethod::Best;
        const size_t limit = best ? data.size() : SIZE_MAX;
        const bool skip = best && zipcodec::looksIncompressible(data.size(), level, [&](uint64_t at) { return bytes + at; });
        if (!skip && deflater.compress(bytes, data.size(), limit, p.payload))
            h.method = zipfmt::kMethodDeflated;
    }
    if (h.method == zipfmt::kMethodStored)
        p.payload = data;
    if (!password.empty() && !entry.isDirectory()) {
        zipcodec::ZipCrypto cipher(password);
        h.flags |= zipfmt::kFlagEncrypted;
        std::string header = cipher.makeHeader(uint8_t(h.crc >> 24));
        cipher.encrypt(reinterpret_cast<uint8_t*>(p.payload.data()), p.payload.size());
        p.payload.insert(0, header);
    }
    h.compressedSize = p.payload.size();
    return p;
}

EntryPreparer::EntryPreparer(std::vector<const ZipEntry*> jobs, ZipCompressionMethod method, int level,
                             std::string password)
    : m_jobs(std::move(jobs)), m_method(method), m_level(level), m_password(std::move(password)),
      m_results(m_jobs.size()), m_ready(m_jobs.size(), 0)
{
    for (unsigned i = 0; i < threadCount() && i < m_jobs.size(); ++i)
        m_workers.emplace_back([this] { work(); });
}

unsigned EntryPreparer::threadCount()
{
    return std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
}

EntryPreparer::~EntryPreparer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    for (auto& t : m_workers)
        t.join();
}

void EntryPreparer::work()
{
    for (;;) {
        size_t index = 0;
        uint64_t cost = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] {
                if (m_stop || m_next >= m_jobs.size())
                    return true;
                const uint64_t next = 2 * m_jobs[m_next]->header.uncompressedSize;
                return m_next == m_taken || m_inFlight + next <= kMemoryBudget;
            });
            if (m_stop || m_next >= m_jobs.size())
                return;
            index = m_next++;
            cost = 2 * m_jobs[index]->header.uncompressedSize;
            m_inFlight += cost;
        }
        std::string data;
        PreparedEntry result;
        if (m_jobs[index]->isDirectory() || readWholeFile(m_jobs[index]->sourcePath, data, result))
            result = prepareEntry(*m_jobs[index], data, m_method, m_level, m_password);
        {
            std::lock_guard lock(m_mutex);
            m_results[index] = std::move(result);
            m_ready[index] = 1;
        }
        m_changed.notify_all();
    }
}

PreparedEntry EntryPreparer::take(size_t i)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_ready[i] != 0; });
    PreparedEntry result = std::move(m_results[i]);
    m_inFlight -= 2 * m_jobs[i]->header.uncompressedSize;
    m_taken = i + 1;
    lock.unlock();
    m_changed.notify_all();
    return result;
}
