#pragma once
// The file a page is saved to: the name chosen in the save dialog with its extension
// replaced by ".HTML" (or ".HTML" added when the name has no dot). The question before
// replacing is asked about this final name, not about the one typed.

#include <QString>

class SavePageName {
public:
    static QString finalName(const QString& chosen);
};
