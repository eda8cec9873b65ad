#include "browse/FileAttributes.h"

namespace FileAttributes {

QString letters(uint32_t attributes)
{
    QString text;
    if (attributes & FileAttribute::Archive)
        text += QLatin1Char('A');
    if (attributes & FileAttribute::ReadOnly)
        text += QLatin1Char('R');
    if (attributes & FileAttribute::Hidden)
        text += QLatin1Char('H');
    if (attributes & FileAttribute::System)
        text += QLatin1Char('S');
    return text;
}

bool passesFileFilter(uint32_t attributes, TFileType allowed)
{
    const uint32_t guarded = FileAttribute::ReadOnly | FileAttribute::Hidden | FileAttribute::System;
    return (attributes & guarded & ~uint32_t(allowed.toInt())) == 0;
}

bool passesFolderFilter(uint32_t attributes, TFileType allowed)
{
    const uint32_t relevant = FileAttribute::ReadOnly | FileAttribute::Hidden | FileAttribute::System
        | FileAttribute::Directory | FileAttribute::Archive | FileAttribute::Normal;
    const uint32_t mask = (uint32_t(allowed.toInt()) & ~(FileAttribute::VolumeId | FileAttribute::Normal))
        | FileAttribute::Directory;
    return (attributes & FileAttribute::Directory) && (attributes & relevant & ~mask) == 0;
}

} // namespace FileAttributes
