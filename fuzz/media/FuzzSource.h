#pragma once
// Hands fuzz input to a reader as the bytes of a file.

#include "media/AudioSource.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

template <typename Function>
void withSource(const uint8_t* data, size_t size, Function read)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    media::AudioSource source(&buffer);
    read(source);
}
