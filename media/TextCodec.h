#pragma once
// Text helpers shared by the tag readers.

#include <QByteArrayView>
#include <QString>

namespace media {

// Decodes UTF-16 code units. A leading byte-order mark overrides `bigEndian` and is dropped;
// an odd last byte and an unpaired high surrogate at the end (a text cut short) are dropped.
QString decodeUtf16(QByteArrayView bytes, bool bigEndian);

// The bytes before the first zero code unit (two zero bytes at an even offset), or all.
QByteArrayView beforeWideTerminator(QByteArrayView bytes);

// Removes characters of code 32 or below from both ends.
QString trimmedText(const QString& text);

} // namespace media
