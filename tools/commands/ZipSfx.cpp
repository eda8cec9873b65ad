// fvtool sfx: joins a self-extractor stub and an archive into one self-extracting program.
#include "Command.h"

#include "archive/TAbZipKit.h"

namespace {

int runSfx(const QStringList& args)
{
    if (args.size() != 3) {
        fvtool::err(QStringLiteral("usage: fvtool sfx STUB ARCHIVE OUT"));
        return 2;
    }
    TAbZipKit zip;
    if (!zip.MakeSelfExtracting(args[0], args[1], args[2])) {
        fvtool::err(zip.errorString());
        return 1;
    }
    return 0;
}

} // namespace

FVTOOL_COMMAND(sfx, "sfx STUB ARCHIVE OUT", runSfx)
