#pragma once
// Reads and writes AppSettings in the settings tree, key "Software\QuorVel\Folvane3\Settings"
// and its subkeys, in the order the program has always used, with its repair rule: any
// integer or boolean value that is missing or stored under another type (or a string stored
// under another type) ends the load there, and the whole state is written back at once, so
// values read before the fault keep what was read and the others get their defaults.
//
// The values come in groups (SettingsGroup), one per key, each the table of the component
// that owns the values: the window's program key (WindowSettings), the editor's "Editor",
// the viewer's "Viewer", the options' "Options" (OptionsSettings). A store starts with the
// program's groups in their stored order; the history lists and their indexes follow them.
// groups() lists them for whoever shows or edits them by table (the options dialog).
//
// Each load() and save() works on a fresh copy of the file (load, change, atomic save).
// A settings file that cannot be parsed is never overwritten: it is kept beside the new one
// as "<file>.damaged" and the fault is reported.

#include "app/AppSettings.h"
#include "app/SettingsGroup.h"

#include <QString>

class Registry;

class SettingsStore {
public:
    static const QString kProgramKey;
    static QString subkeyPath(const QString& subkey);

    struct LoadResult {
        bool firstRun = false;   // the program key was missing and has been created
        bool repaired = false;   // a value was missing or mistyped; the state was written back
        QString failedValue;     // the value whose read ended the load, when repaired
        QString error;           // a damaged or unreadable file, or a failed write, to report
    };

    // title and program are the name and the executable of the automatic-start entry.
    explicit SettingsStore(const QString& filePath, const QString& title = QString(),
                           const QString& program = QString());

    // The program's groups in reading order: the program key, "Editor", "Viewer", "Options".
    static std::vector<SettingsGroup> programGroups();
    // Adds a group, read and written after those already registered.
    void registerGroup(SettingsGroup group);
    const std::vector<SettingsGroup>& groups() const { return m_groups; }
    // When the recent folders are checked for folders that are gone: while loading, or later
    // by the caller (off its thread: FolderChecks).
    enum class FolderCheck { WhileLoading, Later };

    // LoadSettings: fills settings (which starts as the window's current state) from the store.
    LoadResult load(AppSettings& settings, FolderCheck recentFolders = FolderCheck::WhileLoading) const;

    // SaveSettings: writes every value, the recent folders, the masks and the list indexes,
    // then sets the automatic-start entry. False with errorString() when the file could not
    // be written; the automatic-start entry failing for lack of rights is not an error.
    bool save(const AppSettings& settings) const;
    QString errorString() const { return m_error; }

    // The band layout of a mode; nullopt when missing or not a byte block.
    std::optional<QByteArray> loadBandLayout(int mode) const;
    bool saveBandLayout(int mode, const QByteArray& record) const;

    const QString& filePath() const { return m_filePath; }

private:
    bool openStore(Registry& registry) const;

    std::vector<SettingsGroup> m_groups;
    QString m_filePath;
    QString m_title;
    QString m_program;
    mutable QString m_error;
};
