#include "browse/FolderListingJob.h"

#include "browse/DriveItems.h"
#include "browse/FileSorter.h"
#include "browse/FolderReader.h"
#include "platform/FileName.h"

#include <dirent.h>

#include <algorithm>
#include <future>
#include <limits>

namespace {

constexpr uint32_t noName = std::numeric_limits<uint32_t>::max();

bool isMyComputer(const QString& path)
{
    return path.compare(FileListing::myComputer(), Qt::CaseInsensitive) == 0;
}

// Whether the folder's drive answers; only network and FUSE mounts are asked (with the
// drive routines' time-out), so that reading a dead share cannot hang the listing.
bool isAnswering(const QString& folder)
{
    const DriveInfo drive = DriveOfPath(folder);
    const bool remote = drive.type == DriveType::Network || drive.fsType.startsWith(QLatin1String("fuse"));
    return !remote || CheckDriveReady(drive.root, false);
}

bool mayBeFolder(unsigned char type)
{
    return type == DT_LNK || type == DT_UNKNOWN;
}

} // namespace

FolderListingJob::FolderListingJob(ListingRequest request, ListingSink& sink)
    : m_request(std::move(request))
    , m_sink(sink)
    , m_mask(m_request.options.mask)
{
}

void FolderListingJob::run()
{
    if (isMyComputer(m_request.directory)) {
        listDrives();
        return;
    }
    m_listing.startFolder(m_request.directory, m_request.options);
    m_nameOf.assign(m_listing.recordCount(), noName);
    m_delivered = m_listing.recordCount();
    m_lastDelivery = Clock::now();
    m_lastProgress = m_lastDelivery - progressInterval; // the first name is reported
    if (!isAnswering(m_request.directory)) {
        m_sink.finished(true, QString()); // a mount that does not answer shows an empty list
        return;
    }
    FolderReader reader(m_listing.directory());
    if (!reader.open()) {
        m_sink.finished(false, reader.errorString());
        return;
    }
    const uint32_t before = m_delivered;
    if (!readNames(reader))
        return;
    const bool delivered = m_delivered > before;
    if (sortsByName()) {
        // The first screen first: its rows in their place, then their details; then the
        // other rows in order, then their details.
        m_listing.sort(m_request.sortColumn, m_request.ascending, firstDetailsChunk);
        deliver(true);
        if (!examineRows(reader, true, firstDetailsChunk))
            return;
        m_listing.sort(m_request.sortColumn, m_request.ascending);
        deliver(true);
        if (!examineRows(reader, true))
            return;
    } else {
        // Rows already on their way (a slow folder) keep coming; else all come sorted.
        if (!examineRows(reader, delivered))
            return;
        if (m_request.sortColumn != FileSorter::TypeColumn) // type names are the receiver's
            m_listing.sort(m_request.sortColumn, m_request.ascending);
        if (delivered)
            deliver(true);
        else
            handOver();
    }
    m_sink.finished(true, QString());
}

void FolderListingJob::listDrives()
{
    ListingBatch batch;
    batch.drives = true;
    batch.records = DriveItems::rows(ListDrives(), &batch.mountPoints);
    if (m_sink.isCancelled())
        return;
    m_sink.batchRead(std::move(batch));
    m_sink.finished(true, QString());
}

bool FolderListingJob::readNames(FolderReader& reader)
{
    bool more = true;
    while (more) {
        const size_t from = m_names.size();
        // Names are taken in small groups so that progress, deliveries and a cancel are
        // never far away, even in a folder that answers slowly.
        more = reader.readNames(m_names, [&] {
            return m_names.size() - from < 256 && Clock::now() - m_lastProgress < progressInterval && !m_sink.isCancelled();
        });
        if (m_sink.isCancelled())
            return false;
        addRecords(reader, from);
        if (m_names.size() > from && Clock::now() - m_lastProgress >= progressInterval) {
            m_lastProgress = Clock::now();
            m_sink.progressed(m_listing.count(), FileName::decode(m_names.name(m_names.size() - 1), qsizetype(m_names.nameLength(m_names.size() - 1))));
        }
        if (more && deliveryDue())
            deliver(false);
    }
    if (!m_names.empty()) // the whole count, whenever the last report was
        m_sink.progressed(m_listing.count(), FileName::decode(m_names.name(m_names.size() - 1), qsizetype(m_names.nameLength(m_names.size() - 1))));
    return true;
}

