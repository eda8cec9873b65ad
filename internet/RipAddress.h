#pragma once
// Address and name rules of the downloader: the name a download is saved under, the free
// name "[n]name" beside an existing file, the counter that an address ending in a number
// suggests, and the texts of the progress line.

#include <QString>
#include <QStringList>

#include <optional>

class RipAddress {
public:
    // The raw text after the last "/" (never URL-decoded).
    static QString lastPart(const QString& address);
    // The ripper's saved name: lastPart with its extension replaced by "." + ext (an address
    // ending in "/" gives the bare extension).
    static QString savedName(const QString& address, const QString& ext);
    // Names that would reach another folder than the target one: empty, "." and "..".
    static bool isUnusableName(const QString& name);
    // The candidate names in order: n < 0 the name itself, else "[n]name".
    static QString candidate(const QString& name, int n);

    // The last run of digits in the address: its 1-based position, length and value text;
    // index 0, width 0 and text "0" when the address has no digit.
    struct DigitRun {
        int index = 0;
        int width = 0;
        QString digits = QStringLiteral("0");
    };
    static DigitRun lastDigitRun(const QString& address);
    // The 1-based position of every digit, padded to three digits, each followed by a blank.
    static QString digitPositions(const QString& address);

    // The progress line: bytes so far and total with thousands separators, each right-aligned
    // in 18 places ("%18.0n:%18.0n"); a reply without a length shows only the bytes so far.
    static QString progressText(qint64 received, qint64 total);
    // Percent done, 0 when the total is unknown.
    static int percent(qint64 received, qint64 total);

    // The addresses of a list file: one per line (UTF-8, "\n" or "\r\n"), blank lines and
    // surrounding blanks left out.
    static QStringList linksIn(const QByteArray& text);
    // Reads a list file of at most kMaxListBytes; nullopt with *error when it cannot be read.
    static constexpr qint64 kMaxListBytes = 64 << 20;
    static std::optional<QStringList> readLinkList(const QString& path, QString* error);
};
