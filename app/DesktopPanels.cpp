#include "app/DesktopPanels.h"

#include "platform/LocalFiles.h"
#include "viewers/KeyFile.h"

#include <QRegularExpression>
#include <QStandardPaths>

namespace {

struct Candidate {
    const char* desktop; // "" for any desktop
    DesktopPanel panel;
    const char* command; // program and arguments, separated by blanks
};

// The usual settings programs of the desktops, each desktop's own first.
const Candidate kCandidates[] = {
    {"kde", DesktopPanel::Volume, "pavucontrol-qt"},
    {"kde", DesktopPanel::Sound, "systemsettings kcm_pulseaudio"},
    {"kde", DesktopPanel::Network, "systemsettings kcm_networkmanagement"},
    {"kde", DesktopPanel::Display, "systemsettings kcm_kscreen"},
    {"kde", DesktopPanel::DateTime, "systemsettings kcm_clock"},
    {"kde", DesktopPanel::Internet, "systemsettings kcm_proxy"},
    {"kde", DesktopPanel::ControlCentre, "systemsettings"},
    {"gnome", DesktopPanel::Volume, "gnome-control-center sound"},
    {"gnome", DesktopPanel::Sound, "gnome-control-center sound"},
    {"gnome", DesktopPanel::Network, "gnome-control-center network"},
    {"gnome", DesktopPanel::Display, "gnome-control-center display"},
    {"gnome", DesktopPanel::DateTime, "gnome-control-center datetime"},
    {"gnome", DesktopPanel::Internet, "gnome-control-center network"},
    {"gnome", DesktopPanel::ControlCentre, "gnome-control-center"},
    {"xfce", DesktopPanel::Volume, "pavucontrol"},
    {"xfce", DesktopPanel::Display, "xfce4-display-settings"},
    {"xfce", DesktopPanel::ControlCentre, "xfce4-settings-manager"},
    {"lxqt", DesktopPanel::Volume, "pavucontrol-qt"},
    {"lxqt", DesktopPanel::Display, "lxqt-config-monitor"},
    {"lxqt", DesktopPanel::ControlCentre, "lxqt-config"},
    {"mate", DesktopPanel::Volume, "mate-volume-control"},
    {"mate", DesktopPanel::Sound, "mate-volume-control"},
    {"mate", DesktopPanel::Display, "mate-display-properties"},
    {"mate", DesktopPanel::DateTime, "mate-time-admin"},
    {"mate", DesktopPanel::ControlCentre, "mate-control-center"},
    {"", DesktopPanel::Volume, "pavucontrol"},
    {"", DesktopPanel::Volume, "pavucontrol-qt"},
    {"", DesktopPanel::Sound, "pavucontrol"},
    {"", DesktopPanel::Network, "nm-connection-editor"},
    {"", DesktopPanel::Display, "arandr"},
    {"", DesktopPanel::DateTime, "time-admin"},
    {"", DesktopPanel::Internet, "nm-connection-editor"},
    {"", DesktopPanel::ControlCentre, "gnome-control-center"},
    {"", DesktopPanel::ControlCentre, "systemsettings"},
};

std::optional<QStringList> firstInstalled(DesktopPanel panel, const QString& desktop, const DesktopPanels::Finder& finder)
{
    for (const Candidate& candidate : kCandidates) {
        if (candidate.panel != panel || QLatin1String(candidate.desktop) != desktop)
            continue;
        QStringList command = QString::fromLatin1(candidate.command).split(QLatin1Char(' '));
        const QString program = finder(command.first());
        if (!program.isEmpty()) {
            command.first() = program;
            return command;
        }
    }
    return std::nullopt;
}

} // namespace

QString DesktopPanels::systemFinder(const QString& program)
{
    return QStandardPaths::findExecutable(program);
}

std::optional<QStringList> DesktopPanels::command(DesktopPanel panel, const QStringList& desktops, const Finder& finder)
{
    for (const QString& desktop : desktops + QStringList{QString()}) {
        if (std::optional<QStringList> found = firstInstalled(panel, desktop.toLower(), finder))
            return found;
    }
    return std::nullopt;
}

QStringList DesktopPanels::currentDesktops()
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

bool DesktopPanels::canMountShares(const Finder& finder)
{
    // gvfsd is the daemon that makes "gio mount" reach network shares.
    return !finder(QStringLiteral("gio")).isEmpty()
           && (LocalFiles::isFile(QStringLiteral("/usr/libexec/gvfsd")) || !finder(QStringLiteral("gvfsd")).isEmpty());
}

QStringList DesktopPanels::mountedShares(const QByteArray& listing)
{
    // "Mount(0): share on server -> smb://server/share/"
    static const QRegularExpression mountLine(QStringLiteral("^\\s*Mount\\(\\d+\\):.* -> (\\S+)\\s*$"));
    QStringList shares;
    for (const QByteArray& line : listing.split('\n')) {
        const QRegularExpressionMatch match = mountLine.match(QString::fromUtf8(line));
        if (match.hasMatch() && !match.captured(1).startsWith(QLatin1String("file://")))
            shares << match.captured(1);
    }
    return shares;
}

QStringList DesktopPanels::installedPrograms(const QStringList& dataFolders)
{
    QStringList names;
    const QString section = QStringLiteral("Desktop Entry");
    for (const QString& folder : dataFolders) {
        const QString applications = folder + QStringLiteral("/applications/");
        for (const QString& file : LocalFiles::entryNames(applications)) {
            if (!file.endsWith(QLatin1String(".desktop")))
                continue;
            const KeyFile entry = KeyFile::read(applications + file);
            const bool hidden = entry.value(section, QStringLiteral("NoDisplay")) == QLatin1String("true")
                                || entry.value(section, QStringLiteral("Hidden")) == QLatin1String("true");
            const QString name = entry.value(section, QStringLiteral("Name"));
            if (entry.value(section, QStringLiteral("Type")) == QLatin1String("Application") && !hidden && !name.isEmpty())
                names << name;
        }
    }
    return names;
}

QStringList DesktopPanels::dataFolders()
{
    QStringList folders{QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)};
    const QString system = qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    folders += system.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders.removeDuplicates();
    return folders;
}

QStringList DesktopPanels::displayModes(const QByteArray& xrandrOutput)
{
    // Mode lines of an output: "   1920x1080     60.00*+  50.00"
    static const QRegularExpression modeLine(QStringLiteral("^\\s+(\\d+)x(\\d+)\\S*\\s"));
    QStringList modes;
    for (const QByteArray& line : xrandrOutput.split('\n')) {
        const QRegularExpressionMatch match = modeLine.match(QString::fromUtf8(line) + QLatin1Char(' '));
        if (!match.hasMatch())
            continue;
        const QString mode = match.captured(1) + QLatin1Char('-') + match.captured(2);
        if (!modes.contains(mode))
            modes << mode;
    }
    return modes;
}
