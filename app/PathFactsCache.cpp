#include "app/PathFactsCache.h"

#include "archive/TAbZipKit.h"
#include "platform/Drives.h"
#include "platform/LocalFiles.h"

namespace {

// Folders asked about are few (the tree's, the list's); a bound keeps a long session small.
constexpr int kMaxEntries = 64;

bool sameFacts(const PathFactsCache::Facts& a, const PathFactsCache::Facts& b)
{
    return a.known == b.known && a.exists == b.exists && a.isDir == b.isDir && a.driveName == b.driveName && a.total == b.total && a.free == b.free
        && a.zipEncrypted == b.zipEncrypted;
}

} // namespace

PathFactsCache::PathFactsCache(QObject* parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

PathFactsCache::~PathFactsCache()
{
    m_pool.clear();
    m_pool.waitForDone();
}

PathFactsCache::Facts PathFactsCache::facts(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    auto it = m_entries.find(folder);
    if (it == m_entries.end()) {
        if (m_entries.size() >= kMaxEntries)
            m_entries.clear();
        it = m_entries.insert(folder, Entry());
    }
    Entry& entry = *it;
    if (!entry.pending && (!entry.age.isValid() || entry.age.hasExpired(kRefreshMs))) {
        entry.pending = true;
        m_pool.start([this, folder] {
            const Facts found = look(folder);
            QMetaObject::invokeMethod(this, [this, folder, found] { store(folder, found); }, Qt::QueuedConnection);
        });
    }
    return entry.facts;
}

void PathFactsCache::expire()
{
    for (Entry& entry : m_entries)
        entry.age.invalidate();
}

void PathFactsCache::waitForIdle()
{
    m_pool.waitForDone();
}

PathFactsCache::Facts PathFactsCache::look(const QString& folder)
{
    Facts facts;
    facts.known = true;
    facts.exists = LocalFiles::exists(folder);
    facts.isDir = facts.exists && LocalFiles::isDir(folder);
    if (!facts.isDir) {
        // The archive is opened here, on the worker: its directory may be large.
        facts.zipEncrypted = facts.exists && folder.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive) && IsZipEncrypted(folder);
        return facts;
    }
    const DriveInfo drive = DriveOfPath(folder);
    if (drive.root.isEmpty())
        return facts;
    facts.driveName = drive.caption();
    facts.total = DriveSizeKB(drive.root) * 1024;
    facts.free = DriveFreeKB(drive.root) * 1024;
    return facts;
}

void PathFactsCache::store(const QString& folder, const Facts& facts)
{
    Entry& entry = m_entries[folder];
    entry.pending = false;
    entry.age.start();
    if (sameFacts(entry.facts, facts))
        return;
    entry.facts = facts;
    Q_EMIT changed();
}
