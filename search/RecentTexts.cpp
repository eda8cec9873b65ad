#include "search/RecentTexts.h"

#include "platform/HistoryList.h"
#include "platform/Registry.h"

QString RecentTexts::keyPath(const QString& stem)
{
    return QStringLiteral("Software\\QuorVel\\Folvane3\\Settings\\") + stem;
}

QStringList RecentTexts::load(const QString& settingsPath, const QString& stem)
{
    Registry registry(settingsPath);
    if (!registry.load())
        return {};
    return HistoryList::read(registry, keyPath(stem), stem);
}

QStringList RecentTexts::save(const QString& settingsPath, const QString& stem, const QStringList& items,
                              const QString& text)
{
    const QStringList list = HistoryList::prepared(items, text, true);
    Registry registry(settingsPath);
    if (registry.load() && HistoryList::write(registry, keyPath(stem), stem, list))
        registry.save();
    return list;
}
