#pragma once
// Whether a path is a program to run rather than a document to open: an executable regular
// file that starts like one (ELF or a "#!" script). A document that merely has the execute
// bit (every file on a FAT stick has) is not.

#include <QString>

bool IsRunnableProgram(const QString& path);
