#pragma once
// The buffer between the CD extraction worker and the audio sink: the worker pushes whole
// sectors of 16-bit stereo samples (blocking while the buffer is full), the sink pulls them
// through QIODevice::read. Each channel's gain (volume and mute) is applied as the samples
// leave, so a change is heard at once; the count of bytes pulled is the position heard.

#include <QIODevice>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

class CdPcmStream final : public QIODevice {
public:
    explicit CdPcmStream(qint64 capacity = 44100 * 4); // about a second of sound
    ~CdPcmStream() override;

    // Waits for room; false when abort() was called meanwhile (the bytes are dropped).
    bool push(const QByteArray& pcm);
    // Wakes a waiting push and refuses new bytes until restart().
    void abort();
    // Empties the buffer and the played count, and accepts bytes again.
    void restart();
    qint64 buffered() const;
    qint64 playedBytes() const { return m_played.load(); }
    // 0.0 (silent) .. 1.0 (as on the disc), per channel.
    void setGains(double left, double right);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void clear(); // with m_mutex held
    void applyGains(char* data, qint64 size) const;

    const qint64 m_capacity;
    mutable std::mutex m_mutex;
    std::condition_variable m_room;
    std::deque<QByteArray> m_chunks; // as pushed; the first one read from m_readAt on
    qsizetype m_readAt = 0;
    qint64 m_size = 0;
    bool m_aborted = false;
    std::atomic<qint64> m_played{0};
    std::atomic<int> m_gainLeft{65536}; // fixed point, 65536 = 1.0
    std::atomic<int> m_gainRight{65536};
};
