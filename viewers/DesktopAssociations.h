#pragma once
// Which program the desktop opens a file with, decided in process before anything is
// started: the file's shared MIME type, then the default handler from the mimeapps.list
// files (the user's, the desktop's, the system's, in the order of the freedesktop
// mime-apps standard), then the desktop entries that list the type, walking from
// the type to its parent types. Everything is read once and the answers are cached, so a
// View costs no process and no shell script per file.
//
// A handler that is this program itself counts as none (opening a file here would start
// the program again, which would hand it on again).

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <optional>

class DesktopAssociations {
public:
    struct Folders {
        QStringList config; // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS
        QStringList data;   // $XDG_DATA_HOME, then $XDG_DATA_DIRS
        QStringList desktops; // $XDG_CURRENT_DESKTOP, lower-cased, in order
    };

    // Reads the associations under the given folders.
    explicit DesktopAssociations(const Folders& folders);
    // The folders of the environment.
    static Folders environmentFolders();
    // The process-wide associations of the environment, read on first use (thread-safe).
    static DesktopAssociations& instance();

    // The desktop id ("org.example.Viewer.desktop") of the default handler of mimeType or,
    // failing that, of its nearest parent type that has one; empty when none.
    QString handlerForType(const QString& mimeType) const;
    // The handler of a file of that name whose first bytes are head.
    QString handlerForFile(const QString& fileName, const QByteArray& head) const;
    // The full path of an installed desktop entry, empty when the id is not installed.
    QString entryPath(const QString& desktopId) const;

private:
    struct Lists {
        QHash<QString, QStringList> defaults;
        QHash<QString, QStringList> added;
        QHash<QString, QStringList> removed;
    };
    struct Entry {
        QString path;
        QStringList mimeTypes;
        bool self = false;
    };

    void readLists(const Folders& folders);
    void readEntries(const QStringList& dataFolders);
    void scanApplications(const QString& folder, const QString& prefix, int depth);
    // The handler the lists and entries give for exactly this type: an id, an empty id when
    // the choice is this program (the search ends: no handler), nullopt when undecided.
    std::optional<QString> handlerForOneType(const QString& mimeType) const;
    bool usable(const QString& id, const QString& mimeType) const;

    Lists m_lists;
    QHash<QString, Entry> m_entries;           // by desktop id; the first folder wins
    QHash<QString, QStringList> m_entriesByType; // ids listing the type, in folder order
    mutable QMutex m_cacheLock;
    mutable QHash<QString, QString> m_cache;
};
