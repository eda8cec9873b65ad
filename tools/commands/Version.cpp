// fvtool version: prints the program's name and version.
#include "Command.h"

static int runVersion(const QStringList&)
{
    fvtool::out(QStringLiteral("fvtool (FolVane III) 3.0"));
    return 0;
}

FVTOOL_COMMAND(version, "version", runVersion)
