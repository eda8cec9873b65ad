#pragma once
// The program's zip engine. It holds at most one open archive (FileName), keeps changes in
// memory until Save (AutoSave is off), and asks the program through its events: progress
// with Abort, overwrite confirmation and the password. Errors come back as false from the
// operation, with errorString() and the per-entry problems() (refused names, wrong
// passwords, CRC mismatches) of the last operation.
//
// The whole archive library reports errors one way: an operation returns false (or a
// status), and the object it was called on keeps the reason in errorString(). Messages
// name the component and what failed: "zip: entry 'a.txt': CRC mismatch, the data is
// damaged", "zip: cannot open /x.zip: no end of central directory record ...".

#include "ZipEntry.h"
#include "ZipOptions.h"
#include "ZipReader.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class TAbZipKit {
public:
    TAbZipKit();
    ~TAbZipKit();

    // Properties.
    QString FileName() const { return m_fileName; }
    // Opens an existing archive or starts a new one of that name; an empty name closes.
    bool setFileName(const QString& path);
    QString BaseDirectory;
    ZipCompressionMethod CompressionMethodToUse = ZipCompressionMethod::Best;
    ZipDeflation DeflationOption = ZipDeflation::Normal;
    uint64_t SpanningThreshold = 0;
    ZipStoreOptions StoreOptions;
    bool DOSMode = false;
    QString Password;
    ZipExtractOptions ExtractOptions;

    // Events. Progress events get a percent and may set Abort.
    std::function<void(int progress, bool& abort)> OnArchiveProgress;
    std::function<void(int progress, bool& abort)> OnArchiveSaveProgress;
    std::function<void(const ZipEntry& item, int progress, bool& abort)> OnArchiveItemProgress;
    std::function<void(QString& name, bool& confirm)> OnConfirmOverwrite;
    std::function<void(QString& newPassword)> OnNeedPassword;

    // Operations.
    bool AddFiles(const QString& fileMask, int searchAttr = 0);
    bool Save();
    void CloseArchive();
    bool ExtractFiles(const QString& fileMask) { return ExtractFilesEx(fileMask, QString()); }
    bool ExtractFilesEx(const QString& fileMask, const QString& exclusionMask);
    bool ExtractTaggedItems();
    void DeleteTaggedItems();
    void FreshenTaggedItems();
    void TagItems(const QString& fileMask);
    void ClearTags();

    int Count() const { return int(m_items.size()); }
    ZipEntry& Items(int index) { return m_items[size_t(index)]; }
    const ZipEntry& Items(int index) const { return m_items[size_t(index)]; }
    bool IsEncrypted(int index) const { return m_items[size_t(index)].IsEncrypted(); }
    bool isModified() const;

    QString errorString() const { return m_error; }
    QStringList problems() const { return m_problems; }
    // Existing files the last extraction kept: with no OnConfirmOverwrite nothing is
    // replaced, and each file left in place is listed here by its path.
    QStringList skipped() const { return m_skipped; }

    // Writes stub + archive to target with every offset moved up by the stub's length.
    // The stub must be an executable of this platform (ELF) and the archive must begin
    // with "PK". Works on the given files, not on the open archive.
    bool MakeSelfExtracting(const QString& stubPath, const QString& archivePath, const QString& targetPath);

private:
    bool extractWhere(const std::function<bool(const ZipEntry&)>& wanted);
    bool fail(const QString& message);
    QString extractionFolder() const;

    QString m_fileName;
    ZipReader m_reader;
    std::vector<ZipEntry> m_items;
    QString m_error;
    QStringList m_problems;
    QStringList m_skipped;
};

// The first four bytes are "PK", 3, 4.
bool IsZipFile(const QString& path);
// IsZipFile holds and the archive's first entry is encrypted.
bool IsZipEncrypted(const QString& path);
// Case-insensitive mask with * and ? (and several masks separated by ';').
bool matchesMask(const QString& name, const QString& mask);
