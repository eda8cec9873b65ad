#pragma once
// Log-off and power commands and the screen: log off, restart, shut down, stand by,
// hibernate, lock, start the screen saver, put the monitor to stand-by, reboot, power off. On Linux: systemd-logind
// over the system bus for the session and power, the desktop's screen saver service over the
// session bus, and `xset dpms` for the monitor. Tests install FakeSession (tests/support):
// nothing in a test may ever reach the real service.

#include "platform/Status.h"

#include <QString>

#include <memory>

class QDBusConnection;

// Restart and Reboot both reboot the machine (Linux has no "restart the applications
// registered for restart"); ShutDown and PowerOff both power it off.
enum class SessionAction { LogOff, Restart, ShutDown, StandBy, Hibernate, Lock, ScreenSaver, MonitorStandBy, Reboot, PowerOff };

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
    // The logind and screen-saver service on the given buses (the system and session bus by
    // default); tests point it at a private bus where a mock service answers.
    static std::unique_ptr<SessionService> createOnBuses(const QDBusConnection& system, const QDBusConnection& session);
};
