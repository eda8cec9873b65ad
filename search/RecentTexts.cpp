#include "search/RecentTexts.h"

#include "platform/HistoryList.h"

QString RecentTexts::keyPath(const QString& stem)
{
    return HistoryList::settingsKeyOf(stem);
}

QStringList RecentTexts::load(const QString& settingsPath, const QString& stem)
{
    return HistoryList::load(settingsPath, stem);
}

QStringList RecentTexts::save(const QString& settingsPath, const QString& stem, const QStringList& items,
                              const QString& text)
{
    return HistoryList::store(settingsPath, stem, items, text);
}
