#include "media/playlist/Playlist.h"

#include <QCollator>
#include <QRandomGenerator>

#include <algorithm>

namespace media {

void Playlist::setEntries(QList<AudioInfo> entries)
{
    m_entries = std::move(entries);
    m_current = -1;
}

void Playlist::clear()
{
    setEntries({});
}

void Playlist::setCurrent(int index)
{
    m_current = index >= 0 && index < count() ? index : -1;
}

int Playlist::indexOf(const QString& path) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_entries.at(i).path == path)
            return i;
    }
    return -1;
}

int Playlist::selectAfterBuild(const QString& playerFile)
{
    const int found = playerFile.isEmpty() ? -1 : indexOf(playerFile);
    setCurrent(found >= 0 ? found : 0);
    return m_current;
}

int Playlist::nextIndex() const
{
    if (isEmpty())
        return -1;
    return (m_current + 1) % count();
}

int Playlist::previousIndex() const
{
    if (isEmpty())
        return -1;
    return m_current <= 0 ? count() - 1 : m_current - 1;
}

int Playlist::randomIndex(QRandomGenerator& random) const
{
    return isEmpty() ? -1 : int(random.bounded(count()));
}

void Playlist::sortBy(PlaylistColumn column)
{
    if (m_sortColumn == column)
        m_descending = !m_descending;
    m_sortColumn = column;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const QString selected = m_current >= 0 ? m_entries.at(m_current).path : QString();
    const bool descending = m_descending;
    std::stable_sort(m_entries.begin(), m_entries.end(), [&](const AudioInfo& a, const AudioInfo& b) {
        const int order = collator.compare(columnText(a, column), columnText(b, column));
        return descending ? order > 0 : order < 0;
    });
    m_current = selected.isEmpty() ? -1 : indexOf(selected);
}

} // namespace media
