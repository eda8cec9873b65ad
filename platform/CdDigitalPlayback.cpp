#include "platform/CdDigitalPlayback.h"

namespace {

// About a tenth of a second a read: short enough for Stop to be quick.
constexpr int kSectorsPerRead = 8;

} // namespace

CdSampleSource::~CdSampleSource() = default;

CdDigitalPlayback::CdDigitalPlayback(SourceOpener opener, CdAudioSink* sink)
    : m_opener(std::move(opener))
    , m_sink(sink)
{
}

CdDigitalPlayback::~CdDigitalPlayback()
{
    stop();
}

bool CdDigitalPlayback::play(int fromLsn, int endLsn)
{
    stop();
    if (!m_sink) {
        std::lock_guard lock(m_errorMutex);
        m_error = QStringLiteral("There is no sound output to play the CD on.");
        return false;
    }
    {
        std::lock_guard lock(m_errorMutex);
        m_error.clear();
    }
    m_stream->restart();
    m_cancel = false;
    m_extracted = false;
    m_startLsn = fromLsn;
    m_playing = true;
    m_paused = false;
    m_worker = std::thread([this, fromLsn, endLsn] { extract(fromLsn, endLsn); });
    m_sink->start(m_stream);
    return true;
}

void CdDigitalPlayback::extract(int fromLsn, int endLsn)
{
    QString error;
    std::unique_ptr<CdSampleSource> source = m_opener ? m_opener(&error) : nullptr;
    for (int lsn = fromLsn; source && lsn < endLsn && !m_cancel; lsn += kSectorsPerRead) {
        QByteArray pcm;
        if (!source->read(lsn, std::min(kSectorsPerRead, endLsn - lsn), &pcm)) {
            error = source->errorString();
            break;
        }
        if (!m_stream->push(pcm))
            break;
    }
    if (!error.isEmpty()) {
        std::lock_guard lock(m_errorMutex);
        m_error = error;
    }
    m_extracted = true;
}

void CdDigitalPlayback::join()
{
    if (m_worker.joinable())
        m_worker.join();
}

void CdDigitalPlayback::pause()
{
    if (m_playing && !m_paused && m_sink) {
        m_paused = true;
        m_sink->suspend();
    }
}

void CdDigitalPlayback::resume()
{
    if (m_playing && m_paused && m_sink) {
        m_paused = false;
        m_sink->resume();
    }
}

void CdDigitalPlayback::stop()
{
    m_cancel = true;
    m_stream->abort();
    join();
    if (m_playing && m_sink)
        m_sink->stop();
    m_playing = false;
    m_paused = false;
}

MediaMode CdDigitalPlayback::mode() const
{
    if (!m_playing)
        return MediaMode::Stopped;
    // The end of the range (or a failed read) is reached once the last sample was taken.
    if (m_extracted && m_stream->buffered() == 0)
        return MediaMode::Stopped;
    return m_paused ? MediaMode::Paused : MediaMode::Playing;
}

int CdDigitalPlayback::currentLsn() const
{
    if (!m_playing)
        return -1;
    return m_startLsn + int(m_stream->playedBytes() / CdSampleSource::kSectorBytes);
}

QString CdDigitalPlayback::errorString() const
{
    std::lock_guard lock(m_errorMutex);
    return m_error;
}
