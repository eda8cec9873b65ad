#pragma once
// The file search's content test: whether a file's bytes hold a text, letter case ignored.
// Every file is raw bytes (the text is found inside programs and documents too); bytes are
// compared after ASCII case folding, with a NUL byte standing for the byte 1, so a text
// that holds byte 1 also meets a NUL. The text is the UTF-8 bytes of what the user typed.
//
// A file is never read whole: it is streamed in blocks that overlap by the text's length,
// so memory stays the same for any file size, and the stop flag is read between blocks.
// The scan compares the text's first and last byte at sixteen places at once (SSE2) and
// looks closer only where both agree.

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

struct stat;

class ContentMatcher {
public:
    explicit ContentMatcher(const QByteArray& text);

    bool isEmpty() const { return m_needle.isEmpty(); }
    const QByteArray& text() const { return m_text; }

    // Whether the block holds the text (no overlap handling: one block).
    bool containsIn(const char* data, qsizetype size) const;

    enum class FileResult { Found, NotFound, Unreadable, NotRegular, Stopped };
    // Opens name in the folder dirFd (AT_FDCWD with a whole path) so that a FIFO or device
    // never blocks the open, checks that it is a regular file (a link to one will do), and
    // streams it through buffer (one per thread, resized as needed). stopped() is asked
    // between blocks. *info (when given) receives the file's status once it is open.
    FileResult searchFile(int dirFd, const QByteArray& name, std::vector<char>& buffer,
                          const std::function<bool()>& stopped, struct stat* info = nullptr) const;

    static constexpr qsizetype kBlockSize = 256 * 1024;

private:
    bool verifyAt(const unsigned char* at) const;

    QByteArray m_text;
    QByteArray m_needle; // folded
    // The two forms each of the first and last folded byte can have in a file.
    unsigned char m_first[2] = {0, 0};
    unsigned char m_last[2] = {0, 0};
};
