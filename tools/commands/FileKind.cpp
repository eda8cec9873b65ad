// fvtool filekind NAME...: the kinds the view commands give each name by its extension
// (cut to five characters, case ignored): movie, audio, image, program, web page, playlist,
// or none.
#include "Command.h"

#include "viewers/FileKinds.h"

using namespace FileKinds;

static int runFileKind(const QStringList& args)
{
    if (args.isEmpty()) {
        fvtool::err(QStringLiteral("usage: fvtool filekind NAME..."));
        return 2;
    }
    for (const QString& name : args) {
        QStringList kinds;
        const struct {
            bool holds;
            const char* kind;
        } tests[] = {
            {IsMovieFile(name), "movie"}, {IsAudioFile(name), "audio"}, {IsImageFile(name), "image"},
            {IsProgramFile(name), "program"}, {IsWebPageFile(name), "web page"},
            {HasExtension(name, QStringLiteral(".M3U")), "playlist"},
        };
        for (const auto& test : tests) {
            if (test.holds)
                kinds << QLatin1String(test.kind);
        }
        fvtool::out(name + QStringLiteral(": ") + CutExtension(name) + QLatin1Char(' ') + (kinds.isEmpty() ? QStringLiteral("none") : kinds.join(QStringLiteral(", "))));
    }
    return 0;
}

FVTOOL_COMMAND(filekind, "filekind NAME...: the file kinds of each name (movie, audio, image, program, web page, playlist)", runFileKind)
