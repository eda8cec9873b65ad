// The listing worker's job on real folders, its deliveries applied to the file list's model
// as the window applies them: the rows shown once all batches are in must be exactly those
// of the one-pass listing, whatever the sort; with the name sort the rows come ordered
// before their details, and the details of the top rows come first.
#include "QtPrinters.h"
#include "support/BrowseWaits.h"
#include "support/TempHome.h"

#include "browse/FileListModel.h"
#include "browse/FileSorter.h"
#include "browse/FileTypeNames.h"
#include "browse/FolderListingJob.h"

#include <QFile>

#include <sys/stat.h>

#include <algorithm>
#include <functional>

namespace {

// Records what a job delivers; cancels itself when asked to.
class RecordingSink : public ListingSink {
public:
    bool isCancelled() const override { return cancelled; }
    void progressed(int count, const QString& name) override { progress.push_back({count, name}); }
    void batchRead(ListingBatch&& batch) override
    {
        batches.push_back(std::move(batch));
        if (onBatch)
            onBatch();
    }
    void finished(bool ok, const QString& error) override
    {
        ++finishes;
        finishedOk = ok;
        this->error = error;
    }

    bool cancelled = false;
    std::vector<std::pair<int, QString>> progress;
    std::vector<ListingBatch> batches;
    std::function<void()> onBatch;
    int finishes = 0;
    bool finishedOk = false;
    QString error;
};

class ListingJobTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_folder = makeFolder(QStringLiteral("big")) + QLatin1Char('/');
        // Sizes and names that sort differently, a few folders, hidden and read-only files.
        for (int i = 0; i < 600; ++i)
            makeFile(QStringLiteral("big/f%1.txt").arg((i * 7919) % 600, 3, 10, QLatin1Char('0')), QByteArray(i % 37, 'x'));
        for (const char* name : {"Sub", "apples", ".dot"})
            makeFolder(QStringLiteral("big/") + QLatin1String(name));
        makeFile(QStringLiteral("big/.hidden-file"));
        for (const char* name : {"f010.txt", "f500.txt"})
            ::chmod(QFile::encodeName(m_folder + QLatin1String(name)).constData(), 0444);
        QFile::link(m_folder + QStringLiteral("Sub"), m_folder + QStringLiteral("link-to-sub"));
    }

    static ListingOptions options(TFileType type = TFileAttr::ftReadOnly | TFileAttr::ftHidden | TFileAttr::ftSystem
                                      | TFileAttr::ftArchive | TFileAttr::ftNormal)
    {
        ListingOptions options;
        options.showFolders = true;
        options.fileType = type;
        return options;
    }

    // name|kind|size|attributes|time of each row, in row order.
    static QStringList rows(const FileListing& listing)
    {
        QStringList result;
        for (int row = 0; row < listing.count(); ++row) {
            const TFileInfo& item = listing.at(row);
            result << QStringLiteral("%1|%2|%3|%4|%5.%6")
                          .arg(item.Name.toString())
                          .arg(int(item.kind))
                          .arg(item.Size)
                          .arg(item.Attributes)
                          .arg(item.mtimeSeconds)
                          .arg(item.mtimeNanoseconds);
        }
        return result;
    }

    QStringList expected(const ListingOptions& options, int column, bool ascending)
    {
        FileListing listing;
        EXPECT_TRUE(listing.listFolder(m_folder, options));
        listing.sort(column, ascending, FileTypeNames::instance());
        return rows(listing);
    }

    // Applies the batches to a model started as the window starts it.
    static void apply(FileListModel& model, const QString& folder, const ListingOptions& options,
                      std::vector<ListingBatch>& batches)
    {
        FileListing start;
        start.startFolder(folder, options);
        model.setListing(std::move(start));
        for (ListingBatch& batch : batches)
            model.applyBatch(batch);
    }

    QString m_folder;
};

TEST_F(ListingJobTest, EverySortEndsWithTheRowsOfTheOnePassListing)
{
    struct Case {
        const char* what;
        int column;
        bool ascending;
        TFileType type;
    } cases[] = {
        {"name A-Z", FileSorter::NameColumn, true, options().fileType},
        {"name Z-A", FileSorter::NameColumn, false, options().fileType},
        {"size", FileSorter::SizeColumn, true, options().fileType},
        {"date", FileSorter::DateColumn, false, options().fileType},
        {"attributes", FileSorter::AttrColumn, true, options().fileType},
        // Read-only files are known only from their stat: they leave with their details.
        {"name, no read-only", FileSorter::NameColumn, true, TFileAttr::ftHidden | TFileAttr::ftArchive | TFileAttr::ftNormal},
        {"name, no hidden", FileSorter::NameColumn, true, TFileAttr::ftReadOnly | TFileAttr::ftArchive | TFileAttr::ftNormal},
    };
    for (const Case& c : cases) {
        const ListingOptions listingOptions = options(c.type);
        RecordingSink sink;
        FolderListingJob(ListingRequest{m_folder, listingOptions, c.column, c.ascending}, sink).run();
        ASSERT_EQ(sink.finishes, 1) << c.what;
        EXPECT_TRUE(sink.finishedOk) << c.what;
        FileListModel model;
        apply(model, m_folder, listingOptions, sink.batches);
        EXPECT_EQ(rows(model.listing()), expected(listingOptions, c.column, c.ascending)) << c.what;
        // Progress counts the rows read so far, up to all of them (drops come later).
        ASSERT_FALSE(sink.progress.empty()) << c.what;
        EXPECT_TRUE(std::is_sorted(sink.progress.begin(), sink.progress.end(),
                                   [](const auto& a, const auto& b) { return a.first < b.first; })) << c.what;
        EXPECT_GE(sink.progress.back().first, model.listing().count()) << c.what;
    }
}

