// fvtool lines FILE: builds the file viewer's line index and prints the number of line
// feeds, as `wc -l` counts them.
#include "Command.h"

#include "viewers/text/LineIndex.h"
#include "viewers/text/PagedFile.h"

static int runLines(const QStringList& args)
{
    if (args.size() != 1) {
        fvtool::err(QStringLiteral("usage: fvtool lines FILE"));
        return 2;
    }
    PagedFile file;
    if (!file.open(args[0])) {
        fvtool::err(file.errorString());
        return 1;
    }
    LineIndex index(file);
    LineIndexJob job(index, file.size());
    job.run();
    if (!job.succeeded()) {
        fvtool::err(job.errorString());
        return 1;
    }
    fvtool::out(QString::number(*index.lineFeeds()));
    return 0;
}

FVTOOL_COMMAND(lines, "lines FILE", runLines)
