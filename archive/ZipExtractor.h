#pragma once
// Extracts entries of an open archive into a folder, treating the archive as hostile: names
// that would leave the folder and links that point out of it are refused and reported,
// every file is checked against its CRC and size before it appears under its name, and a
// failure (wrong password, damage, full disk) leaves nothing half-written behind.

#include "ZipEntry.h"
#include "ZipOptions.h"
#include "io/SafeTarget.h"

#include <QStringList>
#include <QTimeZone>

#include <functional>
#include <sys/types.h>

class ZipReader;

class ZipExtractor {
public:
    struct Callbacks {
        std::function<void(QString& name, bool& confirm)> confirmOverwrite;
        std::function<void(QString& password)> needPassword;
        std::function<bool(const ZipEntry&, int)> itemProgress; // false aborts
    };

    ZipExtractor(ZipReader& reader, ZipExtractOptions options, QString& password, const Callbacks& callbacks)
        : m_reader(reader), m_options(options), m_password(password), m_callbacks(callbacks) {}

    // False with errorString() when the folder cannot be opened.
    bool open(const QString& folder);
    QString errorString() const { return m_error; }
    // Extracts one entry; false when it could not be (the reason is in problems(), one
    // "zip: entry 'name': why" line per entry).
    bool extract(const ZipEntry& entry);
    const QStringList& problems() const { return m_problems; }
    // Paths of existing files kept because nobody agreed to replace them (no overwrite
    // handler, or renamed answers that kept naming existing files).
    const QStringList& skipped() const { return m_skipped; }
    bool aborted() const { return m_aborted; }

private:
    bool extractFile(const ZipEntry& entry, int folderFd, QString name);
    bool extractLink(const ZipEntry& entry, int folderFd, QString name, const QStringList& parts);
    // Whether an entry may be written under name: free, or an existing file or link the user
    // agreed to replace (the answer may give another name, which is checked in turn); Keep
    // when the user said no or nobody could be asked (recorded in skipped()), Refused
    // (reported) when a folder has the name.
    enum class Claim { Write, Keep, Refused };
    Claim claimName(const ZipEntry& entry, int folderFd, QString& name);
    using ByteSink = std::function<bool(const uint8_t*, size_t)>;
    // One read of the entry; on a missing or wrong password, retry tells whether a new
    // password was given and the caller should start over.
    bool readEntry(const ZipEntry& entry, const ByteSink& sink, int& sinkErrno, bool& retry, int attempt);
    bool readerProblem();
    bool retryWithPassword(int attempt);
    uint32_t fileMode(const ZipEntry& entry) const;
    bool problem(const ZipEntry& entry, const QString& why);
    QString targetPath(const QString& name) const;

    ZipReader& m_reader;
    ZipExtractOptions m_options;
    QString& m_password;
    const Callbacks& m_callbacks;
    zipio::SafeTarget m_target;
    zipio::UniqueFd m_folder;
    QStringList m_folderParts;
    QStringList m_problems;
    QStringList m_skipped;
    QString m_error;
    mode_t m_umask = 022;
    // Stored DOS times are local; the zone is looked up once per extraction.
    QTimeZone m_zone;
    bool m_aborted = false;
};
