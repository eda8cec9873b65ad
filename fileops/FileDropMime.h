#pragma once
// The file list on the system clipboard in the forms Linux desktop programs exchange:
// text/uri-list (RFC 2483: file URLs, one a line, CRLF), x-special/gnome-copied-files (a first
// line "copy" or "cut", then one file URL a line) and plain text (the paths, one a line, a name
// that is not UTF-8 with the replacement mark; the URLs carry its bytes).
// What this program writes is always marked copy, so no other program removes the sources.
//
// The readers take bytes another program wrote: only file URLs of local paths are taken, a
// line longer than a path can be is dropped, and the whole input is capped.

#include <QByteArray>
#include <QString>
#include <QStringList>

class QMimeData;

struct FileDropList {
    QStringList paths;
    bool cut = false; // the other program asked for a move (it removes the sources itself)
};

namespace FileDropMime {

inline constexpr char kUriList[] = "text/uri-list";
inline constexpr char kGnomeCopiedFiles[] = "x-special/gnome-copied-files";
inline constexpr char kKdeCutSelection[] = "application/x-kde-cutselection";
// More than any real clipboard list; beyond it the rest is ignored.
inline constexpr qsizetype kMaxBytes = 64 << 20;
inline constexpr qsizetype kMaxPathBytes = 4096;

// Fills mime with the three forms of paths (absolute local paths).
void write(QMimeData* mime, const QStringList& paths);

// The file list of mime: the gnome form when present (with its cut mark), else the uri-list
// (cut when the KDE cut mark says "1"). Empty when neither holds a local file.
FileDropList read(const QMimeData* mime);
bool hasFiles(const QMimeData* mime);

// The byte-level readers behind read().
QStringList parseUriList(const QByteArray& bytes);
FileDropList parseGnomeCopiedFiles(const QByteArray& bytes);

QByteArray uriListBytes(const QStringList& paths);
QByteArray gnomeCopiedFilesBytes(const QStringList& paths);

} // namespace FileDropMime
