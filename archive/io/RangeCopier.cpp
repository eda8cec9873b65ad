#include "io/RangeCopier.h"

#include <QFileDevice>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace zipio {

namespace {

// Pieces of a write from memory: a QIODevice takes a qint64, a QBuffer grows by each.
constexpr uint64_t kWritePiece = 64u << 20;

// The errors with which the kernel refuses a copy it cannot do between these two files;
// the bytes are then written from memory instead.
bool kernelCannotCopy(int error)
{
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EBADF;
}

} // namespace

RangeCopier::RangeCopier(const uint8_t* input, int inputFd, QIODevice* output)
    : m_input(input)
    , m_output(output)
    , m_inputFd(inputFd)
    , m_pos(uint64_t(output->pos()))
{
    auto* file = qobject_cast<QFileDevice*>(output);
    if (inputFd < 0 || !file || file->handle() < 0 || !file->flush())
        return;
    // The kernel writes at the descriptor's offset; it must be where the device stands.
    if (::lseek(file->handle(), 0, SEEK_CUR) == off_t(m_pos))
        m_file = file;
}

RangeCopier::~RangeCopier()
{
    // The device did not see the kernel's copies; its position is set where they ended.
    if (m_file)
        m_output->seek(qint64(m_pos));
}

bool RangeCopier::copy(uint64_t offset, uint64_t n)
{
    if (m_file && !copyInKernel(offset, n))
        return false;
    return write(m_input + offset, n);
}

bool RangeCopier::copyInKernel(uint64_t& offset, uint64_t& n)
{
    // Bytes the device still buffers go first.
    if (!m_file->flush())
        return failed(m_output->errorString());
    while (n > 0) {
        auto from = off_t(offset);
        const ssize_t copied = ::copy_file_range(m_inputFd, &from, m_file->handle(), nullptr, size_t(n), 0);
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied < 0 && kernelCannotCopy(errno)) {
            m_file = nullptr;
            return true; // the rest, from memory
        }
        if (copied < 0)
            return failed(QString::fromLocal8Bit(std::strerror(errno)));
        if (copied == 0)
            return failed(QStringLiteral("the input file ended early"));
        offset += uint64_t(copied);
        m_pos += uint64_t(copied);
        n -= uint64_t(copied);
    }
    return true;
}

bool RangeCopier::write(const void* data, uint64_t n)
{
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        const auto piece = qint64(std::min(n, kWritePiece));
        if (m_output->write(p, piece) != piece)
            return failed(m_output->errorString());
        p += piece;
        n -= uint64_t(piece);
        m_pos += uint64_t(piece);
    }
    return true;
}

bool RangeCopier::failed(const QString& reason)
{
    m_error = reason;
    return false;
}

} // namespace zipio
