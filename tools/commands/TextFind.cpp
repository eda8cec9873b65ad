// fvtool textfind FILE TEXT [-i] [--from OFFSET]: the file viewer's Find. Prints the
// offset and line (from 1) of the first match at or after OFFSET, or exits 1 when there is
// none. -i ignores letter case.
#include "Command.h"

#include "viewers/text/ByteSearch.h"
#include "viewers/text/LineIndex.h"
#include "viewers/text/PagedFile.h"

static int runTextFind(const QStringList& arguments)
{
    QStringList args = arguments;
    const bool ignoreCase = args.removeAll(QStringLiteral("-i")) > 0;
    qint64 from = 0;
    const qsizetype fromAt = args.indexOf(QStringLiteral("--from"));
    if (fromAt >= 0 && fromAt + 1 < args.size()) {
        from = args[fromAt + 1].toLongLong();
        args.remove(fromAt, 2);
    }
    if (args.size() != 2) {
        fvtool::err(QStringLiteral("usage: fvtool textfind FILE TEXT [-i] [--from OFFSET]"));
        return 2;
    }
    PagedFile file;
    if (!file.open(args[0])) {
        fvtool::err(file.errorString());
        return 1;
    }
    const std::int64_t found = ByteSearch(args[1].toUtf8(), !ignoreCase).findIn(file, from);
    if (found < 0) {
        fvtool::err(QStringLiteral("Search string '%1' not found from here to end.").arg(args[1]));
        return 1;
    }
    // The line of the match: the line feeds before it, counted the way the viewer's index does.
    std::int64_t line = 0;
    for (std::int64_t at = 0; at < found; at += LineIndex::kChunk) {
        const QByteArray chunk = file.read(at, std::min(LineIndex::kChunk, found - at));
        line += LineIndex::countLineFeeds(chunk.constData(), chunk.size());
    }
    fvtool::out(QStringLiteral("%1\t%2").arg(found).arg(line + 1));
    return 0;
}

FVTOOL_COMMAND(textfind, "textfind FILE TEXT [-i] [--from OFFSET]", runTextFind)
