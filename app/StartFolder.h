#pragma once
// The folder the file manager opens at start, from the stored item and folder: the stored
// folder when the item lies directly in it (the item selected there), else the item
// itself when it is a folder, else the folder of the item when the item exists, else the
// nearest existing folder of the stored current folder, else the home folder. The process's
// working folder is never used: it says nothing about where the user was.

#include <QString>

class StartFolder {
public:
    static QString resolve(const QString& currentItem, const QString& currentPath);

};
