#pragma once
// Data dropped without a path (an attachment, a picture dragged out of another program) that
// carries a file name: written into the drop's target folder under that name, reduced to a
// plain file name. The bytes go to a temporary file that is renamed into place when
// complete; an existing file is replaced only after the user agrees.

#include <QByteArray>
#include <QString>

class QMimeData;

namespace DroppedStream {

// The name KDE programs give data they let drag out (Dolphin, Konqueror, KMail).
inline constexpr char kSuggestedName[] = "application/x-kde-suggestedfilename";

struct Stream {
    QString name; // a plain file name (DropRules::streamFileName), empty when there is none
    QByteArray bytes;
};

// The named stream of mime: its data in the first format that is not a file list or text;
// no name when mime carries no file name (such data is not accepted).
Stream of(const QMimeData* mime);

// Writes stream into folder (a folder path); false when nothing was written (refused, the
// user kept the existing file, or the write failed: the failure was reported).
bool save(const QString& folder, const Stream& stream);

} // namespace DroppedStream
