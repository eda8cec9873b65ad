// fvtool zip: adds files and folders to an archive (created when missing), each stored
// relative to the parent folder of the PATH that names it.
#include "Command.h"

#include "archive/TAbZipKit.h"

#include <QFileInfo>

namespace {

bool parseLevel(const QString& text, ZipDeflation& level)
{
    static const std::pair<const char*, ZipDeflation> levels[] = {{"normal", ZipDeflation::Normal},
        {"maximum", ZipDeflation::Maximum}, {"fast", ZipDeflation::Fast}, {"superfast", ZipDeflation::SuperFast}};
    for (const auto& [name, value] : levels) {
        if (text == QLatin1String(name)) {
            level = value;
            return true;
        }
    }
    return false;
}

int runZip(const QStringList& args)
{
    TAbZipKit zip;
    QStringList paths;
    QString archive;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--level") && hasValue) {
            if (!parseLevel(args[++i], zip.DeflationOption)) {
                fvtool::err(QStringLiteral("zip: unknown level %1").arg(args[i]));
                return 2;
            }
        } else if (a == QLatin1String("--stored")) {
            zip.CompressionMethodToUse = ZipCompressionMethod::Stored;
        } else if (a == QLatin1String("--deflated")) {
            zip.CompressionMethodToUse = ZipCompressionMethod::Deflated;
        } else if (a == QLatin1String("--best")) {
            zip.CompressionMethodToUse = ZipCompressionMethod::Best;
        } else if (a == QLatin1String("--password") && hasValue) {
            zip.Password = args[++i];
        } else if (a == QLatin1String("--span") && hasValue) {
            zip.SpanningThreshold = args[++i].toULongLong();
        } else if (a == QLatin1String("--recurse")) {
            zip.StoreOptions |= ZipStoreOption::Recurse;
        } else if (a == QLatin1String("--strip-path")) {
            zip.StoreOptions |= ZipStoreOption::StripPath;
        } else if (a == QLatin1String("--dos")) {
            zip.DOSMode = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            fvtool::err(QStringLiteral("zip: unknown option %1").arg(a));
            return 2;
        } else if (archive.isEmpty()) {
            archive = a;
        } else {
            paths << a;
        }
    }
    if (archive.isEmpty() || paths.isEmpty()) {
        fvtool::err(QStringLiteral("usage: fvtool zip ARCHIVE PATH..."));
        return 2;
    }
    zip.StoreOptions |= ZipStoreOption::Replace;
    if (!zip.setFileName(archive)) {
        fvtool::err(zip.errorString());
        return 1;
    }
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.exists()) {
            fvtool::err(QStringLiteral("zip: %1 does not exist").arg(path));
            return 1;
        }
        zip.BaseDirectory = info.absolutePath();
        if (!zip.AddFiles(info.absoluteFilePath(), 0)) {
            fvtool::err(zip.errorString());
            return 1;
        }
    }
    if (!zip.Save()) {
        fvtool::err(zip.errorString());
        return 1;
    }
    fvtool::out(QStringLiteral("%1: %2 entries").arg(archive).arg(zip.Count()));
    return 0;
}

} // namespace

FVTOOL_COMMAND(zip, "zip ARCHIVE PATH... [--level normal|maximum|fast|superfast] [--stored|--deflated|--best] "
                    "[--password P] [--span BYTES] [--recurse] [--strip-path] [--dos]", runZip)
