// fvtool drives: lists the drives as the program sees them: root, type text, size and free
// space in KB, ready or not, caption.
#include "Command.h"

#include "platform/Drives.h"

namespace {

int runDrives(const QStringList& args)
{
    if (!args.isEmpty()) {
        fvtool::err(QStringLiteral("drives takes no arguments"));
        return 2;
    }
    for (const DriveInfo& drive : ListDrives()) {
        const bool ready = CheckDriveReady(drive.root, false);
        fvtool::out(drive.root + QLatin1Char('\t') + DriveTypeText(drive.type) + QLatin1Char('\t')
                    + QString::number(DriveSizeKB(drive.root)) + QLatin1Char('\t') + QString::number(DriveFreeKB(drive.root))
                    + QLatin1Char('\t') + (ready ? QStringLiteral("ready") : QStringLiteral("not ready")) + QLatin1Char('\t')
                    + drive.caption());
    }
    return 0;
}

} // namespace

FVTOOL_COMMAND(drives, "drives", runDrives)
