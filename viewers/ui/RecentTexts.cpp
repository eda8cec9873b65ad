#include "viewers/ui/RecentTexts.h"

#include "platform/HistoryList.h"

#include <QComboBox>

namespace RecentTexts {

const char* const kFind = "MRUFind";
const char* const kReplace = "MRURepl";

QStringList load(const QString& settingsFile, const char* stem)
{
    return HistoryList::load(settingsFile, QLatin1String(stem));
}

int save(const QString& settingsFile, const char* stem, const QComboBox& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items.append(box.itemText(i));
    const QStringList stored = HistoryList::store(settingsFile, QLatin1String(stem), items, box.currentText());
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
