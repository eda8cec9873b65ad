#pragma once
// The CD player's sound output: a QAudioSink (44.1 kHz, stereo, 16-bit) in pull mode on the
// thread that made this sink (the window's). Calls from the CD player's worker are queued
// there, so the sink object is only ever touched by its own thread.

#include "platform/CdAudioSink.h"

#include <QPointer>

#include <functional>
#include <memory>

class QAudioSink;

class QtCdAudioSink final : public CdAudioSink {
public:
    QtCdAudioSink();
    ~QtCdAudioSink() override;

    void start(std::shared_ptr<QIODevice> source) override;
    void stop() override;
    void suspend() override;
    void resume() override;

    // Makes CdAudioSink::create() build this sink.
    static void install();

private:
    // Runs step on the sink's thread, after the steps asked for before it.
    void post(std::function<void(QAudioSink*, std::shared_ptr<QIODevice>&)> step);

    QPointer<QAudioSink> m_sink;
    // The source being pulled, touched only on the sink's thread: it stays alive until the
    // sink has stopped, even when the player has already let go of it.
    std::shared_ptr<std::shared_ptr<QIODevice>> m_source = std::make_shared<std::shared_ptr<QIODevice>>();
};
