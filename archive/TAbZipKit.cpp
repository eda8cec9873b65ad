#include "TAbZipKit.h"

#include "FileCollector.h"
#include "ZipExtractor.h"
#include "ZipWriter.h"
#include "platform/FileMask.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <sys/stat.h>

namespace {

const QString kNoArchive = QStringLiteral("zip: no archive is open");

} // namespace

TAbZipKit::TAbZipKit() = default;
TAbZipKit::~TAbZipKit() = default;

bool TAbZipKit::fail(const QString& message)
{
    m_error = message;
    return false;
}

bool TAbZipKit::setFileName(const QString& path)
{
    CloseArchive();
    if (path.isEmpty())
        return true;
    m_fileName = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo::exists(m_fileName))
        return true; // a new archive, written by the first Save
    if (!m_reader.open(m_fileName)) {
        m_fileName.clear();
        return fail(m_reader.errorString());
    }
    m_items = m_reader.entries();
    return true;
}

void TAbZipKit::CloseArchive()
{
    m_reader.close();
    m_items.clear();
    m_fileName.clear();
}

bool TAbZipKit::isModified() const
{
    for (const auto& e : m_items)
        if (e.action != ZipEntry::Action::Keep)
            return true;
    return !m_fileName.isEmpty() && !QFileInfo::exists(m_fileName);
}

bool TAbZipKit::AddFiles(const QString& fileMask, int)
{
    m_problems.clear();
    if (m_fileName.isEmpty())
        return fail(kNoArchive);
    FileCollector collector(BaseDirectory, StoreOptions, DOSMode);
    collector.skipFile(m_fileName);
    std::vector<ZipEntry> found;
    if (!collector.collect(fileMask, found))
        return fail(collector.errorString());
    const bool freshen = StoreOptions.testFlag(ZipStoreOption::Freshen);
    const bool replace = StoreOptions.testFlag(ZipStoreOption::Replace);
    QHash<QString, size_t> byName;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].action != ZipEntry::Action::Delete)
            byName.insert(m_items[i].FileName, i);
    for (auto& entry : found) {
        const auto known = byName.constFind(entry.FileName);
        if (known == byName.cend()) {
            // Freshen only updates entries the archive already has.
            if (!freshen) {
                byName.insert(entry.FileName, m_items.size());
                m_items.push_back(std::move(entry));
            }
            continue;
        }
        ZipEntry& same = m_items[*known];
        const bool newer = QFileInfo(entry.sourcePath).lastModified() > same.lastModified().addSecs(1);
        if (replace || (freshen && newer)) {
            entry.action = same.action == ZipEntry::Action::Add ? ZipEntry::Action::Add : ZipEntry::Action::Replace;
            same = std::move(entry);
        } else if (!freshen) {
            m_problems << QStringLiteral("zip: entry '%1': already in the archive, kept").arg(entry.FileName);
        }
    }
    return true;
}

bool TAbZipKit::Save()
{
    m_problems.clear();
    if (m_fileName.isEmpty())
        return fail(kNoArchive);
    if (!isModified())
        return true;
    ZipWriter::Options options;
    options.method = CompressionMethodToUse;
    options.level = deflateLevel(DeflationOption);
    options.password = Password.toStdString();
    options.volumeLimit = SpanningThreshold;
    ZipWriter writer(m_fileName, options);
    writer.onProgress = [this](int percent) {
        bool abort = false;
        if (OnArchiveSaveProgress)
            OnArchiveSaveProgress(percent, abort);
        return !abort;
    };
    writer.onItemProgress = [this](const ZipEntry& e, int percent) {
        bool abort = false;
        if (OnArchiveItemProgress)
            OnArchiveItemProgress(e, percent, abort);
        return !abort;
    };
    if (!writer.write(m_items, m_reader.isOpen() ? &m_reader : nullptr))
        return fail(writer.errorString());
    const QString name = m_fileName;
    return setFileName(name);
}

QString TAbZipKit::extractionFolder() const
{
    // With no base directory, files go beside the archive.
    return BaseDirectory.isEmpty() ? QFileInfo(m_fileName).absolutePath() : BaseDirectory;
}

