#include "fileops/ConfirmActions.h"

#include "browse/FolderReader.h"
#include "platform/FileProperties.h"
#include "platform/HistoryList.h"
#include "platform/PathText.h"
#include "platform/Registry.h"

#include <QLocale>

#include <utility>

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
    const std::optional<uint32_t> attributes = FolderReader::entryAttributes(path);
    if (!attributes)
        return QString();
    QString letters;
    for (const auto& [bit, letter] : {std::pair{FileAttribute::ReadOnly, 'R'}, std::pair{FileAttribute::Hidden, 'H'},
                                      std::pair{FileAttribute::System, 'S'}, std::pair{FileAttribute::Archive, 'A'}}) {
        if (*attributes & bit)
            letters += QLatin1Char(letter);
    }
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
    const Result<FileProperties> file = FileProperties::read(path);
    if (!file)
        return QString();
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return QStringLiteral("Size (bytes): \t") + locale.toString(qint64(file->size)) + QStringLiteral("\r\n")
        + QStringLiteral("Attributes: ") + QStringLiteral("\t") + attributeLetters(path) + QStringLiteral("\r\n")
        + QStringLiteral("Created: ") + QStringLiteral("\t") + timeText(file->created) + QStringLiteral("\r\n")
        + QStringLiteral("Modified: ") + QStringLiteral("\t") + timeText(file->modified) + QStringLiteral("\r\n")
        + QStringLiteral("Location: ") + QStringLiteral("\t") + PathText::withTrailingSlash(PathText::folderOf(path))
        + QStringLiteral("\r\n")
        // Linux file systems keep no short 8.3 names.
        + QStringLiteral("DOS name: ") + QStringLiteral("\t") + QStringLiteral("\r\n")
        + QStringLiteral("Type: ") + QStringLiteral("\t") + file->typeName;
}

} // namespace ConfirmActions
