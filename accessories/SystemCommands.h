#pragma once
// The log-off and power commands of the command-prompt button's menu, and the screen
// commands beside them. The five that end the session save the program's settings before
// the system is asked (logind may end the process at once), then close the main window
// whatever the system answered; the screen saver and the monitor standby leave it open.

#include "platform/Session.h"
#include "platform/Status.h"

#include <functional>

enum class SystemCommand { Restart, LogOff, Reboot, ScreenSaver, Standby, ShutDown, PowerOff };

struct SystemCommandItem {
    SystemCommand command;
    const char* objectName; // PopupRestart, ...
    const char* caption;    // "Restart", ...
    SessionAction action;
    bool endsSession; // saves the settings first and closes the window after
};

class SystemCommands {
public:
    // The menu's items in their order.
    static const SystemCommandItem* items(int* count);
    static const SystemCommandItem& item(SystemCommand command);

    // Carries out the command through the session service. saveSettings runs before the
    // system is asked, closeWindow after (both only for the commands that end the session).
    // Gives the system's refusal; the window is closed all the same.
    static Status run(SystemCommand command, const std::function<void()>& saveSettings,
                      const std::function<void()>& closeWindow);
};
