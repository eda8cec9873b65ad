#pragma once
// The recent texts of the search boxes in the settings tree: "MRUFindFile" (file name
// patterns) and "MRUFind" (content texts, the same list as the text find dialog's), each
// under its own subkey with values named by the stem and an index from 0.

#include <QString>
#include <QStringList>

class RecentTexts {
public:
    static inline const QString kNames = QStringLiteral("MRUFindFile");
    static inline const QString kContents = QStringLiteral("MRUFind");

    // The stored list in index order; empty when the store or the subkey is missing.
    static QStringList load(const QString& settingsPath, const QString& stem);
    // The recent-text upkeep when a search starts or the dialog closes: drop the eleventh
    // item, put text first, sort and drop duplicates ignoring case, and rewrite the values.
    // Returns the new list for the box. A store that cannot be read is left alone.
    static QStringList save(const QString& settingsPath, const QString& stem, const QStringList& items,
                            const QString& text);

    static QString keyPath(const QString& stem);
};
