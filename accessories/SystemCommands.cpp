#include "accessories/SystemCommands.h"

#include <iterator>

namespace {

const SystemCommandItem kItems[] = {
    {SystemCommand::Restart, "PopupRestart", "Restart", SessionAction::Restart, true},
    {SystemCommand::LogOff, "PopupLogOff", "Log Off", SessionAction::LogOff, true},
    {SystemCommand::Reboot, "PopupReboot", "Reboot", SessionAction::Reboot, true},
    {SystemCommand::ScreenSaver, "PopupScreenSaver", "Screen Saver", SessionAction::ScreenSaver, false},
    {SystemCommand::Standby, "PopupStandby", "Monitor to Standby", SessionAction::MonitorStandBy, false},
    {SystemCommand::ShutDown, "PopupShutDown", "Shut Down", SessionAction::ShutDown, true},
    {SystemCommand::PowerOff, "PopupPowerOff", "Power Off", SessionAction::PowerOff, true},
};

} // namespace

const SystemCommandItem* SystemCommands::items(int* count)
{
    *count = int(std::size(kItems));
    return kItems;
}

const SystemCommandItem& SystemCommands::item(SystemCommand command)
{
    return kItems[int(command)];
}

Status SystemCommands::run(SystemCommand command, const std::function<void()>& saveSettings,
                           const std::function<void()>& closeWindow)
{
    const SystemCommandItem& what = item(command);
    if (what.endsSession && saveSettings)
        saveSettings();
    const Status answer = SessionService::instance().perform(what.action);
    if (what.endsSession && closeWindow)
        closeWindow();
    return answer;
}
