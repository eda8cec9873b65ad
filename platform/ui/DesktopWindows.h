#pragma once
// "Minimise all windows": asks the window manager to show the desktop (KWin over D-Bus, or the
// EWMH show-desktop request through wmctrl on X11). Where the window manager offers neither
// (GNOME on Wayland has no such request for programs), the program minimises its own windows
// and says so through the result.

enum class MinimizeOutcome { AllWindows, OwnWindowsOnly };

MinimizeOutcome MinimizeAll();
