#pragma once
// The file-kind tests of the view commands. Kinds by name compare the extension taken
// with its dot, upper-cased and cut to its first five characters (".mpeg4" counts as
// ".MPEG"). Kinds by content read at most the first bytes they need, and only from a
// path that is a regular file (or a link to one), opened without blocking: a FIFO or a
// device in a listed folder never hangs the window and never has its side effects.

#include <QByteArray>
#include <QString>

#include <optional>

namespace FileKinds {

// The extension as the tests compare it: ".MPEG" for "clip.mpeg4", empty without a dot.
QString CutExtension(const QString& path);
// The cut extension equals ext cut and upper-cased the same way.
bool HasExtension(const QString& path, const QString& ext);

bool IsMovieFile(const QString& path);
bool IsAudioFile(const QString& path);
bool IsImageFile(const QString& path);
bool IsProgramFile(const QString& path);
bool IsWebPageFile(const QString& path);

// The path is a regular file (through links) that opens for reading.
bool CanOpenFile(const QString& path);
// Opens, and each of the first 1000 bytes is 9, 10, 13 or 32..255; an empty file is text.
bool IsTextFile(const QString& path);
// Opens, and begins with the local header signature "PK\3\4".
bool IsZipFile(const QString& path);
// Bytes 6 to 9 are "JFIF" or "Exif".
bool IsJfifOrExifFile(const QString& path);
// The URL value of section InternetShortcut of a .URL file (read at most 64 KiB); empty
// when missing or unreadable.
QString ReadInternetShortcutUrl(const QString& path);
// The test on bytes already read (the first 1000 count).
bool IsTextBytes(const QByteArray& head);

// At most max bytes from the start of path, when it is a regular file (a link to one
// included) that opens; nullopt otherwise. Opened with O_NONBLOCK and checked again on the
// open descriptor, so a path swapped for a FIFO between the checks still does not block.
std::optional<QByteArray> readHead(const QString& path, qsizetype max);

} // namespace FileKinds
