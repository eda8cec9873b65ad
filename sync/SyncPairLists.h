#pragma once
// The saved pairs of the synchroniser: two plain text files, "FV3_SYNC1" (the left folders)
// and "FV3_SYNC2" (the right folders), one path per line, line n of both forming pair n. They
// live in the program's data folder ($XDG_DATA_HOME/QuorVel/Folvane3), since the program's
// own folder is not writable, and are written through a temporary file and a rename.

#include <QByteArray>
#include <QString>

#include <vector>

struct SyncPair;

class SyncPairLists {
public:
    // The bytes of one list file read at most, and the pairs kept: a larger file is not a
    // list this program wrote.
    static constexpr qsizetype kMaxFileBytes = 4 << 20;
    static constexpr std::size_t kMaxPairs = 10000;

    // folder: where the two files are; the program's data folder by default.
    explicit SyncPairLists(const QString& folder = QString());

    QString folder() const { return m_folder; }

    // The pairs, when both files exist (else none). A line that is empty, holds a NUL byte or
    // is longer than a path can be ends the pair it belongs to; a trailing "\r" is dropped.
    std::vector<SyncPair> load() const;
    // Writes both files; false with *error naming the file and the reason.
    bool save(const std::vector<SyncPair>& pairs, QString* error) const;

    // The lines of one list file's bytes, as load() takes them.
    static std::vector<QByteArray> parseLines(const QByteArray& bytes);

private:
    QString m_folder;
};
