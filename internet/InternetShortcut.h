#pragma once
// Internet shortcut files (".URL"): an ini-style text whose section [InternetShortcut]
// holds the address as the value URL. Read through the bounded key-file parser (64 KiB at
// most, any bytes give an address or none); written as the two lines other desktops read.

#include <QByteArray>
#include <QString>

class InternetShortcut {
public:
    // The URL value of the text; empty when the text has none.
    static QString addressFromText(const QByteArray& text);
    // The URL value of the file at path; empty when missing, unreadable or not a regular file.
    static QString read(const QString& path);
    // The file's bytes for address. A line break in address would start another key: such an
    // address has no file (empty result).
    static QByteArray text(const QString& address);
};
