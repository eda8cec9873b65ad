#include "platform/RegistryFile.h"

#include <QStringDecoder>

namespace {

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

bool isValidKeyName(const QString& name)
{
    if (name.isEmpty() || name.front().isSpace() || name.back().isSpace())
        return false;
    for (QChar c : name) {
        if (isControl(c) || c == QLatin1Char('[') || c == QLatin1Char(']') || c == QLatin1Char('\\'))
            return false;
    }
    return true;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Reads one line of the file from left to right; every read checks what is left.
class LineReader {
public:
    explicit LineReader(QStringView line) : m_line(line) {}

    bool atEnd() const { return m_pos >= m_line.size(); }
    QStringView rest() const { return m_line.mid(m_pos); }
    bool take(QStringView literal)
    {
        if (!rest().startsWith(literal))
            return false;
        m_pos += literal.size();
        return true;
    }
    void skipBlanks()
    {
        while (!atEnd() && (m_line[m_pos] == QLatin1Char(' ') || m_line[m_pos] == QLatin1Char('\t')))
            ++m_pos;
    }

    // A double-quoted text with backslash escapes.
    std::optional<QString> quoted(QString* error)
    {
        if (!take(u"\"")) {
            *error = QStringLiteral("expected '\"'");
            return std::nullopt;
        }
        QString text;
        while (!atEnd()) {
            const QChar c = m_line[m_pos++];
            if (c == QLatin1Char('"'))
                return text;
            if (c != QLatin1Char('\\')) {
                text.append(c);
                continue;
            }
            if (atEnd())
                break;
            const QChar e = m_line[m_pos++];
            switch (e.unicode()) {
            case '\\': text.append(QLatin1Char('\\')); break;
            case '"': text.append(QLatin1Char('"')); break;
            case 'n': text.append(QLatin1Char('\n')); break;
            case 'r': text.append(QLatin1Char('\r')); break;
            case 't': text.append(QLatin1Char('\t')); break;
            case 'x': {
                const int high = m_pos + 1 < m_line.size() ? hexDigit(m_line[m_pos]) : -1;
                const int low = high >= 0 ? hexDigit(m_line[m_pos + 1]) : -1;
                if (low < 0) {
                    *error = QStringLiteral("expected two hex digits after \\x");
                    return std::nullopt;
                }
                text.append(QChar(char16_t(high * 16 + low)));
                m_pos += 2;
                break;
            }
            default:
                *error = QStringLiteral("unknown escape \\") + e;
                return std::nullopt;
            }
        }
        *error = QStringLiteral("text without its closing '\"'");
        return std::nullopt;
    }

    // A decimal number from -2147483648 to 4294967295, or 0x and 1 to 8 hex digits.
    std::optional<quint32> dword(QString* error)
    {
        if (take(u"0x")) {
            quint32 value = 0;
            int digits = 0;
            for (; !atEnd() && hexDigit(m_line[m_pos]) >= 0; ++m_pos, ++digits) {
                if (digits == 8) {
                    *error = QStringLiteral("more than 8 hex digits after dword:0x");
                    return std::nullopt;
                }
                value = value * 16 + quint32(hexDigit(m_line[m_pos]));
            }
            if (digits == 0) {
                *error = QStringLiteral("expected hex digits after dword:0x");
                return std::nullopt;
            }
            return value;
        }
        const bool negative = take(u"-");
        qint64 value = 0;
        int digits = 0;
        for (; !atEnd() && m_line[m_pos].isDigit() && m_line[m_pos].unicode() < 128; ++m_pos, ++digits) {
            value = value * 10 + (m_line[m_pos].unicode() - '0');
            if (value > 0xffffffffLL) {
                *error = QStringLiteral("the number after dword: does not fit in 32 bits");
                return std::nullopt;
            }
        }
        if (digits == 0) {
            *error = QStringLiteral("expected a number after dword:");
            return std::nullopt;
        }
        if (negative && value > 0x80000000LL) {
            *error = QStringLiteral("the number after dword: does not fit in 32 bits");
            return std::nullopt;
        }
        return quint32(negative ? -value : value);
    }

    std::optional<QByteArray> hexBytes(QString* error)
    {
        QByteArray bytes;
        skipBlanks();
        if (atEnd())
            return bytes;
        for (;;) {
            skipBlanks();
            const int high = m_pos + 1 < m_line.size() ? hexDigit(m_line[m_pos]) : -1;
            const int low = high >= 0 ? hexDigit(m_line[m_pos + 1]) : -1;
            if (low < 0) {
                *error = QStringLiteral("expected a byte as two hex digits after hex:");
                return std::nullopt;
            }
            bytes.append(char(high * 16 + low));
            m_pos += 2;
            skipBlanks();
            if (atEnd())
                return bytes;
            if (!take(u",")) {
                *error = QStringLiteral("expected ',' between bytes");
                return std::nullopt;
            }
        }
    }

private:
    QStringView m_line;
    qsizetype m_pos = 0;
};

// "[A\B\C]": the key the following values belong to.
RegistryNode* parseKeyLine(QStringView line, RegistryNode& root, QString* error)
{
    if (!line.endsWith(QLatin1Char(']'))) {
        *error = QStringLiteral("expected ']' at the end of the key line");
        return nullptr;
    }
    const auto names = RegistryFile::splitKeyPath(line.mid(1, line.size() - 2).toString());
    if (!names) {
        *error = QStringLiteral("not a valid key path");
        return nullptr;
    }
    RegistryNode* node = &root;
    for (const QString& name : *names)
        node = node->childOrCreate(name);
    return node;
}

// "name"=dword:1 / "name"="text" / "name"=hex:01,02
bool parseValueLine(QStringView line, RegistryNode* key, QString* error)
{
    if (!key) {
        *error = QStringLiteral("a value before the first [key] line");
        return false;
    }
    LineReader reader(line);
    const auto name = reader.quoted(error);
    if (!name)
        return false;
    reader.skipBlanks();
    if (!reader.take(u"=")) {
        *error = QStringLiteral("expected '=' after the value name");
        return false;
    }
    reader.skipBlanks();
    RegistryValue value;
    if (reader.take(u"dword:")) {
        const auto dword = reader.dword(error);
        if (!dword)
            return false;
        value = RegistryValue::fromDWord(*dword);
    } else if (reader.take(u"hex:")) {
        const auto bytes = reader.hexBytes(error);
        if (!bytes)
            return false;
        value = RegistryValue::fromBinary(*bytes);
    } else if (reader.rest().startsWith(QLatin1Char('"'))) {
        const auto text = reader.quoted(error);
        if (!text)
            return false;
        value = RegistryValue::fromString(*text);
    } else {
        *error = QStringLiteral("expected dword:, hex: or a quoted text after '='");
        return false;
    }
    reader.skipBlanks();
    if (!reader.atEnd()) {
        *error = QStringLiteral("unexpected text after the value");
        return false;
    }
    key->setValue(*name, value);
    return true;
}

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out.append(QLatin1Char('"'));
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out.append(QLatin1String("\\\\")); break;
        case '"': out.append(QLatin1String("\\\"")); break;
        case '\n': out.append(QLatin1String("\\n")); break;
        case '\r': out.append(QLatin1String("\\r")); break;
        case '\t': out.append(QLatin1String("\\t")); break;
        default:
            if (isControl(c))
                out.append(QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')));
            else
                out.append(c);
        }
    }
    out.append(QLatin1Char('"'));
    return out;
}

