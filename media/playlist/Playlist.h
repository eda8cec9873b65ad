#pragma once
// The playlist's entries and the choices made on them: the selected entry, the next and the
// previous one (wrapping at both ends), a random one for shuffle, and the sort by a column.
// Two entries are the same file only when their paths are byte-equal.

#include "media/AudioInfo.h"
#include "media/playlist/PlaylistColumns.h"

#include <QList>
#include <QString>

#include <optional>

class QRandomGenerator;

namespace media {

class Playlist {
public:
    const QList<AudioInfo>& entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const AudioInfo& at(int index) const { return m_entries.at(index); }

    // Replaces the entries (a build); the selection is cleared.
    void setEntries(QList<AudioInfo> entries);
    void clear();

    // The selected entry, -1 when none.
    int current() const { return m_current; }
    void setCurrent(int index);
    int indexOf(const QString& path) const;

    // After a build: the entry of the file loaded in the player when it is in the list,
    // else the first entry; -1 for an empty list. Selects it.
    int selectAfterBuild(const QString& playerFile);

    // The entry after (before) the selected one, wrapping; from no selection the first
    // (the last). -1 for an empty list.
    int nextIndex() const;
    int previousIndex() const;
    // Any entry, each equally likely (the selected one included); -1 for an empty list.
    int randomIndex(QRandomGenerator& random) const;

    // A click on a column header: the column sorted last is reversed, another column is
    // sorted in the direction kept. Entries compare by the column's text ignoring case
    // under the user's locale, numbers included ("10:05" before "9:59"); equal texts keep
    // their order. The selected entry stays selected.
    void sortBy(PlaylistColumn column);
    std::optional<PlaylistColumn> sortColumn() const { return m_sortColumn; }
    bool descending() const { return m_descending; }

private:
    QList<AudioInfo> m_entries;
    int m_current = -1;
    std::optional<PlaylistColumn> m_sortColumn;
    bool m_descending = false;
};

} // namespace media
