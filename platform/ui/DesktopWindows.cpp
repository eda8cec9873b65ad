#include "platform/ui/DesktopWindows.h"

#include "platform/Shell.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QWidget>

namespace {

bool askKWin()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.KWin")).value())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"), QStringLiteral("/KWin"),
                                                       QStringLiteral("org.kde.KWin"), QStringLiteral("showDesktop"));
    call << true;
    return bus.call(call, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
}

bool askEwmh()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    const QString wmctrl = ProgramLauncher::instance().findProgram(QStringLiteral("wmctrl"));
    return !wmctrl.isEmpty() && ProgramLauncher::instance().start(wmctrl, {QStringLiteral("-k"), QStringLiteral("on")}, QString()).ok();
}

} // namespace

MinimizeOutcome MinimizeAll()
{
    if (askKWin() || askEwmh())
        return MinimizeOutcome::AllWindows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->isWindow())
            window->showMinimized();
    }
    return MinimizeOutcome::OwnWindowsOnly;
}
