#pragma once
// Log-off and power commands and the screen: log off, restart, shut down, stand by,
// hibernate, lock, start the screen saver, put the monitor to stand-by. On Linux: systemd-logind
// over the system bus for the session and power, the desktop's screen saver service over the
// session bus, and `xset dpms` for the monitor. Tests install FakeSession (tests/support):
// nothing in a test may ever reach the real service.

#include "platform/Status.h"

#include <QString>

enum class SessionAction { LogOff, Restart, ShutDown, StandBy, Hibernate, Lock, ScreenSaver, MonitorStandBy };

class SessionService {
public:
    virtual ~SessionService();
    // Whether the action is offered here (logind says "yes" or "challenge").
    virtual bool canPerform(SessionAction action) = 0;
    // Asks for the action; fails ("The system refused to shut down: ...") when it was refused
    // or no service answers.
    virtual Status perform(SessionAction action) = 0;

    static SessionService& instance();
    static void setInstance(SessionService* service);
};