TEST_F(ListingJobTest, ByNameTheOrderedRowsComeFirstAndTheTopRowsDetailsNext)
{
    RecordingSink sink;
    FolderListingJob(ListingRequest{m_folder, options(), FileSorter::NameColumn, true}, sink).run();
    ASSERT_GE(sink.batches.size(), 4u);
    const ListingBatch& names = sink.batches[0];
    ASSERT_TRUE(names.ordered && !names.order.empty()) << "the first delivery has the rows in order";
    // Only the link needed a stat to be listed; every other row waits for its details.
    int detailed = 0;
    for (const TFileInfo& record : names.records)
        detailed += record.hasDetails ? 1 : 0;
    EXPECT_EQ(detailed, 1);
    EXPECT_TRUE(names.details.empty());

    const ListingBatch& top = sink.batches[1];
    ASSERT_EQ(top.details.size(), FolderListingJob::firstDetailsChunk);
    for (size_t k = 0; k < top.details.size(); ++k)
        EXPECT_EQ(top.details[k].record, names.order[k + 1]) << "row " << k + 1 << ", below the parent entry";

    // Then the order of all rows, which the first screen already had.
    const ListingBatch& all = sink.batches[2];
    ASSERT_EQ(all.order.size(), names.order.size());
    EXPECT_TRUE(all.records.empty() && all.details.empty());
    const size_t screen = FolderListingJob::firstDetailsChunk;
    EXPECT_TRUE(std::equal(all.order.begin(), all.order.begin() + screen, names.order.begin()));
}

TEST_F(ListingJobTest, ASortThatWaitsForEveryDetailSendsTheTableWholeOrOnlyTheDetailsOfRowsSentBefore)
{
    // Read-only files leave with their details: drops must still reach the receiver.
    const ListingOptions noReadOnly = options(TFileAttr::ftHidden | TFileAttr::ftArchive | TFileAttr::ftNormal);
    struct Case {
        const char* what;
        std::chrono::microseconds delay;
    } cases[] = {
        {"quick folder", std::chrono::microseconds(0)},
        {"slow folder", std::chrono::microseconds(500)}, // 0.3 s: rows go while they are read
    };
    for (const Case& c : cases) {
        const SlowFolderReads slow(c.delay);
        RecordingSink sink;
        FolderListingJob(ListingRequest{m_folder, noReadOnly, FileSorter::SizeColumn, true}, sink).run();
        ASSERT_EQ(sink.finishes, 1) << c.what;
        ASSERT_FALSE(sink.batches.empty()) << c.what;
        size_t sentBefore = 1; // the parent entry, which the receiver makes itself
        for (const ListingBatch& batch : sink.batches) {
            for (const RecordDetails& details : batch.details)
                EXPECT_TRUE(details.record < sentBefore || details.dropped) << c.what << ", record " << details.record;
            sentBefore += batch.records.size();
            if (batch.whole) {
                EXPECT_TRUE(batch.records.empty() && batch.details.empty() && &batch == &sink.batches.back()) << c.what;
            }
        }
        // The table goes whole exactly when no row went before the end.
        const bool rowsBefore = sink.batches.size() > 1 && !sink.batches.front().records.empty();
        EXPECT_EQ(sink.batches.back().whole, !rowsBefore) << c.what;
        if (c.delay.count() > 0) {
            EXPECT_TRUE(rowsBefore) << "a slow folder shows its rows as they come";
        }
        FileListModel model;
        apply(model, m_folder, noReadOnly, sink.batches);
        EXPECT_EQ(rows(model.listing()), expected(noReadOnly, FileSorter::SizeColumn, true)) << c.what;
    }
}

TEST_F(ListingJobTest, ACancelledJobStopsWithoutFinishing)
{
    RecordingSink sink;
    sink.onBatch = [&] { sink.cancelled = true; };
    FolderListingJob(ListingRequest{m_folder, options(), FileSorter::NameColumn, true}, sink).run();
    EXPECT_EQ(sink.batches.size(), 1u) << "no details after the cancel";
    EXPECT_EQ(sink.finishes, 0);

    RecordingSink missing;
    FolderListingJob(ListingRequest{m_folder + QStringLiteral("gone/"), options(), 0, true}, missing).run();
    ASSERT_EQ(missing.finishes, 1);
    EXPECT_FALSE(missing.finishedOk);
    EXPECT_TRUE(missing.error.startsWith(QStringLiteral("Cannot read the folder"))) << missing.error.toStdString();
    EXPECT_TRUE(missing.batches.empty());
}

} // namespace
