#pragma once
// Byte-order helpers for the audio formats. Every caller has checked that the bytes it
// reads lie inside its buffer; these only assemble the value.

#include <QByteArrayView>

#include <cstdint>

namespace media {

inline uint8_t byteAt(QByteArrayView bytes, qsizetype at)
{
    return uint8_t(bytes[at]);
}

inline uint16_t readLE16(QByteArrayView bytes, qsizetype at)
{
    return uint16_t(byteAt(bytes, at) | byteAt(bytes, at + 1) << 8);
}

inline uint32_t readLE32(QByteArrayView bytes, qsizetype at)
{
    return uint32_t(readLE16(bytes, at)) | uint32_t(readLE16(bytes, at + 2)) << 16;
}

inline uint64_t readLE64(QByteArrayView bytes, qsizetype at)
{
    return uint64_t(readLE32(bytes, at)) | uint64_t(readLE32(bytes, at + 4)) << 32;
}

inline uint32_t readBE24(QByteArrayView bytes, qsizetype at)
{
    return uint32_t(byteAt(bytes, at)) << 16 | uint32_t(byteAt(bytes, at + 1)) << 8 | byteAt(bytes, at + 2);
}

inline uint32_t readBE32(QByteArrayView bytes, qsizetype at)
{
    return uint32_t(byteAt(bytes, at)) << 24 | readBE24(bytes, at + 1);
}

// ID3v2 sizes keep the top bit of every byte clear ("synchsafe"): 4 bytes of 7 bits each,
// summed as b0 * 2^21 + b1 * 2^14 + b2 * 2^7 + b3.
inline uint32_t readSynchsafe32(QByteArrayView bytes, qsizetype at)
{
    return uint32_t(byteAt(bytes, at)) * (1u << 21) + uint32_t(byteAt(bytes, at + 1)) * (1u << 14)
         + uint32_t(byteAt(bytes, at + 2)) * (1u << 7) + uint32_t(byteAt(bytes, at + 3));
}

} // namespace media
