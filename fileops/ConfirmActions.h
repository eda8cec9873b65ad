#pragma once
// The target confirmation dialog's engine: the controls an action may show (which ones, and
// the form's height, are in the batch action table, fileops/BatchActions), the results the
// main window keeps after every close, the recent-extension list (a history list under
// "MRUEXT") and the file description shown in the icon's hint.

#include <QDateTime>
#include <QFlags>
#include <QString>
#include <QStringList>

enum class ConfirmControl {
    Zip = 0x1,            // PanelZip with its options
    Password = 0x2,
    CreateFolders = 0x4,
    RestorePath = 0x8,
    WarnOverwrite = 0x10,
    FileExt = 0x20,
    Number = 0x40,
    Texts = 0x80,         // EditAppendPre, EditAppendPost
    TextLabels = 0x100,   // "Search Text", "Replace Text"
    DateTime = 0x200,
    Attributes = 0x400,
};
Q_DECLARE_FLAGS(ConfirmControls, ConfirmControl)
Q_DECLARE_OPERATORS_FOR_FLAGS(ConfirmControls)

// The zip options the dialog edits; the zip engine maps them to its own settings.
struct ZipOptions {
    int compression = 0; // 0 Best, 1 Deflate, 2 Stored
    int deflation = 0;   // 0 Normal, 1 Maximum, 2 Fast, 3 Super Fast
    bool stripDrive = false;
    bool stripPath = false;
    bool removeDots = false;
    bool recurse = false;
    bool freshen = false;
    bool replace = false;
    bool dosMode = false;
    qint64 spanThreshold = 0; // 0: one archive
    QString password;
    bool createFolders = true;
    bool restorePath = true;
};

// What the main window keeps from the last showing of the dialog.
struct ConfirmResults {
    QString target; // empty after Cancel
    QString newExtension;
    QString firstNumber;
    QString firstText;
    QString secondText;
    QDateTime dateTime;
    bool readOnly = false;
    bool archive = false;
    bool system = false;
    bool hidden = false;
    bool warnOverwrite = true;
    int extIndex = 0;
    ZipOptions zip;
};

namespace ConfirmActions {

inline constexpr int kZipCollapsedHeight = 223;
inline constexpr int kZipExpandedHeight = 277;
inline constexpr int kZipPanelCollapsed = 75;
inline constexpr int kZipPanelExpanded = 132;

// The recent extensions: "MRUEXT0", "MRUEXT1", ... under the "MRUEXT" key.
QStringList loadExtensions(const QString& settingsPath);
// Puts text first, sorts ignoring case and drops duplicates (no limit; an empty text adds
// nothing), replaces the stored list and writes ExtIndex. Returns the list written.
QStringList saveExtensions(const QString& settingsPath, const QStringList& items, const QString& text, int extIndex);

// The hint of the file icon for one file: size, attributes, times, location, short name and
// type, each on its own line; empty when the file is not there.
QString fileHint(const QString& path);
// "R", "H", "S", "A" for read-only, hidden, system and archive, in that order: the
// attributes the file list's Attr column shows (FolderReader::entryAttributes). Empty when
// the file is not there.
QString attributeLetters(const QString& path);
// Short date, a blank and the long time in local time; "unknown date/time" when invalid.
QString timeText(const QDateTime& time);

} // namespace ConfirmActions
