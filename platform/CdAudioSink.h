#pragma once
// Where the CD player's samples go: 44.1 kHz stereo 16-bit PCM pulled from a stream. The
// program installs a sink over the sound card (QtCdAudioSink); tests install one that
// records. Every call may come from any thread: a sink moves the work to its own.

#include <QString>

#include <functional>
#include <memory>

class QIODevice;

class CdAudioSink {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBytesPerFrame = 4; // one stereo frame of two 16-bit samples

    virtual ~CdAudioSink();

    // Starts pulling from source; the sink keeps it until it has stopped pulling.
    virtual void start(std::shared_ptr<QIODevice> source) = 0;
    virtual void stop() = 0;
    virtual void suspend() = 0;
    virtual void resume() = 0;

    // The installed sink, or none (a build or a test without sound output).
    static std::unique_ptr<CdAudioSink> create();
    static void setFactory(std::function<std::unique_ptr<CdAudioSink>()> factory);
};
