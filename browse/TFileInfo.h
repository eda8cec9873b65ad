#pragma once
// One row of the file list: a file, a folder, the parent entry ".." or a drive. Texts that
// follow from these fields (full path, attribute letters, date text and key, kind) are
// made when a row is shown (FileItemText), so that a folder of 100,000 files costs little
// memory.

#include "browse/RowName.h"

#include <QString>

#include <cstdint>

enum class ItemKind : uint8_t { File, Folder, Parent, Drive };

struct TFileInfo {
    RowName Name;          // drives: the caption, see DriveItems
    QString TypeName;      // filled when the row is first shown (IconFetched) or sorted by type
    int64_t Size = 0;      // bytes; drives: total kilobytes
    int64_t Free = 0;      // drives only: free kilobytes
    int64_t mtimeSeconds = 0;
    uint32_t mtimeNanoseconds = 0;
    uint32_t Attributes = 0;
    int IconIndex = -1;    // into ItemIcons' list, once IconFetched
    ItemKind kind = ItemKind::File;
    bool hasTime = false;
    bool IconFetched = false;
    // False while only the folder's directory has been read (name, kind, the attributes the
    // name tells): size, time and the other attributes follow from a later stat.
    bool hasDetails = true;

    bool isFolder() const { return kind == ItemKind::Folder || kind == ItemKind::Parent; }
};
