#pragma once
// The file system steps of a transfer: copy one regular file (copy_file_range, falling back to
// read/write), a symbolic link as a link, a FIFO, socket or device node as what it is; keep
// times, permissions and extended attributes (and the owner when running as root); rename without replacing;
// remove a tree. Every step gives how it ended (Done, Exists, Cancelled) or a failure with
// errno-based text, errno left set.

#include "platform/Status.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

#include <sys/stat.h>

namespace FileCopier {

// Called with the bytes written so far; returns false to stop (cancel).
using ChunkCallback = std::function<bool(std::int64_t written)>;

// How a step ended when it did not fail.
enum class Step { Done, Exists, Cancelled };

// Copies the regular file src to dst (refusing, with EINVAL, a src that is no longer a regular
// file). With replace false, the bytes go to an unnamed file in dst's folder that takes the
// name dst only when complete, never replacing it (Exists when it is there; where the file
// system has no unnamed files, dst is created exclusively); with replace true the bytes go to a temporary file
// beside dst that is renamed over it only when complete, so that the old dst survives a
// failure. A failed or cancelled copy leaves no partial file behind.
Result<Step> copyFile(const QByteArray& src, const QByteArray& dst, bool replace, const ChunkCallback& onChunk);
// Symbolic link, FIFO, socket, device: made anew at dst (Exists when dst is there and replace
// is false; a replaced dst is swapped in by rename).
Result<Step> copySpecial(const QByteArray& src, const struct stat& st, const QByteArray& dst, bool replace);
// Creates the folder dst (Exists when it is a folder already; a file or a link there fails).
Result<Step> makeFolder(const QByteArray& dst);
// The extended attributes of src (a folder or a node; files copy theirs in copyFile).
void copyExtendedAttributes(const QByteArray& src, const QByteArray& dst);
// Mode and times (and owner as root) of st onto dst; links get their times only.
void applyAttributes(const QByteArray& dst, const struct stat& st);

// rename that never replaces: Exists when dst is there; "EXDEV" reported through crossDevice.
Result<Step> renameNoReplace(const QByteArray& src, const QByteArray& dst, bool* crossDevice);
// rename that replaces dst (after the user agreed).
Result<Step> renameReplace(const QByteArray& src, const QByteArray& dst, bool* crossDevice);

// Removes a file, link or whole tree on one volume (a mount point, at the top or inside, is
// refused with a clear error); onItem is called after each removed entry and may stop.
Status removeTree(const QByteArray& path, const std::function<bool()>& onItem);

// Whether path is the root of a mounted volume (bind mounts included).
bool isMountRoot(const QByteArray& path);

// "No space left on device" and friends, from errno.
QString errorText(int error);

} // namespace FileCopier
