#pragma once
// File attributes as the browse panes show and filter them. The bits keep the values that
// attribute sets are stored with in the settings (read-only 0x01, hidden 0x02, system 0x04,
// volume label 0x08, directory 0x10, archive 0x20, normal 0x80); on Linux they are derived
// from the file's type and mode, its name, the folder's ".hidden" file and Samba's
// user.DOSATTRIB extended attribute (see FolderReader).

#include <QFlags>
#include <QString>

#include <cstdint>

namespace FileAttribute {
constexpr uint32_t ReadOnly = 0x01;
constexpr uint32_t Hidden = 0x02;
constexpr uint32_t System = 0x04;
constexpr uint32_t VolumeId = 0x08;
constexpr uint32_t Directory = 0x10;
constexpr uint32_t Archive = 0x20;
constexpr uint32_t Normal = 0x80;
} // namespace FileAttribute

// One member per attribute; a TFileType is the set of attributes an entry may carry and
// still be listed.
enum class TFileAttr : uint32_t {
    ftReadOnly = FileAttribute::ReadOnly,
    ftHidden = FileAttribute::Hidden,
    ftSystem = FileAttribute::System,
    ftVolumeID = FileAttribute::VolumeId,
    ftDirectory = FileAttribute::Directory,
    ftArchive = FileAttribute::Archive,
    ftNormal = FileAttribute::Normal,
};
Q_DECLARE_FLAGS(TFileType, TFileAttr)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFileType)

namespace FileAttributes {

// "A" for archive, then "R" read-only, "H" hidden, "S" system (for example "AR").
QString letters(uint32_t attributes);

// The file list's filter: an entry that is read-only, hidden or system is listed only when
// the set allows that attribute; no other attribute excludes it.
bool passesFileFilter(uint32_t attributes, TFileType allowed);

// The folder tree's filter: each of the entry's read-only, hidden, system, directory,
// archive and normal attributes must be in the set (directory always is); other attributes
// never exclude a folder.
bool passesFolderFilter(uint32_t attributes, TFileType allowed);

} // namespace FileAttributes
