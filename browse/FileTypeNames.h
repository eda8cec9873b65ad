#pragma once
// Type names of files and folders for the file list. The default source is the platform's
// type service (platform/FileTypes.h: the shared MIME database by file name only, so no
// file is opened), with a cache in front keyed by the part of the name after its first dot,
// so that a folder of 100,000 ".txt" files costs one lookup and no allocation per row.
// The browse panes ask through this interface so that a fake in tests can take its place.

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

class PlatformTypeNames : public FileTypeNames {
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
