#include "platform/linux/FolderEventPairer.h"

#include "platform/FileName.h"
#include "platform/PathText.h"

#include <sys/inotify.h>

namespace {

FolderEvent::Kind kindOf(uint32_t mask)
{
    using Kind = FolderEvent::Kind;
    if (mask & (IN_CREATE | IN_MOVED_TO))
        return Kind::Created;
    if (mask & (IN_DELETE | IN_MOVED_FROM))
        return Kind::Deleted;
    if (mask & IN_ATTRIB)
        return Kind::AttributesChanged;
    if (mask & IN_CLOSE_WRITE)
        return Kind::Written;
    if (mask & (IN_DELETE_SELF | IN_MOVE_SELF))
        return Kind::FolderGone;
    return Kind::Unmounted;
}

} // namespace

void FolderEventPairer::add(const InotifyRecord& record, const QString& folder, qint64 nowMs)
{
    if (record.mask & IN_Q_OVERFLOW) {
        m_events.append({FolderEvent::Kind::Overflow, {}, {}, false});
        m_ready.append(true);
        return;
    }
    if (record.mask & IN_IGNORED)
        return; // the watch ended; its folder's own removal came before
    if (!(record.mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_CLOSE_WRITE
                         | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)))
        return;
    const QString path = record.name.isEmpty() ? folder : PathText::joined(folder, FileName::decode(record.name));
    const bool isFolder = (record.mask & IN_ISDIR) || (record.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT));
    if (record.mask & IN_MOVED_TO) {
        for (qsizetype i = 0; i < m_waiting.size(); ++i) {
            if (m_waiting[i].cookie != record.cookie)
                continue;
            FolderEvent& from = m_events[m_waiting[i].slot];
            from.kind = FolderEvent::Kind::Renamed;
            from.path2 = path;
            m_ready[m_waiting[i].slot] = true;
            m_waiting.removeAt(i);
            return;
        }
    }
    m_events.append({kindOf(record.mask), path, {}, isFolder});
    const bool waits = record.mask & IN_MOVED_FROM;
    m_ready.append(!waits);
    if (waits)
        m_waiting.append({record.cookie, nowMs, int(m_events.size() - 1)});
}

QList<FolderEvent> FolderEventPairer::take(qint64 nowMs)
{
    // A "from" that waited long enough stays what it was recorded as: a deletion.
    for (qsizetype i = m_waiting.size() - 1; i >= 0; --i) {
        if (nowMs - m_waiting[i].since >= kMoveWaitMs) {
            m_ready[m_waiting[i].slot] = true;
            m_waiting.removeAt(i);
        }
    }
    // Events leave in order; the first one still waiting holds back those after it.
    qsizetype count = 0;
    while (count < m_events.size() && m_ready[count])
        ++count;
    QList<FolderEvent> out = m_events.mid(0, count);
    m_events.remove(0, count);
    m_ready.remove(0, count);
    for (Waiting& waiting : m_waiting)
        waiting.slot -= int(count);
    return out;
}

qint64 FolderEventPairer::nextExpiry() const
{
    qint64 first = -1;
    for (const Waiting& waiting : m_waiting)
        first = first < 0 ? waiting.since : std::min(first, waiting.since);
    return first < 0 ? -1 : first + kMoveWaitMs;
}
