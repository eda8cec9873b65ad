#pragma once
// The refresh owed to the browse panes (PendingRefresh): none, the file list only, or the
// tree and the list; plus the tree folders whose subfolders must be read again. Notices
// raise it and the idle handler pays it. A weaker notice never lowers a stronger refresh
// owed (a list-only notice after a full one still leaves the tree to rebuild).
//
// Bursts (an archive unpacked into the shown folder) come down to a few reloads: a list
// reload waits kListGapMs after the previous one, a full one kFullGapMs. While changes keep
// coming during the gaps the list's gap doubles with each reload, up to kMaxListGapMs (re-reading a folder
// that grows by thousands of files several times a second would keep a core busy for
// nothing); after a quiet spell it is back to kListGapMs, so a single change shows at once.
// Plain logic with the time passed in.

#include <QString>
#include <QStringList>

// The values the refresh levels had in the program's settings and handlers.
enum class RefreshLevel { None = -1, Full = 0, ListOnly = 1 };

class RefreshOwed {
public:
    static constexpr qint64 kListGapMs = 300;
    static constexpr qint64 kFullGapMs = 1000;
    static constexpr qint64 kMaxListGapMs = 2000;

    struct Work {
        RefreshLevel level = RefreshLevel::None;
        QStringList treeFolders;
    };

    // Keeps the stronger of what is owed and level. nowMs (when known) tells whether the
    // change came while the list's gap was running: a burst.
    void owe(RefreshLevel level, qint64 nowMs = -1);
    // The subfolders of folder (a tree node) are read again with the next payment.
    void oweTreeSync(const QString& folder);

    RefreshLevel PendingRefresh() const { return m_level; }
    QStringList treeFolders() const { return m_treeFolders; }
    bool isOwed() const { return m_level != RefreshLevel::None || !m_treeFolders.isEmpty(); }

    // How long the payment must wait from nowMs; 0 when it may run now, -1 when nothing is owed.
    qint64 waitMs(qint64 nowMs) const;
    // What is owed, now paid: the owed state goes back to none and the time is kept for the
    // gaps.
    Work take(qint64 nowMs);

private:
    RefreshLevel m_level = RefreshLevel::None;
    QStringList m_treeFolders;
    qint64 m_lastList = -1; // a full reload counts as a list reload too
    qint64 m_listGap = kListGapMs;
    bool m_burst = false; // a change came during the gap since the last payment
    qint64 m_lastOwe = -1;
    qint64 m_lastFull = -1;
};
