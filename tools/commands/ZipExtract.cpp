// fvtool unzip: extracts every entry of an archive into a folder, creating folders and
// restoring the stored paths; refused or damaged entries are listed and fail the run. An
// existing file is kept (listed, and the run fails) unless --overwrite is given.
#include "Command.h"

#include "archive/TAbZipKit.h"

#include <QDir>
#include <QFileInfo>

namespace {

int runUnzip(const QStringList& args)
{
    TAbZipKit zip;
    QString exclude;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--password") && i + 1 < args.size())
            zip.Password = args[++i];
        else if (args[i] == QLatin1String("--exclude") && i + 1 < args.size())
            exclude = args[++i];
        else if (args[i] == QLatin1String("--overwrite"))
            zip.OnConfirmOverwrite = [](QString&, bool& confirm) { confirm = true; };
        else if (args[i].startsWith(QLatin1String("--"))) {
            fvtool::err(QStringLiteral("unzip: unknown option %1").arg(args[i]));
            return 2;
        } else
            positional << args[i];
    }
    if (positional.size() != 2) {
        fvtool::err(QStringLiteral("usage: fvtool unzip ARCHIVE DIR [--password P] [--exclude MASK] [--overwrite]"));
        return 2;
    }
    if (!QFileInfo(positional[0]).isFile()) {
        fvtool::err(QStringLiteral("unzip: %1 does not exist").arg(positional[0]));
        return 1;
    }
    if (!zip.setFileName(positional[0])) {
        fvtool::err(zip.errorString());
        return 1;
    }
    if (!QDir().mkpath(positional[1])) {
        fvtool::err(QStringLiteral("unzip: cannot create %1").arg(positional[1]));
        return 1;
    }
    zip.BaseDirectory = positional[1];
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    const bool ok = zip.ExtractFilesEx(QStringLiteral("*"), exclude);
    for (const QString& problem : zip.problems())
        fvtool::err(problem);
    for (const QString& kept : zip.skipped())
        fvtool::err(QStringLiteral("skipped (exists): %1").arg(kept));
    if (!ok) {
        fvtool::err(zip.errorString());
        return 1;
    }
    return zip.skipped().isEmpty() ? 0 : 1;
}

} // namespace

FVTOOL_COMMAND(unzip, "unzip ARCHIVE DIR [--password P] [--exclude MASK] [--overwrite]", runUnzip)
