#include "app/OptionsRules.h"

#include "platform/HistoryList.h"
#include "platform/Registry.h"

#include <iterator>

namespace {

constexpr int kDefaultTabSize = 8;
constexpr int kTabSizeLimit = 256;
constexpr int kDefaultWrapColumn = 80;

const OptionsRules::StoredList kLists[] = {
    {"File Masks (file manager)", "Mask"},
    {"Paths (file manager) ", "MRUPath"},
    {"File Extensions (File tools)", "MRUEXT"},
    {"Find strings (search dialog & search-replace text editor)", "MRUFind"},
    {"Find file (search dialog)", "MRUFindFile"},
    {"Replace (search-replace text editor)", "MRURepl"},
    {"Run program (parameters) ", "MRURun"},
};

int fieldValue(const QString& field)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok);
    return ok ? value : 0;
}

} // namespace

int OptionsRules::appliedTabSize(const QString& field)
{
    const int size = fieldValue(field);
    return size <= 0 || size >= kTabSizeLimit ? kDefaultTabSize : size;
}

int OptionsRules::appliedWrapColumn(const QString& field)
{
    const int column = fieldValue(field);
    return column <= 0 ? kDefaultWrapColumn : column;
}

QString OptionsRules::spinDelayLabel(int milliseconds)
{
    return QLatin1Char('~') + QString::asprintf("%2.1f", milliseconds / 1000.0) + QStringLiteral(" seconds");
}

std::span<const OptionsRules::StoredList> OptionsRules::storedLists()
{
    return kLists;
}

QStringList OptionsRules::loadList(const QString& settingsFile, int list)
{
    return HistoryList::load(settingsFile, QLatin1String(kLists[list].stem));
}

QStringList OptionsRules::saveList(const QString& settingsFile, int list, const QStringList& lines, AppSettings& settings,
                                   bool* ok)
{
    QStringList items = lines;
    if (list == Masks) {
        HistoryList::sortUnique(items);
        settings.masks = items;
        settings.maskIndex = qBound(-1, settings.maskIndex, int(items.size()) - 1);
    } else if (list == Paths) {
        settings.mruPaths = items;
    }
    const QString stem = QLatin1String(kLists[list].stem);
    const QString key = HistoryList::settingsKeyOf(stem);
    Registry registry(settingsFile);
    *ok = registry.load() && (!registry.keyExists(key) || registry.deleteKey(key))
          && HistoryList::write(registry, key, stem, items) && registry.save();
    return items;
}
