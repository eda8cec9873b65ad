#pragma once
// Runs a reader over bytes in memory, as ReadFromFile runs it over a file.

#include "media/AudioSource.h"

#include <QBuffer>
#include <QByteArray>

template <typename Reader>
bool readBytes(Reader& reader, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    media::AudioSource source(&buffer);
    return reader.read(source);
}