bool TAbZipKit::extractWhere(const std::function<bool(const ZipEntry&)>& wanted)
{
    m_problems.clear();
    m_skipped.clear();
    if (!m_reader.isOpen())
        return fail(kNoArchive);
    const ZipExtractor::Callbacks callbacks{OnConfirmOverwrite, OnNeedPassword, [this](const ZipEntry& e, int percent) {
        bool abort = false;
        if (OnArchiveItemProgress)
            OnArchiveItemProgress(e, percent, abort);
        return !abort;
    }};
    ZipExtractor extractor(m_reader, ExtractOptions, Password, callbacks);
    if (!extractor.open(extractionFolder()))
        return fail(extractor.errorString());
    const auto& entries = m_reader.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!wanted(m_items[i]))
            continue;
        extractor.extract(entries[i]);
        bool abort = extractor.aborted();
        if (OnArchiveProgress)
            OnArchiveProgress(int(100 * (i + 1) / entries.size()), abort);
        if (abort) {
            m_problems = extractor.problems();
            m_skipped = extractor.skipped();
            return fail(QStringLiteral("zip: aborted"));
        }
    }
    m_problems = extractor.problems();
    m_skipped = extractor.skipped();
    if (!m_problems.isEmpty())
        return fail(QStringLiteral("zip: %1 of the entries could not be extracted").arg(m_problems.size()));
    return true;
}

namespace {

QString entryFileName(const ZipEntry& e)
{
    QString name = e.FileName;
    if (name.endsWith(QLatin1Char('/')))
        name.chop(1);
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

bool entryMatches(const ZipEntry& e, const QString& mask)
{
    return matchesMask(entryFileName(e), mask) || matchesMask(e.FileName, mask);
}

} // namespace

bool TAbZipKit::ExtractFilesEx(const QString& fileMask, const QString& exclusionMask)
{
    return extractWhere([&](const ZipEntry& e) {
        return entryMatches(e, fileMask) && (exclusionMask.isEmpty() || !entryMatches(e, exclusionMask));
    });
}

bool TAbZipKit::ExtractTaggedItems()
{
    return extractWhere([](const ZipEntry& e) { return e.Tagged; });
}

void TAbZipKit::DeleteTaggedItems()
{
    for (auto& e : m_items)
        if (e.Tagged)
            e.action = ZipEntry::Action::Delete;
}

void TAbZipKit::FreshenTaggedItems()
{
    // A tagged entry is replaced by the file it came from (relative to the base
    // directory) when that file is newer than the entry.
    for (auto& e : m_items) {
        if (!e.Tagged || e.isDirectory() || e.action == ZipEntry::Action::Delete)
            continue;
        const QFileInfo source(BaseDirectory.isEmpty() ? e.FileName : BaseDirectory + QLatin1Char('/') + e.FileName);
        if (!source.isFile() || source.lastModified() <= e.lastModified().addSecs(1))
            continue;
        FileCollector collector(BaseDirectory, StoreOptions, DOSMode);
        ZipEntry fresh;
        std::vector<ZipEntry> found;
        if (collector.collect(source.absoluteFilePath(), found) && found.size() == 1) {
            found[0].FileName = e.FileName;
            found[0].header.name = e.header.name;
            found[0].action = e.action == ZipEntry::Action::Add ? ZipEntry::Action::Add : ZipEntry::Action::Replace;
            found[0].Tagged = true;
            e = std::move(found[0]);
        }
    }
}

void TAbZipKit::TagItems(const QString& fileMask)
{
    for (auto& e : m_items)
        if (entryMatches(e, fileMask))
            e.Tagged = true;
}

void TAbZipKit::ClearTags()
{
    for (auto& e : m_items)
        e.Tagged = false;
}

bool matchesMask(const QString& name, const QString& mask)
{
    // Blanks around the ";" are allowed here, and an empty mask takes nothing (so that an
    // empty exclusion mask excludes nothing).
    QStringList parts;
    for (const QString& part : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    }
    return !parts.isEmpty() && FileMask(parts.join(QLatin1Char(';'))).matches(name);
}

bool IsZipFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.read(4) == QByteArray("PK\x03\x04", 4);
}

bool IsZipEncrypted(const QString& path)
{
    if (!IsZipFile(path))
        return false;
    TAbZipKit probe;
    return probe.setFileName(path) && probe.Count() > 0 && probe.IsEncrypted(0);
}
