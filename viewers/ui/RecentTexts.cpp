#include "viewers/ui/RecentTexts.h"

#include "platform/HistoryList.h"
#include "platform/Registry.h"

#include <QComboBox>

namespace RecentTexts {

const char* const kFind = "MRUFind";
const char* const kReplace = "MRURepl";

namespace {
QString keyOf(const char* stem)
{
    return QStringLiteral("Software\\QuorVel\\Folvane3\\Settings\\") + QLatin1String(stem);
}
} // namespace

QStringList load(const QString& settingsFile, const char* stem)
{
    Registry registry(settingsFile);
    if (!registry.load())
        return {};
    return HistoryList::read(registry, keyOf(stem), QLatin1String(stem));
}

int save(const QString& settingsFile, const char* stem, const QComboBox& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i));
    const QStringList stored = HistoryList::prepared(items, box.currentText(), true);
    Registry registry(settingsFile);
    // A store that cannot be read is left alone rather than replaced by this one list.
    if (registry.load()) {
        HistoryList::write(registry, keyOf(stem), QLatin1String(stem), stored);
        registry.save();
    }
    return box.currentText().isEmpty() ? -1 : int(stored.indexOf(box.currentText()));
}

void fill(QComboBox& box, const QStringList& items, int index)
{
    box.clear();
    box.addItems(items);
    if (index >= 0 && index < items.size())
        box.setCurrentIndex(index);
    else
        box.setEditText(items.isEmpty() ? QString() : items.first());
}

} // namespace RecentTexts
