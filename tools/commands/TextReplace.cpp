// fvtool textreplace FILE FIND WITH [-i]: the editor's Replace All over a whole file, as
// the editor opens and saves it: read in its own encoding and line ends, every match
// replaced, written back through the safe save (temporary file, flush, rename). Prints the
// number replaced.
#include "Command.h"

#include "viewers/text/PagedFile.h"
#include "viewers/text/TextFileCodec.h"
#include "viewers/text/TextFileSaver.h"
#include "viewers/text/TextReplacer.h"

static int runTextReplace(const QStringList& arguments)
{
    QStringList args = arguments;
    const bool ignoreCase = args.removeAll(QStringLiteral("-i")) > 0;
    if (args.size() != 3 || args[1].isEmpty()) {
        fvtool::err(QStringLiteral("usage: fvtool textreplace FILE FIND WITH [-i]"));
        return 2;
    }
    PagedFile file;
    if (!file.open(args[0])) {
        fvtool::err(file.errorString());
        return 1;
    }
    const TextFileCodec::Decoded decoded = TextFileCodec::decode(file.read(0, file.size()));
    file.close();
    int count = 0;
    const QString text = TextReplacer::replacedText(decoded.text, args[1], args[2],
                                                    ignoreCase ? SearchOptions() : SearchOptions(SearchOption::MatchCase), &count);
    TextFileCodec::Format format = decoded.format;
    if (const ViewerStatus saved = TextFileSaver::save(args[0], TextFileCodec::encode(text, format), false); !saved) {
        fvtool::err(saved.errorString());
        return 1;
    }
    fvtool::out(QString::number(count));
    return 0;
}

FVTOOL_COMMAND(textreplace, "textreplace FILE FIND WITH [-i]", runTextReplace)
