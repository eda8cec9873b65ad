#pragma once
// One listing of a folder for the file list, run on a worker thread (FolderLoader runs it).
// The table is built in two passes. The first reads the directory alone: names, kinds and
// the attributes a name tells (links and entries of unknown type are stat'ed at once, for
// they may be folders). The second stats the other entries for size, time and the remaining
// attributes, in the order of the rows, so that the top rows come first. With the list
// sorted by name the names are enough to order the rows: after the first pass every row is
// delivered with the first screen of them in its place, then that screen's details, then
// the order of all rows, then the other details in chunks. A sort by size, date, type or
// attributes waits for every detail. A folder slow to read has its rows delivered as they come (at most every
// deliveryInterval) and put in order once complete.
//
// The job keeps its own copy of the table and changes it as the receiver will, so that
// record numbers in later deliveries name the same records on both sides; a listing that
// sends its rows only at its end hands the table over instead.

#include "browse/FileListing.h"
#include "browse/FolderNames.h"

#include <QStringList>

#include <chrono>
#include <limits>
#include <cstdint>
#include <vector>

class FolderReader;

struct ListingRequest {
    QString directory; // a folder, or FileListing::myComputer() for the drives
    ListingOptions options;
    int sortColumn = 0;
    bool ascending = true;
};

// A record's details from the second pass.
struct RecordDetails {
    uint32_t record = 0;
    // Gone since its name was read, or left out by the filters now that all its attributes
    // are known: its row leaves the list.
    bool dropped = false;
    uint32_t attributes = 0;
    int64_t size = 0;
    bool hasTime = false;
    int64_t mtimeSeconds = 0;
    uint32_t mtimeNanoseconds = 0;

    void applyTo(TFileInfo& item) const
    {
        item.Attributes = attributes;
        item.Size = size;
        item.hasTime = hasTime;
        item.mtimeSeconds = mtimeSeconds;
        item.mtimeNanoseconds = mtimeNanoseconds;
        item.hasDetails = true;
    }
};

// One delivery, applied in this order: the records appended as rows, the details of records
// delivered before or now (dropped ones leave the rows), then, when ordered, the order of all
// remaining rows. A record delivered with its details has them applied; its details come
// apart only when its row is dropped. A drive view comes whole: records and their mount
// points. A listing that delivered nothing before its end hands over its whole table
// (`whole`, ordered) instead of a copy of each record.
struct ListingBatch {
    std::vector<TFileInfo> records;
    std::vector<RecordDetails> details;
    bool ordered = false;
    std::vector<uint32_t> order;
    bool drives = false;
    QStringList mountPoints;
    bool whole = false;
    FileListing listing;
};

// Where a job's results go; called on the job's thread.
class ListingSink {
public:
    virtual ~ListingSink() = default;
    // Checked between names and chunks: a cancelled job stops without finishing.
    virtual bool isCancelled() const = 0;
    // Records so far and the name read last, at most every progressInterval.
    virtual void progressed(int count, const QString& name) = 0;
    virtual void batchRead(ListingBatch&& batch) = 0;
    // The end; false with the reason when the folder could not be read (the list is empty).
    virtual void finished(bool ok, const QString& error) = 0;
};

class FolderListingJob {
public:
    static constexpr std::chrono::milliseconds deliveryInterval{100};
    static constexpr std::chrono::milliseconds progressInterval{10};
    // Details first for about a screen of rows, then in bigger chunks.
    static constexpr size_t firstDetailsChunk = 128;
    static constexpr size_t detailsChunk = 4096;

    FolderListingJob(ListingRequest request, ListingSink& sink);

    void run();

private:
    using Clock = std::chrono::steady_clock;

    void listDrives();
    bool readNames(FolderReader& reader);
    void addRecords(FolderReader& reader, size_t from);
    // Stats up to `most` rows without details, in row order.
    bool examineRows(FolderReader& reader, bool deliverEachChunk, size_t most = std::numeric_limits<size_t>::max());
    // Applies the details of one chunk of records, leaving out the rows of those dropped.
    void applyChunk(const std::vector<FolderEntry>& entries, const uint32_t* records, std::vector<char>& dropped);
    void applyDetails(const FolderEntry& entry, uint32_t record, RecordDetails& details);
    void dropRows(const std::vector<char>& dropped);
    void deliver(bool withOrder);
    // The end of a listing that delivered no record before: its table goes as it is.
    void handOver();
    bool deliveryDue() const { return Clock::now() - m_lastDelivery >= deliveryInterval; }
    bool sortsByName() const { return m_request.sortColumn == 0; }

    ListingRequest m_request;
    ListingSink& m_sink;
    FileMask m_mask;
    FileListing m_listing;
    FolderNames m_names;
    std::vector<uint32_t> m_nameOf; // record -> name index; none for the parent entry
    uint32_t m_delivered = 0;       // records already delivered
    ListingBatch m_pending;
    Clock::time_point m_lastDelivery;
    Clock::time_point m_lastProgress;
};
