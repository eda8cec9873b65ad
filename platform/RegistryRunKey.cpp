#include "platform/RegistryRunKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

QString RegistryRunKey::folder()
{
    const QStringList dirs = qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const QString base = dirs.isEmpty() ? QStringLiteral("/etc/xdg") : dirs.first();
    return base + QStringLiteral("/autostart");
}

QString RegistryRunKey::entryPath()
{
    return folder() + QLatin1Char('/') + QLatin1String(kEntryFileName);
}

QString RegistryRunKey::execLine(const QString& program)
{
    // Inside double quotes the desktop entry format reserves '"', '`', '$' and '\';
    // '%' starts a field code anywhere and is doubled.
    QString quoted;
    for (QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1String("%"), QLatin1String("%%"));
    // The value itself is a string of the key file format, where a backslash is escaped too.
    quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool RegistryRunKey::apply(const QString& title, const QString& program, bool enabled)
{
    const QFileInfo dir(folder());
    if (!dir.isDir() || ::access(QFile::encodeName(dir.absoluteFilePath()).constData(), W_OK | X_OK) != 0)
        return false;
    const QString path = entryPath();
    if (!enabled)
        return !QFileInfo::exists(path) || QFile::remove(path);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString name = title;
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Exec=%2\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(name, execLine(program));
    file.write(entry.toUtf8());
    if (!file.commit())
        return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}
