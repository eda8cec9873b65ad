#include "viewers/tiff/TGraphicTiff.h"

#include "viewers/tiff/TFileTiff.h"

#include <QByteArray>

#include <cstring>

namespace {

bool isUnsignedInteger(uint16_t type)
{
    return type == tiff::Byte || type == tiff::Short || type == tiff::Long;
}

uint32_t numberAt(const unsigned char* p, uint16_t type, tiff::ByteOrder order)
{
    switch (type) {
    case tiff::Byte: return *p;
    case tiff::Short: return tiff::read16(p, order);
    default: return tiff::read32(p, order);
    }
}

} // namespace

TGraphicTiff::TGraphicTiff(const TFileTiff& owner, uint32_t offset)
    : m_owner(owner)
{
    readEntries(offset);
    buildStripTable();
}

void TGraphicTiff::readEntries(uint32_t offset)
{
    const tiff::ByteOrder order = m_owner.byteOrder();
    unsigned char bytes[tiff::Entry::Size];
    if (!m_owner.readAt(offset, 2, reinterpret_cast<char*>(bytes))) {
        m_error = true;
        return;
    }
    m_entryCount = tiff::read16(bytes, order);
    // Entries are read one by one, so a count that runs past the end of the file keeps
    // the whole entries before it and allocates no more than the file holds.
    quint64 position = quint64(offset) + 2;
    for (int i = 0; i < m_entryCount; ++i, position += tiff::Entry::Size) {
        if (!m_owner.readAt(position, tiff::Entry::Size, reinterpret_cast<char*>(bytes))) {
            m_error = true;
            return;
        }
        tiff::Entry entry;
        entry.parse(bytes, order);
        m_entries.push_back(entry);
    }
    m_afterEntries = uint32_t(position);
    if (m_owner.readAt(position, 4, reinterpret_cast<char*>(bytes)))
        m_nextOffset = tiff::read32(bytes, order);
}

void TGraphicTiff::buildStripTable()
{
    const tiff::Entry* offsets = findEntry(tiff::StripOffsets);
    const tiff::Entry* counts = findEntry(tiff::StripByteCounts);
    if (!offsets || !counts || offsets->count != counts->count)
        return;
    const auto offsetValues = values(*offsets);
    const auto countValues = values(*counts);
    if (!offsetValues || !countValues)
        return;
    m_strips.reserve(offsetValues->size());
    for (size_t i = 0; i < offsetValues->size(); ++i)
        m_strips.push_back({(*offsetValues)[i], (*countValues)[i]});
}

const tiff::Entry* TGraphicTiff::findEntry(uint16_t tag) const
{
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->tag == tag)
            return &*it;
    }
    return nullptr;
}

std::optional<TiffStrip> TGraphicTiff::strip(int index) const
{
    if (index < 0 || index >= stripCount())
        return std::nullopt;
    return m_strips[size_t(index)];
}

std::optional<uint32_t> TGraphicTiff::value(uint16_t tag) const
{
    const tiff::Entry* entry = findEntry(tag);
    if (!entry || entry->count == 0 || !isUnsignedInteger(entry->type))
        return std::nullopt;
    const tiff::ByteOrder order = m_owner.byteOrder();
    unsigned char bytes[4];
    if (entry->isInline())
        std::memcpy(bytes, entry->field.data(), 4);
    else if (!m_owner.readAt(entry->offset(order), tiff::typeSize(entry->type), reinterpret_cast<char*>(bytes)))
        return std::nullopt;
    return numberAt(bytes, entry->type, order);
}

std::optional<std::vector<uint32_t>> TGraphicTiff::values(const tiff::Entry& entry) const
{
    if (!isUnsignedInteger(entry.type))
        return std::nullopt;
    const uint32_t size = tiff::typeSize(entry.type);
    const tiff::ByteOrder order = m_owner.byteOrder();
    const quint64 length = quint64(size) * entry.count;
    QByteArray bytes;
    if (entry.isInline())
        bytes = QByteArray(reinterpret_cast<const char*>(entry.field.data()), qsizetype(length));
    else if (!m_owner.readAt(entry.offset(order), length, bytes))
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    std::vector<uint32_t> result(entry.count);
    for (uint32_t i = 0; i < entry.count; ++i, p += size)
        result[i] = numberAt(p, entry.type, order);
    return result;
}
