#pragma once
// The file system steps of a synchronisation run, gathered in one place over the transfer
// engine's copier: a file copied to a temporary file beside its target and named (or renamed
// over an older target) only when complete, with its modification time to the nanosecond,
// its permission bits and extended attributes; a link made anew as a link; a mirror folder.

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

namespace SyncCopier {

enum class Outcome {
    Done,
    Failed,    // *error says why; nothing partial is left at the target
    Changed,   // the target was created or changed by someone else meanwhile: left alone
    Cancelled, // stopped inside the file; the target is as it was
};

// Called with the bytes written so far; returns false to stop.
using Progress = std::function<bool(std::int64_t written)>;

// Copies the regular file or link src to dst. replace: dst exists and may be replaced;
// otherwise a dst that appears meanwhile is never replaced (Changed).
Outcome copy(const QByteArray& src, const QByteArray& dst, bool isLink, bool replace, const Progress& progress,
             QString* error);

// Makes the folder dst with the permission bits of the folder src; false with *error when
// it cannot be made (a file is in the way, no right to write the parent).
bool makeMirrorFolder(const QByteArray& src, const QByteArray& dst, QString* error);

} // namespace SyncCopier