void FolderListingJob::addRecords(FolderReader& reader, size_t from)
{
    // Links and entries of unknown type may be folders: only a stat tells.
    std::vector<uint32_t> unknown;
    for (size_t i = from; i < m_names.size(); ++i) {
        if (mayBeFolder(m_names.type(i)))
            unknown.push_back(uint32_t(i));
    }
    std::vector<FolderEntry> entries(unknown.size());
    reader.examine(m_names, unknown.data(), unknown.size(), entries.data());
    const ListingOptions& options = m_request.options;
    size_t next = 0;
    for (size_t i = from; i < m_names.size(); ++i) {
        QString name = FileName::decode(m_names.name(i), qsizetype(m_names.nameLength(i)));
        if (next < unknown.size() && unknown[next] == i) {
            const FolderEntry& entry = entries[next++];
            if (entry.name && FileListing::admits(entry.isDirectory, entry.attributes, name, options, m_mask)) {
                m_listing.append(FileListing::recordOf(entry, name));
                m_nameOf.push_back(uint32_t(i));
            }
            continue;
        }
        const uint32_t attributes = reader.nameAttributes(m_names, i);
        const bool folder = m_names.type(i) == DT_DIR;
        // The attributes still unknown (read-only, Samba's) can only leave an entry out.
        if (!FileListing::admits(folder, attributes, name, options, m_mask))
            continue;
        TFileInfo item;
        item.kind = folder ? ItemKind::Folder : ItemKind::File;
        item.Attributes = attributes;
        item.Name = name;
        item.hasDetails = false;
        m_listing.append(std::move(item));
        m_nameOf.push_back(uint32_t(i));
    }
}

bool FolderListingJob::examineRows(FolderReader& reader, bool deliverEachChunk, size_t most)
{
    std::vector<uint32_t> records;
    for (int row = 0; row < m_listing.count() && records.size() < most; ++row) {
        const uint32_t record = m_listing.recordAt(row);
        if (!m_listing.record(record).hasDetails)
            records.push_back(record);
    }
    // Chunks in turn: the next is examined while the details of one are applied and
    // delivered. The first chunk is small, so that the top rows come soon.
    struct Chunk {
        size_t first = 0;
        std::vector<uint32_t> names;
        std::vector<FolderEntry> entries;
    } chunks[2];
    std::future<void> examined; // after the chunks: waited for before they go
    auto start = [&](Chunk& chunk, size_t first, size_t count) {
        chunk.first = first;
        chunk.names.resize(count);
        for (size_t k = 0; k < count; ++k)
            chunk.names[k] = m_nameOf[records[first + k]];
        chunk.entries.resize(count);
        examined = reader.examineAsync(m_names, chunk.names.data(), count, chunk.entries.data());
    };
    if (m_sink.isCancelled())
        return false;
    if (records.empty())
        return true;
    std::vector<char> dropped(m_listing.recordCount(), 0);
    start(chunks[0], 0, std::min(firstDetailsChunk, records.size()));
    for (size_t current = 0, done = 0; done < records.size(); current ^= 1) {
        Chunk& chunk = chunks[current];
        examined.get();
        done = chunk.first + chunk.entries.size();
        if (m_sink.isCancelled())
            return false;
        if (done < records.size())
            start(chunks[current ^ 1], done, std::min(detailsChunk, records.size() - done));
        applyChunk(chunk.entries, records.data() + chunk.first, dropped);
        if (deliverEachChunk && (sortsByName() || deliveryDue()))
            deliver(false);
    }
    return true;
}

void FolderListingJob::applyChunk(const std::vector<FolderEntry>& entries, const uint32_t* records, std::vector<char>& dropped)
{
    bool anyDropped = false;
    for (size_t k = 0; k < entries.size(); ++k) {
        RecordDetails details;
        applyDetails(entries[k], records[k], details);
        dropped[details.record] = details.dropped;
        anyDropped |= details.dropped;
        // A record not delivered yet goes with its details; only its drop must be told.
        if (details.record < m_delivered || details.dropped)
            m_pending.details.push_back(details);
    }
    if (anyDropped)
        dropRows(dropped);
}

void FolderListingJob::applyDetails(const FolderEntry& entry, uint32_t record, RecordDetails& details)
{
    details.record = record;
    TFileInfo& item = m_listing.record(record);
    details.dropped = !entry.name || entry.isDirectory != item.isFolder()
        || !FileListing::admits(entry.isDirectory, entry.attributes, item.Name.toString(), m_request.options, m_mask);
    details.attributes = entry.attributes;
    details.size = entry.size;
    details.hasTime = entry.hasTime;
    details.mtimeSeconds = entry.mtimeSeconds;
    details.mtimeNanoseconds = entry.mtimeNanoseconds;
    details.applyTo(item);
}

void FolderListingJob::dropRows(const std::vector<char>& dropped)
{
    std::vector<uint32_t> order = m_listing.order();
    order.erase(std::remove_if(order.begin(), order.end(), [&](uint32_t record) { return dropped[record] != 0; }), order.end());
    m_listing.setOrder(std::move(order));
}

void FolderListingJob::handOver()
{
    ListingBatch batch;
    batch.whole = true;
    batch.ordered = true;
    batch.listing = std::move(m_listing); // dropped records are in no row already
    m_pending = ListingBatch();
    m_sink.batchRead(std::move(batch));
}

void FolderListingJob::deliver(bool withOrder)
{
    m_pending.records.reserve(m_listing.recordCount() - m_delivered);
    for (uint32_t record = m_delivered; record < m_listing.recordCount(); ++record)
        m_pending.records.push_back(m_listing.record(record));
    m_delivered = m_listing.recordCount();
    m_pending.ordered = withOrder;
    if (withOrder)
        m_pending.order = m_listing.order();
    m_lastDelivery = Clock::now();
    if (m_pending.records.empty() && m_pending.details.empty() && !withOrder)
        return;
    m_sink.batchRead(std::exchange(m_pending, ListingBatch()));
}
