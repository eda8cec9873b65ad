// fvtool cd DISC [TRACK OUT]: lists an audio CD's tracks ("N mm:ss:ff frames") from a drive
// or a disc image, as the CD player reads them; with TRACK and OUT, plays that track through
// the player's digital extraction and writes the samples the sound card would get (raw
// 44.1 kHz stereo 16-bit little-endian) to OUT.
#include "Command.h"

#include "platform/CdAudio.h"
#include "platform/CdAudioSink.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QThread>

namespace {

// The sound card's place: the command itself pulls the samples.
class PullSink final : public CdAudioSink {
public:
    explicit PullSink(std::shared_ptr<std::shared_ptr<QIODevice>> source) : m_source(std::move(source)) {}
    void start(std::shared_ptr<QIODevice> source) override { *m_source = std::move(source); }
    void stop() override {}
    void suspend() override {}
    void resume() override {}

private:
    std::shared_ptr<std::shared_ptr<QIODevice>> m_source;
};

bool extract(CdAudioDevice& device, const std::shared_ptr<QIODevice>& source, int track, const QString& out)
{
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)) {
        fvtool::err(QStringLiteral("Cannot write ") + out + QStringLiteral(": ") + file.errorString());
        return false;
    }
    const qint64 total = device.trackLength(track).totalFrames() * 2352;
    qint64 written = 0;
    char chunk[65536];
    while (written < total) {
        const qint64 got = source->read(chunk, std::min<qint64>(sizeof chunk, total - written));
        if (got > 0) {
            file.write(chunk, got);
            written += got;
        } else if (device.mode() != MediaMode::Playing) {
            break;
        } else {
            QThread::msleep(1);
        }
    }
    device.stop();
    if (written < total) {
        fvtool::err(device.errorString().isEmpty() ? QStringLiteral("The track ended early.") : device.errorString());
        return false;
    }
    return file.commit();
}

} // namespace

static int runCd(const QStringList& args)
{
    bool ok = false;
    const int track = args.value(1).toInt(&ok);
    if (args.size() != 1 && !(args.size() == 3 && ok && track >= 1)) {
        fvtool::err(QStringLiteral("usage: fvtool cd DISC [TRACK OUT]"));
        return 2;
    }
    auto source = std::make_shared<std::shared_ptr<QIODevice>>();
    CdAudioSink::setFactory([source] { return std::make_unique<PullSink>(source); });
    std::unique_ptr<CdAudioDevice> device = CdAudioDevice::create();
    if (!device->open(args[0]) || !device->isReady()) {
        fvtool::err(device->errorString().isEmpty() ? QStringLiteral("There is no audio CD in ") + args[0] : device->errorString());
        return 1;
    }
    if (args.size() == 1) {
        for (int t = 1; t <= device->trackCount(); ++t) {
            const CdPosition length = device->trackLength(t);
            fvtool::out(QStringLiteral("%1 %2:%3:%4 %5").arg(t).arg(length.minutes, 2, 10, QLatin1Char('0')).arg(length.seconds, 2, 10, QLatin1Char('0'))
                            .arg(length.frames, 2, 10, QLatin1Char('0')).arg(length.totalFrames()));
        }
        return 0;
    }
    if (!device->play(track)) {
        fvtool::err(device->errorString());
        return 1;
    }
    return extract(*device, *source, track, args[2]) ? 0 : 1;
}

FVTOOL_COMMAND(cd, "cd DISC [TRACK OUT]", runCd)
