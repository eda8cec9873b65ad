#pragma once
// What the properties window shows of a file or folder, read without widgets: name, type,
// location, size (a folder's total is summed on request, with a stop flag), times (birth time
// where the file system keeps one), owner and permissions, which the owner may change.

#include "platform/Status.h"

#include <QDateTime>
#include <QString>

#include <atomic>
#include <cstdint>

struct FileProperties {
    QString name;
    QString typeName;
    QString location;   // the folder that holds it
    QString linkTarget; // for a symbolic link, where it points
    bool isFolder = false;
    std::int64_t size = 0;
    QDateTime modified;
    QDateTime accessed;
    QDateTime created;  // invalid when the file system keeps no birth time
    QString owner;
    QString group;
    unsigned permissions = 0; // the 07777 bits
    bool canChangePermissions = false;

    // Reads the properties of path (the link itself for a symbolic link); fails ("The
    // specified file was not found.") when it does not exist.
    static Result<FileProperties> read(const QString& path);

    struct Total {
        std::int64_t bytes = 0;
        std::int64_t files = 0;
        std::int64_t folders = 0;
        bool complete = true; // false when stopped or a subfolder could not be read
    };
    // The bytes of every file below folder (links are not followed, other mounts are not
    // entered). Stops early when *stop becomes true.
    static Total folderTotal(const QString& folder, const std::atomic<bool>* stop);

    // Sets the permission bits; fails when refused.
    static Status setPermissions(const QString& path, unsigned permissions);

    // "rwxr-x---"
    static QString permissionText(unsigned permissions);
};
