#include "support/RecordingCdSink.h"

#include <QIODevice>

#include <chrono>

void RecordingCdSink::start(std::shared_ptr<QIODevice> source)
{
    stop();
    m_source = std::move(source);
    m_paused = false;
    m_running = true;
    m_puller = std::thread([this] { pull(); });
}

void RecordingCdSink::stop()
{
    m_running = false;
    if (m_puller.joinable())
        m_puller.join();
    m_source.reset();
}

void RecordingCdSink::pull()
{
    char chunk[4096];
    while (m_running) {
        qint64 got = 0;
        {
            // Taking samples and recording them is one step under the tape's lock: playback
            // counts as ended once the last sample was taken, and a test that then reads the
            // tape must find that sample on it.
            std::lock_guard lock(m_tape->mutex);
            got = m_paused ? 0 : m_source->read(chunk, sizeof chunk);
            if (got > 0)
                m_tape->recorded.append(chunk, got);
        }
        if (got <= 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::shared_ptr<RecordingCdSink::Tape> RecordingCdSink::install()
{
    auto tape = std::make_shared<Tape>();
    CdAudioSink::setFactory([tape] { return std::make_unique<RecordingCdSink>(tape); });
    return tape;
}
