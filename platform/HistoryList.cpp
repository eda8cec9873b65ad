#include "platform/HistoryList.h"

#include "platform/Registry.h"

#include <QCollator>

#include <algorithm>

QStringList HistoryList::read(Registry& registry, const QString& keyPath, const QString& stem)
{
    QStringList items;
    if (!registry.openKey(keyPath, false))
        return items;
    for (int i = 0;; ++i) {
        const auto item = registry.readString(stem + QString::number(i));
        if (!item)
            break;
        items.append(*item);
    }
    registry.closeKey();
    return items;
}

QStringList HistoryList::prepared(QStringList items, const QString& currentText, bool capped)
{
    if (capped && items.size() > kKeptBeforeInsert)
        items.removeAt(kKeptBeforeInsert);
    if (!currentText.isEmpty())
        items.prepend(currentText);
    sortUnique(items);
    return items;
}

void HistoryList::sortUnique(QStringList& items)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(items.begin(), items.end(), [&](const QString& a, const QString& b) {
        const int byLocale = collator.compare(a, b);
        return byLocale != 0 ? byLocale < 0 : a.compare(b, Qt::CaseInsensitive) < 0;
    });
    const auto sameIgnoringCase = [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    };
    items.erase(std::unique(items.begin(), items.end(), sameIgnoringCase), items.end());
}

bool HistoryList::write(Registry& registry, const QString& keyPath, const QString& stem, const QStringList& items)
{
    if (!registry.openKey(keyPath, true))
        return false;
    for (int i = 0; registry.deleteValue(stem + QString::number(i)); ++i) {
    }
    registry.closeKey();
    return overwrite(registry, keyPath, stem, items);
}

bool HistoryList::overwrite(Registry& registry, const QString& keyPath, const QString& stem, const QStringList& items)
{
    if (!registry.openKey(keyPath, true))
        return false;
    for (qsizetype i = 0; i < items.size(); ++i)
        registry.writeString(stem + QString::number(i), items[i]);
    registry.closeKey();
    return true;
}

QString HistoryList::settingsKeyOf(const QString& stem)
{
    return QStringLiteral("Software\\QuorVel\\Folvane3\\Settings\\") + stem;
}

QStringList HistoryList::load(const QString& settingsFile, const QString& stem)
{
    Registry registry(settingsFile);
    if (!registry.load())
        return {};
    return read(registry, settingsKeyOf(stem), stem);
}

QStringList HistoryList::store(const QString& settingsFile, const QString& stem, const QStringList& items,
                               const QString& currentText)
{
    const QStringList list = prepared(items, currentText, true);
    Registry registry(settingsFile);
    if (registry.load() && write(registry, settingsKeyOf(stem), stem, list))
        registry.save();
    return list;
}
