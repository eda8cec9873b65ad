#include "fileops/BrowsePanes.h"

BrowsePanes::~BrowsePanes() = default;

QList<ListEntry> BrowsePanes::selectedEntries() const
{
    QList<ListEntry> selected;
    for (const ListEntry& entry : listEntries()) {
        if (entry.selected && !entry.parent)
            selected << entry;
    }
    return selected;
}
