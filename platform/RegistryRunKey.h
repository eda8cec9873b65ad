#pragma once
// The machine-wide automatic-start entry: an XDG autostart desktop entry
// "<first folder of $XDG_CONFIG_DIRS, default /etc/xdg>/autostart/folvane3.desktop" that
// starts the program when any user logs on.
//
// Like the machine-wide key it stands for, the entry is only changed when its folder can be
// opened for writing: the folder is never created, and without the right to write there
// nothing happens and false is returned (callers ignore it).

#include <QString>

class RegistryRunKey {
public:
    static constexpr const char* kEntryFileName = "folvane3.desktop";

    // "<system config dir>/autostart"
    static QString folder();
    static QString entryPath();

    // Writes the entry named title that runs program (enabled), or removes it (disabled).
    // True when the folder was open to us and the entry now is as asked.
    static bool apply(const QString& title, const QString& program, bool enabled);

    // The desktop entry's Exec value for program, quoted as the desktop entry format asks.
    static QString execLine(const QString& program);
};
