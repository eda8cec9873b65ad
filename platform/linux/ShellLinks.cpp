#include "platform/Shell.h"

#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/linux/RunnableProgram.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace {

constexpr qint64 kMaxEntrySize = 64 * 1024;

// Values of desktop entries escape \s \n \t \r \\ (the Exec key has its own quoting too).
QString escapedValue(const QString& value)
{
    QString out;
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

QString unescapedValue(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        out += next == QLatin1Char('n') ? QChar('\n') : next == QLatin1Char('t') ? QChar('\t')
             : next == QLatin1Char('r') ? QChar('\r') : next == QLatin1Char('s') ? QChar(' ') : next;
    }
    return out;
}

// An Exec argument quoted as the desktop entry rules want: inside double quotes, with ",
// `, $ and \ escaped by a backslash; a literal % doubled.
QString execArgument(const QString& argument)
{
    QString quoted = argument;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    for (const char* c : {"\"", "`", "$"})
        quoted.replace(QLatin1String(c), QStringLiteral("\\") + QLatin1String(c));
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QStringLiteral("\"") + quoted + QStringLiteral("\"");
}

QString unquotedExecProgram(const QString& exec)
{
    if (!exec.startsWith(QLatin1Char('"')))
        return exec.section(QLatin1Char(' '), 0, 0);
    QString out;
    for (qsizetype i = 1; i < exec.size(); ++i) {
        if (exec[i] == QLatin1Char('"'))
            break;
        if (exec[i] == QLatin1Char('\\') && i + 1 < exec.size())
            ++i;
        out += exec[i];
    }
    return out.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

} // namespace

Result<QString> CreateShortcut(const QString& target, const QString& workingFolder, const QString& shortcutPath)
{
    QString path = shortcutPath;
    if (path.endsWith(QLatin1String(".lnk"), Qt::CaseInsensitive))
        path.chop(4);
    if (!path.endsWith(QLatin1String(".desktop")))
        path += QStringLiteral(".desktop");
    const QFileInfo info(LocalFiles::absolutePath(target));
    QString text = QStringLiteral("[Desktop Entry]\nVersion=1.0\nName=") + escapedValue(FileName::display(info.fileName().isEmpty() ? target : info.fileName()))
        + QLatin1Char('\n');
    if (IsRunnableProgram(info.absoluteFilePath())) {
        text += QStringLiteral("Type=Application\nExec=") + escapedValue(execArgument(info.absoluteFilePath())) + QLatin1Char('\n');
        if (!workingFolder.isEmpty())
            text += QStringLiteral("Path=") + escapedValue(workingFolder) + QLatin1Char('\n');
    } else {
        text += QStringLiteral("Type=Link\nURL=") + escapedValue(FileName::toUrl(info.absoluteFilePath()).toString(QUrl::FullyEncoded))
            + QStringLiteral("\nIcon=") + (LocalFiles::isDir(target) ? QStringLiteral("folder") : QStringLiteral("text-x-generic")) + QLatin1Char('\n');
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        return Status::failure(QStringLiteral("Shortcut"), file.errorString());
    // Desktops launch an entry on the desktop only when it is marked executable.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

QString ShortcutTargetFromText(const QByteArray& text)
{
    if (text.size() > kMaxEntrySize)
        return QString();
    bool inEntry = false;
    QString type, url, exec;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inEntry || eq <= 0 || line.startsWith(QLatin1Char('#')))
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = unescapedValue(line.mid(eq + 1).trimmed());
        if (key == QLatin1String("Type"))
            type = value;
        else if (key == QLatin1String("URL"))
            url = value;
        else if (key == QLatin1String("Exec"))
            exec = value;
    }
    if (type == QLatin1String("Link")) {
        const QUrl parsed(url);
        return parsed.isLocalFile() ? FileName::fromUrl(parsed) : url;
    }
    if (type == QLatin1String("Application"))
        return unquotedExecProgram(exec);
    return QString();
}

QString ShortcutTarget(const QString& shortcutPath)
{
    QFile file(shortcutPath);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return ShortcutTargetFromText(file.read(kMaxEntrySize + 1));
}
