#include "fileops/ConfirmActions.h"

#include "platform/FileName.h"
#include "platform/FileTypes.h"
#include "platform/HistoryList.h"
#include "platform/PathText.h"
#include "platform/Registry.h"

#include <QFileInfo>
#include <QLocale>

#include <sys/stat.h>

namespace {

const QString kExtKey = QStringLiteral("Software\\QuorVel\\Folvane3\\Settings\\MRUEXT");
const QString kExtStem = QStringLiteral("MRUEXT");

} // namespace

namespace ConfirmActions {

QStringList loadExtensions(const QString& settingsPath)
{
    Registry registry(settingsPath);
    if (!registry.load())
        return {};
    return HistoryList::read(registry, kExtKey, kExtStem);
}

QStringList saveExtensions(const QString& settingsPath, const QStringList& items, const QString& text, int extIndex)
{
    const QStringList list = HistoryList::prepared(items, text, false);
    Registry registry(settingsPath);
    // A store that cannot be read is left alone rather than replaced by this one list.
    if (!registry.load())
        return list;
    HistoryList::write(registry, kExtKey, kExtStem, list);
    if (registry.openKey(kExtKey, true)) {
        registry.writeInteger(QStringLiteral("ExtIndex"), extIndex);
        registry.closeKey();
    }
    registry.save();
    return list;
}

QString attributeLetters(const QString& path)
{
    struct stat st {};
    if (::lstat(FileName::encode(path).constData(), &st) != 0)
        return QString();
    const QFileInfo info(path);
    QString letters;
    if (!(st.st_mode & S_IWUSR))
        letters += QLatin1Char('R');
    if (info.fileName().startsWith(QLatin1Char('.')))
        letters += QLatin1Char('H');
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode))
        letters += QLatin1Char('S');
    if (S_ISREG(st.st_mode))
        letters += QLatin1Char('A');
    return letters;
}

QString timeText(const QDateTime& time)
{
    if (!time.isValid())
        return QStringLiteral("unknown date/time");
    const QDateTime local = time.toLocalTime();
    const QLocale locale;
    return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') + locale.toString(local.time(), QLocale::LongFormat);
}

QString fileHint(const QString& path)
{
    const QFileInfo info(path);
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    const QString folder = PathText::withTrailingSlash(info.absolutePath());
    return QStringLiteral("Size (bytes): \t") + locale.toString(qint64(info.size())) + QStringLiteral("\r\n")
        + QStringLiteral("Attributes: ") + QStringLiteral("\t") + attributeLetters(path) + QStringLiteral("\r\n")
        + QStringLiteral("Created: ") + QStringLiteral("\t") + timeText(info.birthTime()) + QStringLiteral("\r\n")
        + QStringLiteral("Modified: ") + QStringLiteral("\t") + timeText(info.lastModified()) + QStringLiteral("\r\n")
        + QStringLiteral("Location: ") + QStringLiteral("\t") + folder + QStringLiteral("\r\n")
        // Linux file systems keep no short 8.3 names.
        + QStringLiteral("DOS name: ") + QStringLiteral("\t") + QStringLiteral("\r\n")
        + QStringLiteral("Type: ") + QStringLiteral("\t") + FileTypes::typeName(path, info.isDir());
}

} // namespace ConfirmActions
