#pragma once
// A CD audio sink for machines without a sound card: a thread pulls the samples as fast as
// they come and records them on a tape the test reads.

#include "platform/CdAudioSink.h"

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <thread>

class RecordingCdSink final : public CdAudioSink {
public:
    struct Tape {
        QByteArray bytes() const
        {
            std::lock_guard lock(mutex);
            return recorded;
        }
        void clear()
        {
            std::lock_guard lock(mutex);
            recorded.clear();
        }
        mutable std::mutex mutex;
        QByteArray recorded;
    };

    explicit RecordingCdSink(std::shared_ptr<Tape> tape) : m_tape(std::move(tape)) {}
    ~RecordingCdSink() override { stop(); }

    void start(std::shared_ptr<QIODevice> source) override;
    void stop() override;
    void suspend() override { m_paused = true; }
    void resume() override { m_paused = false; }

    // Makes CdAudioSink::create() build sinks recording on the returned tape (until the
    // factory is cleared).
    static std::shared_ptr<Tape> install();

private:
    void pull();

    std::shared_ptr<Tape> m_tape;
    std::shared_ptr<QIODevice> m_source;
    std::thread m_puller;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_paused{false};
};
