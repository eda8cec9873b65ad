#pragma once
// Playlist files: M3U and extended M3U. Reading treats the bytes as hostile (a line longer
// than kMaxLine is skipped, never cut into another name; the file is read up to kMaxBytes);
// writing composes the extended form and replaces the target through a temporary file, so
// an existing playlist stays whole until the new one is complete.

#include "media/AudioInfo.h"
#include "platform/Status.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace media {

class M3uFile {
public:
    static constexpr qsizetype kMaxLine = 4096;
    static constexpr qint64 kMaxBytes = 16 * 1024 * 1024;

    // The files the lines name, in file order: comment lines ("#EXTM3U", "#EXTINF:...") and
    // empty lines are left out; a relative name is taken against folder with "\" read as
    // "/"; a "file:" URL is taken as its local path. A line is UTF-8 when it is valid UTF-8,
    // else Latin-1.
    static QStringList parse(const QByteArray& bytes, const QString& folder);
    // parse() of the file at path against the file's own folder. A file that cannot be read
    // gives an empty list and the reason in error.
    static QStringList read(const QString& path, QString* error = nullptr);

    // "#EXTM3U", then for each entry "#EXTINF:" Sec "," Artist " - " Title and the path,
    // every line ended by CR LF.
    static QByteArray compose(const QList<AudioInfo>& entries);
    static Status save(const QString& path, const QList<AudioInfo>& entries);

private:
    static QString decodeLine(QByteArrayView line);
    static QString resolve(const QString& name, const QString& folder);
};

} // namespace media
