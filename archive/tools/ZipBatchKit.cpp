#include "archive/tools/ZipBatchKit.h"

#include "archive/tools/ZipQuestions.h"
#include "fileops/BatchLoop.h"
#include "platform/PathText.h"
#include "platform/UiThread.h"

namespace {

constexpr ZipCompressionMethod kMethods[] = {ZipCompressionMethod::Best, ZipCompressionMethod::Deflated,
                                             ZipCompressionMethod::Stored};
// The dialog's order: "Normal", "Maximum", "Fast", "Super Fast".
constexpr ZipDeflation kDeflations[] = {ZipDeflation::Maximum, ZipDeflation::Normal, ZipDeflation::Fast,
                                        ZipDeflation::SuperFast};

template <typename T, size_t N>
int indexOf(const T (&table)[N], T value)
{
    for (size_t i = 0; i < N; ++i) {
        if (table[i] == value)
            return int(i);
    }
    return 0;
}

template <typename T, size_t N>
T at(const T (&table)[N], int index)
{
    return table[index >= 0 && size_t(index) < N ? size_t(index) : 0];
}

const QString kDone = QStringLiteral("... done, please wait...");

} // namespace

void ApplyZipOptions(const ZipOptions& o, TAbZipKit& kit)
{
    kit.CompressionMethodToUse = at(kMethods, o.compression);
    kit.DeflationOption = at(kDeflations, o.deflation);
    kit.SpanningThreshold = uint64_t(std::max<qint64>(o.spanThreshold, 0));
    ZipStoreOptions store;
    store.setFlag(ZipStoreOption::StripDrive, o.stripDrive);
    store.setFlag(ZipStoreOption::StripPath, o.stripPath);
    store.setFlag(ZipStoreOption::RemoveDots, o.removeDots);
    store.setFlag(ZipStoreOption::Recurse, o.recurse);
    store.setFlag(ZipStoreOption::Freshen, o.freshen);
    store.setFlag(ZipStoreOption::Replace, o.replace);
    kit.StoreOptions = store;
    kit.DOSMode = o.dosMode;
    kit.Password = o.password;
    ZipExtractOptions extract;
    extract.setFlag(ZipExtractOption::CreateDirs, o.createFolders);
    extract.setFlag(ZipExtractOption::RestorePath, o.restorePath);
    kit.ExtractOptions = extract;
}

ZipOptions ZipOptionsOf(const TAbZipKit& kit)
{
    ZipOptions o;
    o.compression = indexOf(kMethods, kit.CompressionMethodToUse);
    o.deflation = indexOf(kDeflations, kit.DeflationOption);
    o.spanThreshold = qint64(kit.SpanningThreshold);
    o.stripDrive = kit.StoreOptions.testFlag(ZipStoreOption::StripDrive);
    o.stripPath = kit.StoreOptions.testFlag(ZipStoreOption::StripPath);
    o.removeDots = kit.StoreOptions.testFlag(ZipStoreOption::RemoveDots);
    o.recurse = kit.StoreOptions.testFlag(ZipStoreOption::Recurse);
    o.freshen = kit.StoreOptions.testFlag(ZipStoreOption::Freshen);
    o.replace = kit.StoreOptions.testFlag(ZipStoreOption::Replace);
    o.dosMode = kit.DOSMode;
    o.password = kit.Password;
    o.createFolders = kit.ExtractOptions.testFlag(ZipExtractOption::CreateDirs);
    o.restorePath = kit.ExtractOptions.testFlag(ZipExtractOption::RestorePath);
    return o;
}

ZipBatchKit::ZipBatchKit(const ConfirmResults& options) : m_warnOverwrite(options.warnOverwrite)
{
    ApplyZipOptions(options.zip, m_kit);
    wireEvents();
}

bool ZipBatchKit::cancelled() const
{
    return m_loop && m_loop->isCancelled();
}

void ZipBatchKit::wireEvents()
{
    m_kit.OnArchiveProgress = [this](int percent, bool& abort) {
        abort = cancelled();
        if (abort || !m_loop)
            return;
        m_loop->setOverallPercent(percent);
        m_loop->setProgressText(percent >= 100 ? QStringLiteral("Process complete...") : QStringLiteral("Processing..."));
    };
    m_kit.OnArchiveItemProgress = [this](const ZipEntry& item, int percent, bool& abort) {
        abort = cancelled();
        if (abort || !m_loop)
            return;
        m_loop->setItemPercent(percent);
        const QString name = PathText::nameOf(item.FileName.endsWith(QLatin1Char('/')) ? item.FileName.chopped(1) : item.FileName);
        m_loop->setItemText(percent >= 100 ? name + kDone : name + QStringLiteral(" ..."));
    };
    m_kit.OnArchiveSaveProgress = [this](int percent, bool& abort) {
        abort = cancelled();
        if (abort || !m_loop)
            return;
        m_loop->setItemPercent(percent);
        m_loop->setItemText(percent >= 100 ? kDone : QStringLiteral("Saving Zip file..."));
    };
    m_kit.OnNeedPassword = [](QString& password) { RunOnUiThread([&] { ZipQuestions::needPassword(password); }); };
    m_kit.OnConfirmOverwrite = [this](QString& name, bool& confirm) {
        bool warn = m_warnOverwrite;
        RunOnUiThread([&] { ZipQuestions::confirmOverwrite(name, confirm, warn); });
        m_warnOverwrite = warn;
    };
}
