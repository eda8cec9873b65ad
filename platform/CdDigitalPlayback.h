#pragma once
// Audio CD playback by digital extraction: a worker thread reads the disc's sectors from a
// sample source (libcdio-paranoia on a drive or a disc image) into a CdPcmStream that an
// audio sink pulls. Most drives have no analogue output any more, so the drive's own play
// commands are silent; this plays through the sound card instead. The position is the
// sector being heard, counted from the samples the sink has taken.

#include "platform/CdAudioSink.h"
#include "platform/CdPcmStream.h"
#include "platform/MediaPlayer.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Raw CD audio: 2352 bytes a sector, 44.1 kHz stereo 16-bit little-endian samples.
class CdSampleSource {
public:
    static constexpr int kSectorBytes = 2352;

    virtual ~CdSampleSource();
    // Appends count sectors from lsn on to pcm; false with errorString() on a read failure.
    virtual bool read(int lsn, int count, QByteArray* pcm) = 0;
    virtual QString errorString() const = 0;
};

class CdDigitalPlayback {
public:
    // Opens the source on the worker thread (opening a drive may take seconds); returns
    // null with error set when it cannot.
    using SourceOpener = std::function<std::unique_ptr<CdSampleSource>(QString* error)>;

    // sink: the output, kept by the caller (it lives on the window's thread); null: none.
    CdDigitalPlayback(SourceOpener opener, CdAudioSink* sink);
    ~CdDigitalPlayback();

    // Plays the sectors [fromLsn, endLsn); anything playing stops first. False without a sink.
    bool play(int fromLsn, int endLsn);
    void pause();
    void resume();
    void stop();

    // Playing until the last sample is heard, Paused, or Stopped (also after the end and
    // after a read failure, with errorString()).
    MediaMode mode() const;
    // The sector being heard; -1 when stopped.
    int currentLsn() const;
    void setGains(double left, double right) { m_stream->setGains(left, right); }
    QString errorString() const;

private:
    void extract(int fromLsn, int endLsn);
    void join();

    SourceOpener m_opener;
    CdAudioSink* m_sink;
    std::shared_ptr<CdPcmStream> m_stream = std::make_shared<CdPcmStream>();
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_extracted{false}; // the worker has pushed its last sector
    bool m_playing = false;
    bool m_paused = false;
    int m_startLsn = -1;
    mutable std::mutex m_errorMutex;
    QString m_error;
};
