#include "StubSession.h"

bool StubSession::run(const QString& selfPath, const QString& folder)
{
    TAbZipKit zip;
    m_extracted = 0;
    if (!zip.setFileName(selfPath) || zip.Count() == 0) {
        m_error = zip.errorString().isEmpty() ? QStringLiteral("No archive is attached to this program.") : zip.errorString();
        return false;
    }
    zip.BaseDirectory = folder;
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    zip.OnNeedPassword = askPassword;
    zip.OnConfirmOverwrite = confirmOverwrite;
    const bool ok = zip.ExtractFiles(QStringLiteral("*"));
    m_extracted = zip.Count() - int(zip.problems().size());
    if (!ok) {
        m_error = zip.errorString() + QLatin1Char('\n') + zip.problems().join(QLatin1Char('\n'));
        return false;
    }
    return true;
}
