#pragma once
// The one codec between the bytes of Linux file names and the QStrings that carry paths
// through the program. A name is a byte string that need not be valid UTF-8; a QString made
// by decode() holds it without loss: valid UTF-8 is decoded as such, and every byte of an
// invalid sequence (always 0x80..0xFF) becomes the lone low surrogate U+DC80 + (byte - 0x80),
// which valid UTF-8 can never produce ("surrogate escape"). encode() gives back the exact
// bytes. Such a QString is handed to the file system only through encode() (never through
// QFile, QFileInfo or QDir, which would turn the escapes into other bytes), and shown to the
// user only through display().

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QUrl>

class FileName {
public:
    // The path or name carried by bytes read from the file system or a command line.
    static QString decode(QByteArrayView bytes);
    static QString decode(const char* bytes, qsizetype length) { return decode(QByteArrayView(bytes, length)); }
    // The exact bytes decode() read. A lone surrogate that is not an escape (it cannot come
    // from decode(), only from other text) is written as U+FFFD.
    static QByteArray encode(const QString& text);

    // Whether text holds an escaped byte: its name is not valid UTF-8.
    static bool hasEscapes(QStringView text);
    // The text to show: each escaped byte becomes U+FFFD, the usual replacement mark.
    static QString display(const QString& text);

    // A file:// URL whose path is the percent-encoded bytes of an absolute path (what
    // QUrl::fromLocalFile cannot do for a name that is not UTF-8), and its inverse for a URL
    // dropped or pasted by another program: the local path with its bytes, empty when the
    // URL is not a local file.
    static QUrl toUrl(const QString& path);
    static QString fromUrl(const QUrl& url);
};
