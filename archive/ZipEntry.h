#pragma once
// One entry of the open archive as the engine and its viewer see it: the central header
// read from disk (or built for a file waiting to be added), its decoded name, the tag the
// program sets before a tagged operation, and what the next save will do with it.

#include "format/ZipNames.h"
#include "format/ZipRecords.h"

#include <QDateTime>
#include <QString>

#include <sys/stat.h>

struct ZipEntry {
    enum class Action { Keep, Add, Replace, Delete };

    QString FileName;                     // the stored name, "/" separated
    zipfmt::CentralDirectoryHeader header;
    uint64_t offset = 0;                  // device offset of the local header (entries on disk)
    bool Tagged = false;
    Action action = Action::Keep;
    QString sourcePath;                   // the file on disk, for Add and Replace

    bool IsEncrypted() const { return header.flags & zipfmt::kFlagEncrypted; }
    bool isDirectory() const { return FileName.endsWith(QLatin1Char('/')); }
    uint32_t unixMode() const { return (header.versionMadeBy >> 8) == 3 ? header.externalAttributes >> 16 : 0; }
    bool isSymlink() const { return S_ISLNK(unixMode()); }
    uint64_t size() const { return header.uncompressedSize; }
    uint64_t packedSize() const { return header.compressedSize; }
    QDateTime lastModified() const
    {
        int64_t seconds = 0;
        if (zipfmt::extendedModificationTime(header.extra, seconds))
            return QDateTime::fromSecsSinceEpoch(seconds);
        return zipfmt::fromDosTime(header.time, header.date);
    }
    // lastModified() in seconds since the epoch, a DOS time read in zone.
    int64_t modifiedSeconds(const QTimeZone& zone) const
    {
        int64_t seconds = 0;
        if (zipfmt::extendedModificationTime(header.extra, seconds))
            return seconds;
        return zipfmt::fromDosTime(header.time, header.date, zone).toSecsSinceEpoch();
    }
};
