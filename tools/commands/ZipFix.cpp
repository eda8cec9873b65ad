// fvtool zipfix: salvages the entries of a damaged archive into a new one, printing one
// report line per candidate entry and the summary.
#include "Command.h"

#include "archive/TFolZipFix.h"
#include "archive/io/MappedFile.h"

#include <QSaveFile>

namespace {

int runZipFix(const QStringList& args)
{
    if (args.size() != 2) {
        fvtool::err(QStringLiteral("usage: fvtool zipfix DAMAGED OUT"));
        return 2;
    }
    zipio::MappedFile input;
    if (!input.open(args[0])) {
        fvtool::err(QStringLiteral("zip repair: %1").arg(input.errorString()));
        return 1;
    }
    QSaveFile output(args[1]);
    if (!output.open(QIODevice::WriteOnly)) {
        fvtool::err(QStringLiteral("zip repair: cannot create %1: %2").arg(args[1], output.errorString()));
        return 1;
    }
    ZipFixReport report;
    TFolZipFix fix;
    fix.OnFileFound = [&](TFolZipFix*, const QString& name, bool ok) { fvtool::out(report.fileFound(name, ok)); };
    fix.InputDone = [&](uint64_t offset) { input.dropBefore(offset); };
    if (!fix.ReclaimZip(input.data(), input.size(), &output, input.fd()) || !output.commit()) {
        fvtool::err(fix.errorString().isEmpty() ? QStringLiteral("zip repair: cannot write %1: %2").arg(args[1], output.errorString())
                                                : fix.errorString());
        return 1;
    }
    fvtool::out(report.summary());
    return 0;
}

} // namespace

FVTOOL_COMMAND(zipfix, "zipfix DAMAGED OUT", runZipFix)
