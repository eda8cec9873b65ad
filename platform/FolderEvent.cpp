#include "platform/FolderEvent.h"

ChangeNotice FolderEvent::toNotice() const
{
    switch (kind) {
    case Kind::Created:
        return {isFolder ? ChangeEvent::MakeFolder : ChangeEvent::Create, path, {}};
    case Kind::Deleted:
        return {isFolder ? ChangeEvent::RemoveFolder : ChangeEvent::Delete, path, {}};
    case Kind::Renamed:
        return {isFolder ? ChangeEvent::RenameFolder : ChangeEvent::RenameItem, path, path2};
    case Kind::AttributesChanged:
        return {ChangeEvent::Attributes, path, {}};
    case Kind::Written:
        return {ChangeEvent::UpdateItem, path, {}};
    case Kind::FolderGone:
        return {ChangeEvent::RemoveFolder, path, {}};
    case Kind::Unmounted:
        return {ChangeEvent::MediaRemove, path, {}};
    case Kind::Polled:
        return {ChangeEvent::UpdateDir, path, {}};
    case Kind::Overflow:
        break;
    }
    return {ChangeEvent::UpdateDir, QStringLiteral("/"), {}};
}

const char* FolderEvent::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Created: return "created";
    case Kind::Deleted: return "deleted";
    case Kind::Renamed: return "renamed";
    case Kind::AttributesChanged: return "attributes";
    case Kind::Written: return "written";
    case Kind::FolderGone: return "folder-gone";
    case Kind::Unmounted: return "unmounted";
    case Kind::Overflow: return "overflow";
    case Kind::Polled: return "polled";
    }
    return "?";
}
