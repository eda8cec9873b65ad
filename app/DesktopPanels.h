#pragma once
// The desktop's own settings programs that the options dialog opens (the counterparts of
// the control panel items), the network-share mounts through gio, the installed
// applications and the display modes. Which program opens a panel depends on the running
// desktop ($XDG_CURRENT_DESKTOP): the first installed of its candidates, then of the
// candidates any desktop may have.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

enum class DesktopPanel { Volume, Sound, Network, Display, DateTime, Internet, ControlCentre };

class DesktopPanels {
public:
    // Finds a program on the search path; empty when it is not installed.
    using Finder = std::function<QString(const QString& program)>;
    static QString systemFinder(const QString& program);

    // The command (program and its arguments) that opens panel on the given desktops
    // (the entries of $XDG_CURRENT_DESKTOP, in order); nullopt when none is installed.
    static std::optional<QStringList> command(DesktopPanel panel, const QStringList& desktops, const Finder& finder);
    static QStringList currentDesktops();

    // Network shares: gio mounts them through gvfs. Both must be installed for the
    // mount and unmount buttons.
    static bool canMountShares(const Finder& finder);
    static QStringList mountCommand(const QString& address) { return {QStringLiteral("mount"), address}; }
    static QStringList unmountCommand(const QString& address) { return {QStringLiteral("mount"), QStringLiteral("-u"), address}; }
    // The addresses of the mounted shares in the output of "gio mount -l".
    static QStringList mountedShares(const QByteArray& listing);

    // The Name of every application entry (Type=Application, not hidden) in the
    // applications folders below dataFolders, in folder order and then by file name.
    static QStringList installedPrograms(const QStringList& dataFolders);
    static QStringList dataFolders();

    // The display modes in xrandr's output, "width-height", each once, in its order.
    static QStringList displayModes(const QByteArray& xrandrOutput);
};
