#include "viewers/tiff/TFileTiff.h"

#include "viewers/tiff/TGraphicTiff.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <unordered_set>

TFileTiff::TFileTiff() = default;
TFileTiff::~TFileTiff() = default;

void TFileTiff::clear()
{
    m_directories.clear();
    m_device.reset();
    m_fileName.clear();
    m_size = 0;
    m_order = tiff::ByteOrder::Little;
    m_valid = false;
    m_tooManyDirectories = false;
    m_openStatus = ViewerStatus();
}

void TFileTiff::setFileName(const QString& fileName)
{
    if (fileName == m_fileName)
        return;
    clear();
    m_fileName = fileName;
    if (fileName.isEmpty())
        return;
    // Only regular files: opening a FIFO would block and a device may act on being read.
    const QFileInfo info(fileName);
    QString reason;
    auto file = std::make_unique<QFile>(fileName);
    if (!info.exists())
        reason = QStringLiteral("The file does not exist.");
    else if (!info.isFile())
        reason = QStringLiteral("It is not a regular file.");
    else if (!file->open(QIODevice::ReadOnly))
        reason = file->errorString();
    if (!reason.isEmpty()) {
        m_openStatus = ViewerStatus::failure(QStringLiteral("Cannot open \"%1\": %2").arg(fileName, reason));
        return;
    }
    parse(std::move(file));
}

void TFileTiff::setData(const QByteArray& bytes, const QString& name)
{
    clear();
    m_fileName = name;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    parse(std::move(buffer));
}

void TFileTiff::parse(std::unique_ptr<QIODevice> device)
{
    m_device = std::move(device);
    m_size = quint64(m_device->size());
    unsigned char bytes[tiff::Header::Size];
    tiff::Header header;
    if (!readAt(0, sizeof bytes, reinterpret_cast<char*>(bytes)) || !header.parse(bytes))
        return;
    m_order = header.order;
    m_valid = true;
    readDirectories(header.firstDirectory);
}

void TFileTiff::readDirectories(uint32_t firstOffset)
{
    // Offsets below 8 point into the header; an offset read before closes a cycle.
    std::unordered_set<uint32_t> seen;
    uint32_t offset = firstOffset;
    while (offset > 7 && seen.insert(offset).second) {
        if (int(m_directories.size()) == MaxDirectories) {
            m_tooManyDirectories = true;
            return;
        }
        m_directories.push_back(std::make_unique<TGraphicTiff>(*this, offset));
        offset = m_directories.back()->nextOffset();
    }
}

const TGraphicTiff* TFileTiff::directory(int index) const
{
    if (index < 0 || index >= directoryCount())
        return nullptr;
    return m_directories[size_t(index)].get();
}

bool TFileTiff::readAt(quint64 offset, quint64 length, char* out) const
{
    if (!m_device || offset > m_size || length > m_size - offset)
        return false;
    if (length == 0)
        return true;
    if (!m_device->seek(qint64(offset)))
        return false;
    return m_device->read(out, qint64(length)) == qint64(length);
}

bool TFileTiff::readAt(quint64 offset, quint64 length, QByteArray& out) const
{
    // The range is checked before the buffer is sized, so a hostile length allocates nothing.
    if (!m_device || offset > m_size || length > m_size - offset)
        return false;
    out.resize(qsizetype(length));
    if (readAt(offset, length, out.data()))
        return true;
    out.clear();
    return false;
}
