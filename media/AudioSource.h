#pragma once
// The bytes of one audio file, read at chosen offsets. The readers never trust an offset or
// a length that came from the file: every read is clipped to the bytes that exist, so no
// buffer is ever sized by an unchecked field. The file's head (where a tag without pictures,
// the first frame and a VBR header lie) and its tail (an ID3v1 tag, the encoder's name) are
// each read once, when a read first falls inside them, so reading a tagged file's
// information takes a few small system calls; other reads go to the file with positioned
// reads. One source serves file after file (find() and open() again), keeping its buffers.

#include <QByteArray>
#include <QString>

class QIODevice;

namespace media {

class AudioSource {
public:
    AudioSource();
    // Opens the named file as openFile() does; a reader given a source that did not open
    // fails on its first read with the reason in errorString().
    explicit AudioSource(const QString& fileName);
    // Reads from a device that the caller keeps open (a QBuffer in the fuzz targets).
    explicit AudioSource(QIODevice* device);
    ~AudioSource();
    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;

    // Opens a regular file (or a link to one) for reading: find(), then open().
    bool openFile(const QString& fileName);
    // Looks the named file up, closing the file open before: false with errorString() when
    // it is missing or no regular file. A FIFO, a device or a folder is refused before it
    // is opened: opening them blocks or has side effects. size() is then the file's.
    bool find(const QString& fileName);
    // Opens the file found; false with errorString() when it cannot be read.
    bool open();

    qint64 size() const { return m_size; }

    // Reads at most `length` bytes at `offset` into `out`; fewer when the file ends first.
    // False when no file is open, the offset lies outside the file or the device reports
    // an error; errorString() says which, naming the file.
    bool readAt(qint64 offset, qint64 length, QByteArray& out);

    QString errorString() const { return m_error; }

private:
    // Reads into out from the file or the device, without the windows.
    bool fetch(qint64 offset, qint64 length, QByteArray& out);
    // Serves a read from a window starting at `start` when it lies wholly inside.
    static bool fromWindow(const QByteArray& window, qint64 start, qint64 offset, qint64 length, QByteArray& out);
    // Reads a window the first time it is needed; a window that cannot be read stays empty,
    // and the reads it would serve go to the file and report the error themselves.
    void loadWindow(QByteArray& window, bool& loaded, qint64 start, qint64 end);
    void close();

    QString m_name; // the file's name in messages
    QByteArray m_path;
    int m_fd = -1;
    QIODevice* m_device = nullptr;
    qint64 m_size = 0;
    QByteArray m_head;
    QByteArray m_tail;
    bool m_headLoaded = false;
    bool m_tailLoaded = false;
    QString m_error;
};

} // namespace media
