#pragma once
// Turns inotify records into FolderEvents. A rename reaches the kernel's queue as two records,
// IN_MOVED_FROM in the old folder and IN_MOVED_TO in the new one, joined by a cookie; the
// pairer holds a "from" until its "to" arrives and reports one rename. A "from" whose "to"
// never comes (the entry left the watched folders) is a deletion once it has waited
// kMoveWaitMs; a "to" without a "from" (it came from a folder not watched) is a creation.
// Plain logic with the time passed in, so tests drive it without a kernel.

#include "platform/FolderEvent.h"
#include "platform/linux/InotifyRecords.h"

#include <QList>

class FolderEventPairer {
public:
    // The kernel writes both halves of a rename at once; this covers a read that split them.
    static constexpr qint64 kMoveWaitMs = 20;

    // folder: the watched folder of record.wd (decoded path); ignored for an overflow.
    void add(const InotifyRecord& record, const QString& folder, qint64 nowMs);
    // The events complete by nowMs, in the order they happened; a "from" still waiting stays.
    QList<FolderEvent> take(qint64 nowMs);
    // When the oldest waiting "from" expires; -1 when none waits.
    qint64 nextExpiry() const;

private:
    struct Waiting {
        uint32_t cookie;
        qint64 since;
        int slot; // its place in m_events
    };
    QList<FolderEvent> m_events;
    QList<bool> m_ready; // per event: complete (a "from" is not until paired or expired)
    QList<Waiting> m_waiting;
};
