#pragma once
// Reads little-endian fields one after another from a buffer. A read past the end yields
// zeros or an empty view and leaves the cursor failed, so a parser checks ok() once after
// a record instead of before every field.

#include "platform/ByteOrder.h"

#include <QByteArrayView>

#include <cstdint>

namespace media {

class ByteCursor {
public:
    explicit ByteCursor(QByteArrayView bytes, qsizetype at = 0)
        : m_bytes(bytes)
        , m_at(at)
    {
        m_ok = at >= 0 && at <= bytes.size();
    }

    bool ok() const { return m_ok; }
    qsizetype position() const { return m_at; }
    qsizetype remaining() const { return m_ok ? m_bytes.size() - m_at : 0; }

    QByteArrayView take(qsizetype length)
    {
        if (!m_ok || length < 0 || length > m_bytes.size() - m_at) {
            m_ok = false;
            return {};
        }
        const QByteArrayView part = m_bytes.sliced(m_at, length);
        m_at += length;
        return part;
    }

    void skip(qsizetype length) { take(length); }

    uint16_t le16()
    {
        const QByteArrayView field = take(2);
        return m_ok ? byteorder::readLE16(field, 0) : 0;
    }

    uint32_t le32()
    {
        const QByteArrayView field = take(4);
        return m_ok ? byteorder::readLE32(field, 0) : 0;
    }

    uint64_t le64()
    {
        const QByteArrayView field = take(8);
        return m_ok ? byteorder::readLE64(field, 0) : 0;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    bool m_ok = true;
};

} // namespace media
