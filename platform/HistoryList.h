#pragma once
// The history lists of the settings tree (search texts, replacement texts, run parameters,
// file patterns, extensions, masks): string values named by a stem and an index from 0
// without gaps ("MRUFind0", "MRUFind1", ...), stored in alphabetical order.

#include <QString>
#include <QStringList>

class Registry;

class HistoryList {
public:
    // A capped list keeps at most this many items before the new text is added, so it is
    // written back with at most one more.
    static constexpr int kKeptBeforeInsert = 10;

    // Reads stem0, stem1, ... from the key until the first index without a string value.
    // A missing key gives an empty list; nothing is created.
    static QStringList read(Registry& registry, const QString& keyPath, const QString& stem);

    // The list to store when its owner closes: a capped list first loses its eleventh item
    // (position 10), then the current text goes in front and the whole list is sorted
    // ignoring letter case with case-insensitive duplicates dropped (the first one stays).
    // An empty current text adds nothing.
    static QStringList prepared(QStringList items, const QString& currentText, bool capped);

    // Sorts alphabetically ignoring letter case (user's locale) and drops case-insensitive
    // duplicates; among equal items the earliest stays.
    static void sortUnique(QStringList& items);

    // Opens (creating) the key, deletes stem0 ... up to the first missing index, then writes
    // the items as stem0 to stem(n-1). The caller saves the registry.
    static bool write(Registry& registry, const QString& keyPath, const QString& stem, const QStringList& items);

    // Writes the items as stem0 to stem(n-1) without removing anything: values left at
    // higher indexes by a longer list stay (the main window's lists are stored this way).
    static bool overwrite(Registry& registry, const QString& keyPath, const QString& stem, const QStringList& items);

    // The dialogs' own lists, each under the program's settings key in its subkey named by
    // the stem ("Settings\MRUFind"), read from and written to the settings file directly.
    static QString settingsKeyOf(const QString& stem);
    static QStringList load(const QString& settingsFile, const QString& stem);
    // Stores prepared(items, currentText, capped = true) and returns it. A settings file that
    // cannot be read is left alone rather than replaced by this one list.
    static QStringList store(const QString& settingsFile, const QString& stem, const QStringList& items,
                             const QString& currentText);
};
