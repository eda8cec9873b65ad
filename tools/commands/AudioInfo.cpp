// fvtool audioinfo FILE...: one line per file with the audio information the playlist shows:
// path, title, artist, album, year, genre, track, bit rate, sample rate, channel mode and
// duration text, separated by tabs. Files that are not readable audio are named on stderr.
#include "Command.h"

#include "media/AudioInfoReader.h"

// Tags may hold tabs and line breaks; the output keeps one field per column and one file
// per line.
static QString field(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 32)
            c = QLatin1Char(' ');
    }
    return text;
}

static int runAudioInfo(const QStringList& args)
{
    if (args.isEmpty()) {
        fvtool::err(QStringLiteral("usage: fvtool audioinfo FILE..."));
        return 2;
    }
    int failed = 0;
    media::AudioInfoReader reader;
    for (const QString& path : args) {
        if (!reader.read(path)) {
            fvtool::err(reader.errorString());
            ++failed;
            continue;
        }
        const media::AudioInfo& info = reader.info();
        QStringList fields;
        for (const QString& text : {info.path, info.title, info.artist, info.album, info.year,
                                    info.genre, info.track, info.bitrate, info.sampleRate,
                                    info.channelMode, info.length})
            fields.append(field(text));
        fvtool::out(fields.join(QLatin1Char('\t')));
    }
    return failed == 0 ? 0 : 1;
}

FVTOOL_COMMAND(audioinfo, "audioinfo FILE...", runAudioInfo)
