#include "fileops/RefreshOwed.h"

#include <algorithm>

namespace {

int strength(RefreshLevel level)
{
    switch (level) {
    case RefreshLevel::None: return 0;
    case RefreshLevel::ListOnly: return 1;
    case RefreshLevel::Full: return 2;
    }
    return 0;
}

qint64 remaining(qint64 last, qint64 gap, qint64 now)
{
    return last < 0 ? 0 : std::max<qint64>(0, last + gap - now);
}

} // namespace

void RefreshOwed::owe(RefreshLevel level, qint64 nowMs)
{
    if (level != RefreshLevel::None && nowMs >= 0) {
        if (m_lastList >= 0 && nowMs - m_lastList < m_listGap)
            m_burst = true;
        m_lastOwe = nowMs;
    }
    if (strength(level) > strength(m_level))
        m_level = level;
}

void RefreshOwed::oweTreeSync(const QString& folder)
{
    if (!folder.isEmpty() && !m_treeFolders.contains(folder))
        m_treeFolders.append(folder);
}

qint64 RefreshOwed::waitMs(qint64 nowMs) const
{
    if (!isOwed())
        return -1;
    if (m_level == RefreshLevel::Full)
        return remaining(m_lastFull, kFullGapMs, nowMs);
    return remaining(m_lastList, m_listGap, nowMs);
}

RefreshOwed::Work RefreshOwed::take(qint64 nowMs)
{
    Work work{m_level, m_treeFolders};
    if (m_level == RefreshLevel::Full)
        m_lastFull = nowMs;
    if (m_level != RefreshLevel::None || !m_treeFolders.isEmpty()) {
        // Changes came during the gap, were still coming when it ended, and are paid as soon
        // as it allows: a burst. (A file written after it was made is no burst: its few
        // notices come together and stop.)
        const bool burst = m_burst && nowMs - m_lastOwe < kListGapMs / 2 && nowMs - m_lastList <= 2 * m_listGap;
        m_listGap = burst ? std::min(2 * m_listGap, kMaxListGapMs) : kListGapMs;
        m_burst = false;
        m_lastList = nowMs;
    }
    m_level = RefreshLevel::None;
    m_treeFolders.clear();
    return work;
}
