#pragma once
// Tells a drag that this program started (the file list's items, a folder of the tree or the
// tab strip) from one that came from another program. The drag's data carries the process
// id under a private format: another program, and another running copy of this one, carry
// none or a different one. The data decides rather than the drop's source widget, which only
// the window system's own drag loop can supply.

class QMimeData;

class OwnDrag {
public:
    // Marks data this program hands to a drag.
    static void mark(QMimeData* data);
    // Whether data came from a drag of this process.
    static bool isOwn(const QMimeData* data);
};
