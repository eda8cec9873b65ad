#pragma once
// Type names of files and folders ("plain text document", "folder") as the desktop names
// them, from the shared MIME database by file name only (no file is opened, so listing a
// folder of FIFOs or a slow mount reads nothing). Names are cached by the part of the name
// after its first dot, so a folder of 100,000 ".txt" files asks the database once.
//
// The browse panes ask through this interface so that the platform's own service, or a
// fake in tests, can take its place.

#include <QHash>
#include <QString>

class FileTypeNames {
public:
    virtual ~FileTypeNames();
    virtual QString typeName(const QString& fileName, bool isFolder) = 0;

    // The process-wide source; a MIME-database one until another is installed.
    static FileTypeNames& instance();
    static void setInstance(FileTypeNames* source);
};

class MimeTypeNames : public FileTypeNames {
public:
    QString typeName(const QString& fileName, bool isFolder) override;

private:
    struct Recent {
        QString key;
        QString name;
    };
    QString lookUp(QStringView key, const QString& fileName);

    QHash<QString, QString> m_bySuffix;
    Recent m_recent[4]; // the last keys asked, compared without allocating
    unsigned m_next = 0;
    QString m_folder;
};
