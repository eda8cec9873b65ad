#pragma once
// Icons of files, folders and drives from the desktop's icon theme, falling back to Qt's own
// file icons when the theme lacks one; cached by icon name.

#include "platform/Drives.h"

#include <QIcon>

class FileIcons {
public:
    static QIcon forFile(const QString& path, bool isFolder);
    static QIcon openFolder();
    static QIcon forDrive(DriveType type);
    static QIcon computer();
    static QIcon named(const QString& iconName, const QString& fallbackName);
};
