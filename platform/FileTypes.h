#pragma once
// Type names and icon names of files for the lists, from the shared MIME database. Matching
// is by name only (a listing never opens its files: a FIFO or a device must not be read), and
// the answers are cached by extension, so a folder of ten thousand files costs a few lookups.
// Safe to call from any thread.

#include <QString>

struct FileTypeInfo {
    QString typeName;        // "PNG image", "File Folder", "XYZ File", "File"
    QString iconName;        // freedesktop icon name ("image-png", "folder")
    QString genericIconName; // fallback ("image-x-generic")
};

class FileTypes {
public:
    // The type of the item at path; isFolder says whether it is a folder (the caller knows it
    // from its listing; no file system call is made here).
    static FileTypeInfo of(const QString& path, bool isFolder);
    static QString typeName(const QString& path, bool isFolder) { return of(path, isFolder).typeName; }
    static void clearCache();
};
