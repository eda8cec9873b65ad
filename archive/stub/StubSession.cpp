#include "StubSession.h"

int StubSession::run(const QString& selfPath, const QString& folder, QString& error, int& extracted)
{
    TAbZipKit zip;
    if (!zip.setFileName(selfPath) || zip.Count() == 0) {
        error = zip.errorString().isEmpty() ? QStringLiteral("No archive is attached to this program.") : zip.errorString();
        return 1;
    }
    zip.BaseDirectory = folder;
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    zip.OnNeedPassword = askPassword;
    zip.OnConfirmOverwrite = confirmOverwrite;
    const bool ok = zip.ExtractFiles(QStringLiteral("*"));
    extracted = zip.Count() - int(zip.problems().size());
    if (!ok) {
        error = zip.errorString() + QLatin1Char('\n') + zip.problems().join(QLatin1Char('\n'));
        return 1;
    }
    return 0;
}
