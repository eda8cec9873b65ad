#pragma once
// How the editor turns a file's bytes into text and back without changing a line the user
// did not touch. The text is UTF-8 only when the whole file is valid UTF-8 (and encodes
// back to the same bytes); any other file is read as Latin-1, one character per byte, so
// that every byte comes back. The line-end style is the file's own (the first line end
// decides: LF, CR LF or a lone CR) as long as every line end of the file has it; a file
// with mixed line ends is kept as LF lines with its other CRs as characters. A UTF-8 byte
// order mark is kept. Text holds "\n" between lines, as the editor does.
//
// The editor's document turns a CR (and a few other characters) into a line break of its
// own; such characters travel in the text as private-use stand-ins (kCrStandIn, ...) and
// become their bytes again when written. A UTF-8 file that holds a stand-in itself is read
// as Latin-1, so that no two bytes sequences share one text.

#include <QByteArray>
#include <QString>

class TextFileCodec {
public:
    enum class Encoding { Utf8, Latin1 };
    enum class LineEnd { Lf, CrLf, Cr };

    struct Format {
        Encoding encoding = Encoding::Utf8;
        LineEnd lineEnd = LineEnd::Lf; // new files take LF
        bool byteOrderMark = false;
    };

    struct Decoded {
        QString text;
        Format format;
    };

    static constexpr char16_t kCrStandIn = 0xE00D;

    static Decoded decode(const QByteArray& bytes);
    // The bytes of text in format. Text that Latin-1 cannot hold is written as UTF-8 (the
    // only way to keep every character); format says which was used afterwards.
    static QByteArray encode(const QString& text, Format& format);

    static QByteArray lineEndBytes(LineEnd lineEnd);
};
