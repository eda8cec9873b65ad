// fvtool hexview FILE [OFFSET [ROWS]] [--all-chars]: the hex rows the file viewer shows,
// from the row holding OFFSET (default 0), ROWS rows (default: to the end). The character
// column shows ASCII 32-126 only, unless --all-chars (the viewer's filter switched off).
#include "Command.h"

#include "viewers/text/HexRows.h"
#include "viewers/text/PagedFile.h"

#include <cstdio>

static int runHexView(const QStringList& arguments)
{
    QStringList args = arguments;
    const bool allChars = args.removeAll(QStringLiteral("--all-chars")) > 0;
    if (args.isEmpty() || args.size() > 3) {
        fvtool::err(QStringLiteral("usage: fvtool hexview FILE [OFFSET [ROWS]] [--all-chars]"));
        return 2;
    }
    PagedFile file;
    if (!file.open(args[0])) {
        fvtool::err(file.errorString());
        return 1;
    }
    const qint64 offset = args.size() > 1 ? args[1].toLongLong(nullptr, 0) : 0;
    const qint64 rows = args.size() > 2 ? args[2].toLongLong() : -1;
    std::int64_t at = offset / HexRows::kBytesPerRow * HexRows::kBytesPerRow;
    constexpr std::int64_t kBlock = 1 << 20;
    for (qint64 written = 0; at < file.size() && (rows < 0 || written < rows);) {
        const QByteArray block = file.read(at, kBlock);
        if (block.isEmpty())
            break;
        QByteArray out;
        for (qsizetype i = 0; i < block.size() && (rows < 0 || written < rows); i += HexRows::kBytesPerRow, ++written)
            out += HexRows::row(at + i, QByteArrayView(block).sliced(i, std::min<qsizetype>(HexRows::kBytesPerRow, block.size() - i)), !allChars).toLatin1() + '\n';
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        at += block.size();
    }
    return 0;
}

FVTOOL_COMMAND(hexview, "hexview FILE [OFFSET [ROWS]] [--all-chars]", runHexView)
