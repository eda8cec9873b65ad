#pragma once
// Byte-order reads and writes for every file format the program parses or writes (zip, TIFF,
// ID3, MPEG, WAV, ASF, Samba's DOS attributes). Callers check that the bytes they read lie
// inside their buffer; these only assemble or spread the value, through <QtEndian>.
//
// Two forms of each read: at a raw pointer, and at an offset into a QByteArrayView.

#include <QByteArray>
#include <QByteArrayView>
#include <QtEndian>

#include <cstdint>

namespace byteorder {

inline uint16_t readLE16(const void* p) { return qFromLittleEndian<uint16_t>(p); }
inline uint32_t readLE32(const void* p) { return qFromLittleEndian<uint32_t>(p); }
inline uint64_t readLE64(const void* p) { return qFromLittleEndian<uint64_t>(p); }
inline uint16_t readBE16(const void* p) { return qFromBigEndian<uint16_t>(p); }
inline uint32_t readBE32(const void* p) { return qFromBigEndian<uint32_t>(p); }

inline uint32_t readBE24(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    return uint32_t(readBE16(b)) << 8 | b[2];
}

inline uint8_t byteAt(QByteArrayView bytes, qsizetype at) { return uint8_t(bytes[at]); }
inline uint16_t readLE16(QByteArrayView bytes, qsizetype at) { return readLE16(bytes.data() + at); }
inline uint32_t readLE32(QByteArrayView bytes, qsizetype at) { return readLE32(bytes.data() + at); }
inline uint64_t readLE64(QByteArrayView bytes, qsizetype at) { return readLE64(bytes.data() + at); }
inline uint16_t readBE16(QByteArrayView bytes, qsizetype at) { return readBE16(bytes.data() + at); }
inline uint32_t readBE24(QByteArrayView bytes, qsizetype at) { return readBE24(bytes.data() + at); }
inline uint32_t readBE32(QByteArrayView bytes, qsizetype at) { return readBE32(bytes.data() + at); }

inline void writeLE16(void* p, uint16_t v) { qToLittleEndian(v, p); }
inline void writeLE32(void* p, uint32_t v) { qToLittleEndian(v, p); }
inline void writeLE64(void* p, uint64_t v) { qToLittleEndian(v, p); }

inline void appendLE16(QByteArray& out, uint16_t v)
{
    char b[2];
    writeLE16(b, v);
    out.append(b, 2);
}

inline void appendLE32(QByteArray& out, uint32_t v)
{
    char b[4];
    writeLE32(b, v);
    out.append(b, 4);
}

} // namespace byteorder
