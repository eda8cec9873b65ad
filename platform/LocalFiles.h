#pragma once
// Questions and small changes on the file system for paths carried as FileName QStrings:
// every call encodes the path with FileName::encode, so a name that is not valid UTF-8 is
// reached byte for byte (QFileInfo, QDir and QFile would reach another name or none).

#include <QString>
#include <QStringList>

class LocalFiles {
public:
    // The path made absolute against the process's working folder (read by its bytes) and
    // cleaned. QFileInfo::absoluteFilePath re-encodes a relative path and loses its escapes.
    static QString absolutePath(const QString& path);

    // Whether something is reached there, through links (stat, as QFileInfo::exists).
    static bool exists(const QString& path);
    // Whether the entry itself is there, a link that leads nowhere included (lstat).
    static bool entryExists(const QString& path);
    // A folder, or a link to one (stat).
    static bool isDir(const QString& path);
    // A regular file, or a link to one (stat).
    static bool isFile(const QString& path);
    static bool isSymLink(const QString& path);

    // The names in folder, without "." and "..", ordered by their bytes; empty when the
    // folder cannot be read.
    static QStringList entryNames(const QString& folder);

    // Makes one folder; false (errno set) when it exists or cannot be made.
    static bool makeFolder(const QString& path);
    // Makes the folder and the missing ones above it; true when it is a folder afterwards.
    static bool makePath(const QString& path);
    // Removes a file or link (not a folder); false with errno set.
    static bool remove(const QString& path);
};
