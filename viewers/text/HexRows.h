#pragma once
// The viewer's hex rows, laid out as `hexdump -C` prints them: the offset, sixteen bytes in
// two groups of eight, and the characters between bars:
//
//   00000010  48 65 6c 6c 6f 0a 00 ff  41 42 43 44 45 46 47 48  |Hello...ABCDEFGH|
//
// The character column shows printable ASCII (32-126); with the filter off it shows the
// Latin-1 letters and signs (160-255) too. Control bytes and DEL (127) are always ".".

#include <QByteArrayView>
#include <QString>

#include <cstdint>

class HexRows {
public:
    static constexpr int kBytesPerRow = 16;

    // One row for up to 16 bytes that start at offset.
    static QString row(std::int64_t offset, QByteArrayView bytes, bool filterChars);
    // The column in a row where the hex of byte i (0-15) starts, and where its character is.
    static int hexColumn(int byteIndex);
    static int charColumn(int byteIndex);
    // The byte shown at a column of a row, -1 when the column shows none.
    static int byteAtColumn(int column);
    // The character the column shows for a byte.
    static QChar shownChar(unsigned char byte, bool filterChars);
};
