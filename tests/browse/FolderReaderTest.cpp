// The folder reader's details pass spread over threads: on a folder big enough to be cut
// into slices (and, for the one-pass reading, into several batches), every entry comes in
// the same place with the same details as when one thread reads it, whatever the entry:
// names that are not UTF-8, a FIFO, links (to a file, to a folder, broken), a folder, a
// read-only file, Samba's DOS attribute, and files removed between the directory read
// and their stat.
#include "QtPrinters.h"
#include "support/TempHome.h"

#include "browse/FolderReader.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace {

// More than the first batch and one later batch of a one-pass reading (64 + 4096).
constexpr int plainFiles = 4300;

class FolderReaderTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_folder = makeFolder(QStringLiteral("many"));
        const QByteArray base = QFile::encodeName(m_folder) + '/';
        for (int i = 0; i < plainFiles; ++i) {
            const QByteArray path = base + "f" + QByteArray::number(i) + ".txt";
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::write(fd, "0123456789", size_t(i % 11)), i % 11);
            ::close(fd);
        }
        const int odd = ::open(QByteArray(base + "caf\xe9-\xff.bin").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(odd, 0);
        ::close(odd);
        ASSERT_EQ(::mkfifo(QByteArray(base + "pipe").constData(), 0644), 0);
        makeFolder(QStringLiteral("many/sub"));
        ASSERT_EQ(::symlink("f1.txt", QByteArray(base + "link-file").constData()), 0);
        ASSERT_EQ(::symlink("sub", QByteArray(base + "link-dir").constData()), 0);
        ASSERT_EQ(::symlink("nowhere", QByteArray(base + "dangling").constData()), 0);
        ASSERT_EQ(::chmod(QByteArray(base + "f2.txt").constData(), 0444), 0);
        m_haveXattr = ::setxattr(QByteArray(base + "f3.txt").constData(), "user.DOSATTRIB", "0x6", 3, 0) == 0;
    }

    // An entry as one line: its name's bytes (or "gone"), kind, attributes, size and time.
    static std::string line(const FolderEntry& entry)
    {
        if (!entry.name)
            return "gone";
        return std::string(entry.name, entry.nameLength) + '|' + (entry.isDirectory ? "dir" : "file") + '|'
            + std::to_string(entry.attributes) + '|' + std::to_string(entry.size) + '|'
            + (entry.hasTime ? std::to_string(entry.mtimeSeconds) + '.' + std::to_string(entry.mtimeNanoseconds) : "-");
    }

    // Every entry of the one-pass reading, in the order visited; stops after `most`.
    std::vector<std::string> readAll(unsigned threads, size_t most = SIZE_MAX)
    {
        FolderReader reader(m_folder);
        reader.setThreadCount(threads);
        std::vector<std::string> lines;
        EXPECT_TRUE(reader.read([&](const FolderEntry& entry) {
            lines.push_back(line(entry));
            return lines.size() < most;
        }));
        return lines;
    }

    QString m_folder;
    bool m_haveXattr = false;
};

TEST_F(FolderReaderTest, SeveralThreadsExamineEntriesAsOneDoes)
{
    FolderReader reader(m_folder);
    ASSERT_TRUE(reader.open());
    FolderNames names;
    while (reader.readNames(names, [] { return true; })) {
    }
    const size_t total = size_t(plainFiles) + 6;
    ASSERT_EQ(names.size(), total);
    ASSERT_GE(names.size(), FolderReader::parallelThreshold);
    // Files removed after the directory was read: their entries come back without a name.
    const QByteArray base = QFile::encodeName(m_folder) + '/';
    size_t removed = 0;
    for (int i = 0; i < plainFiles; i += 97, ++removed)
        ASSERT_EQ(::unlink(QByteArray(base + "f" + QByteArray::number(i) + ".txt").constData()), 0);
    std::vector<uint32_t> indexes(names.size());
    std::iota(indexes.begin(), indexes.end(), uint32_t(0));

    auto examined = [&](unsigned threads) {
        reader.setThreadCount(threads);
        std::vector<FolderEntry> entries(indexes.size());
        reader.examine(names, indexes.data(), indexes.size(), entries.data());
        return entries;
    };
    auto lines = [](const std::vector<FolderEntry>& entries) {
        std::vector<std::string> result;
        for (const FolderEntry& entry : entries)
            result.push_back(line(entry));
        return result;
    };
    const std::vector<FolderEntry> alone = examined(1);
    EXPECT_EQ(size_t(std::count_if(alone.begin(), alone.end(), [](const FolderEntry& e) { return !e.name; })), removed);
    // The kinds of entry read as they should be (the Attr column's letters).
    const std::map<std::string, uint32_t> special = {
        {"caf\xe9-\xff.bin", FileAttribute::Archive},
        {"pipe", FileAttribute::System},
        {"sub", FileAttribute::Directory},
        {"link-file", FileAttribute::Archive},
        {"link-dir", FileAttribute::Directory},
        {"dangling", FileAttribute::Normal},
        {"f2.txt", FileAttribute::Archive | FileAttribute::ReadOnly},
        {"f3.txt", m_haveXattr ? FileAttribute::Hidden | FileAttribute::System : FileAttribute::Archive},
    };
    size_t seen = 0;
    for (const FolderEntry& entry : alone) {
        const auto it = entry.name ? special.find(std::string(entry.name, entry.nameLength)) : special.end();
        if (it == special.end())
            continue;
        ++seen;
        EXPECT_EQ(entry.attributes, it->second) << it->first;
        EXPECT_EQ(entry.isDirectory, (it->second & FileAttribute::Directory) != 0) << it->first;
    }
    EXPECT_EQ(seen, special.size());

    for (unsigned threads : {0u, 2u, 3u, 8u})
        EXPECT_EQ(lines(examined(threads)), lines(alone)) << threads << " threads";
}

TEST_F(FolderReaderTest, OnePassReadingGivesTheSameEntriesInTheSameOrderWhateverTheThreads)
{
    const std::vector<std::string> alone = readAll(1);
    ASSERT_EQ(alone.size(), size_t(plainFiles) + 6);
    for (unsigned threads : {0u, 2u, 5u})
        EXPECT_EQ(readAll(threads), alone) << threads << " threads";
    // A visit that stops within a later batch, while the next one is being examined.
    for (size_t most : {size_t(1), size_t(64), size_t(65), size_t(3000), size_t(4161)}) {
        const std::vector<std::string> first = readAll(0, most);
        EXPECT_TRUE(std::equal(first.begin(), first.end(), alone.begin())) << most;
        EXPECT_EQ(first.size(), most);
    }
}

} // namespace
