#pragma once
// Text inside ID3v2 frames: an encoding byte (0 ISO-8859-1, 1 UTF-16 with byte-order mark,
// 2 UTF-16 big-endian, 3 UTF-8) followed by strings that each end with a terminator of that
// encoding (one zero byte, or two for UTF-16).

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace media::id3text {

constexpr uint8_t Latin1 = 0, Utf16Bom = 1, Utf16BE = 2, Utf8 = 3;

// True for the four encoding bytes the format defines.
bool isEncoding(uint8_t encoding);

// Decodes the first string of `bytes`: everything before its terminator, or all of it.
QString decode(uint8_t encoding, QByteArrayView bytes);

// The index just past the first terminator in `bytes`, or -1 when there is none.
qsizetype skipString(uint8_t encoding, QByteArrayView bytes);

// Reverses unsynchronisation: every 0xFF 0x00 pair becomes 0xFF.
QByteArray resynchronise(QByteArrayView bytes);

} // namespace media::id3text
