#pragma once
// The file system steps of a synchronisation run, gathered in one place over the transfer
// engine's copier. Every copy keeps its source's modification time to the nanosecond, its
// permission bits and extended attributes, and never leaves a partial file:
//
// - a new file is written without a name and linked in under its name only when complete;
// - a file that replaces an older one is staged: written whole under a temporary name beside
//   its target (stage), then made durable and renamed over the target (commit), a batch of
//   them with one flush, so that the bytes are on disk before any name points at them and
//   the target is checked for changes just before it is replaced;
// - a link is made anew as a link.

#include "sync/SyncRules.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace SyncCopier {

enum class Outcome {
    Done,
    Failed,    // *error says why; nothing partial is left at the target
    Changed,   // the target was created or changed by someone else meanwhile: left alone
    Cancelled, // stopped inside the file; the target is as it was
};

// Called with the bytes written so far; returns false to stop.
using Progress = std::function<bool(std::int64_t written)>;

// Copies the regular file or link src to dst, which is not there (Changed when it appears
// meanwhile); a link may also replace an existing dst.
Outcome copy(const QByteArray& src, const QByteArray& dst, bool isLink, bool replace, const Progress& progress,
             QString* error);

// A staged replacement: the complete copy under a temporary name, waiting for commit.
struct Staged {
    QByteArray temp;
    QByteArray target;
    SyncEntry expected; // the target as it was compared
};

// Copies the regular file src beside target under a temporary name (*staged on Done).
Outcome stage(const QByteArray& src, const QByteArray& target, const SyncEntry& expected, const Progress& progress,
              Staged* staged, QString* error);
// Flushes all staged copies, then renames each over its target when the target is still the
// one compared; outcomes[i] (and errors[i]) tell how staged[i] went. A copy that is not
// renamed is removed.
void commit(const std::vector<Staged>& staged, std::vector<Outcome>* outcomes, std::vector<QString>* errors);

// Whether name is a staged copy's temporary name (left by a run that was killed): such a
// file is never synchronised as if it were the user's.
bool isStagedName(const QByteArray& name);

// Makes the folder dst with the permission bits of the folder src; false with *error when
// it cannot be made (a file is in the way, no right to write the parent).
bool makeMirrorFolder(const QByteArray& src, const QByteArray& dst, QString* error);

} // namespace SyncCopier