QString formatValue(const RegistryValue& value)
{
    switch (value.type) {
    case RegistryValueType::DWord:
        return QStringLiteral("dword:%1").arg(qint32(value.dword));
    case RegistryValueType::String:
        return escaped(value.text);
    case RegistryValueType::Binary:
        return QStringLiteral("hex:") + QString::fromLatin1(value.bytes.toHex(','));
    }
    return QString();
}

void writeKey(const RegistryNode& node, const QString& path, QString& out)
{
    if (!path.isEmpty() && (!node.values().isEmpty() || node.children().empty())) {
        out += QLatin1Char('[') + path + QLatin1String("]\n");
        for (const auto& [name, value] : node.values())
            out += escaped(name) + QLatin1Char('=') + formatValue(value) + QLatin1Char('\n');
        out += QLatin1Char('\n');
    }
    for (const auto& child : node.children())
        writeKey(*child, path.isEmpty() ? child->name() : path + QLatin1Char('\\') + child->name(), out);
}

} // namespace

std::optional<QStringList> RegistryFile::splitKeyPath(const QString& path)
{
    QStringView trimmed(path);
    while (trimmed.startsWith(QLatin1Char('\\')))
        trimmed = trimmed.mid(1);
    while (trimmed.endsWith(QLatin1Char('\\')))
        trimmed.chop(1);
    if (trimmed.isEmpty())
        return std::nullopt;
    QStringList names;
    for (QStringView part : trimmed.split(QLatin1Char('\\'))) {
        if (!isValidKeyName(part.toString()) || names.size() >= kMaxKeyDepth)
            return std::nullopt;
        names.append(part.toString());
    }
    return names;
}

Status RegistryFile::parse(const QByteArray& bytes, RegistryNode& root)
{
    const QString component = QStringLiteral("Settings file");
    root = RegistryNode();
    if (bytes.size() > kMaxFileSize)
        return Status::failure(component, QStringLiteral("the file is larger than %1 MiB").arg(kMaxFileSize / (1024 * 1024)));
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return Status::failure(component, QStringLiteral("the file is not UTF-8 text"));
    RegistryNode* key = nullptr;
    qsizetype lineNumber = 0;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        ++lineNumber;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        QString fault;
        const bool ok = line.startsWith(QLatin1Char('['))
            ? (key = parseKeyLine(line, root, &fault)) != nullptr
            : parseValueLine(line, key, &fault);
        if (!ok) {
            root = RegistryNode();
            return Status::failure(component, QStringLiteral("line %1: %2").arg(lineNumber).arg(fault));
        }
    }
    return Status();
}

QByteArray RegistryFile::serialize(const RegistryNode& root)
{
    QString out = QStringLiteral("; Folvane III settings: keys in [brackets], typed values below them.\n\n");
    writeKey(root, QString(), out);
    return out.toUtf8();
}
