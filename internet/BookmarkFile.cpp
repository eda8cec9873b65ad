#include "internet/BookmarkFile.h"

#include "platform/FileDescriptor.h"
#include "platform/FileName.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

const QLatin1String kDoctype("NETSCAPE-Bookmark-file-1");
constexpr qint64 kLatestDate = 253402300799; // 9999-12-31: a larger ADD_DATE is not a date
constexpr qsizetype kMaxReference = 12;       // "#x0010FFFF" and the named ones fit

Status refused(const QString& reason)
{
    return Status::failure(QStringLiteral("Favorites"), reason);
}

// The text of a file: UTF-8 when the bytes are valid UTF-8 (a byte order mark dropped), else
// the bytes of an older one-byte code page, read as Latin-1.
QString decoded(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    return text;
}

// The character a reference stands for ("amp", "#39", "#x27"); nothing for an unknown name
// or a number that is no character.
QString referenced(QStringView name)
{
    static const struct {
        const char* name;
        char16_t character;
    } kNamed[] = {{"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}, {"nbsp", u'\u00a0'}};
    if (name.startsWith(u'#')) {
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        QStringView digits = name.mid(hex ? 2 : 1);
        if (digits.isEmpty() || digits.size() > 8)
            return QString();
        bool ok = false;
        const uint code = digits.toUInt(&ok, hex ? 16 : 10);
        if (!ok || code == 0 || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return QString();
        const char32_t character = code;
        return QString::fromUcs4(&character, 1);
    }
    for (const auto& entry : kNamed) {
        if (name == QLatin1String(entry.name))
            return QString(QChar(entry.character));
    }
    return QString();
}

// Text with its character references replaced; a reference that is not one stays as written.
QString unescaped(QStringView raw)
{
    QString text;
    text.reserve(raw.size());
    qsizetype at = 0;
    while (at < raw.size()) {
        const qsizetype amp = raw.indexOf(u'&', at);
        if (amp < 0)
            break;
        text += raw.mid(at, amp - at);
        // A reference is short: looking further for its ';' would make a text of many '&'
        // take quadratic time.
        const qsizetype length = raw.mid(amp + 1, kMaxReference).indexOf(u';');
        const qsizetype end = length > 0 ? amp + 1 + length : -1;
        const QString character = end > 0 ? referenced(raw.mid(amp + 1, length)) : QString();
        if (character.isEmpty()) {
            text += u'&';
            at = amp + 1;
        } else {
            text += character;
            at = end + 1;
        }
    }
    text += raw.mid(at);
    return text;
}

qint64 dateOf(const QString& value)
{
    bool ok = false;
    const qint64 seconds = value.trimmed().toLongLong(&ok);
    return ok && seconds > 0 && seconds <= kLatestDate ? seconds : 0;
}

struct Tag {
    QString name; // upper case
    bool closing = false;
    QList<std::pair<QString, QString>> attributes; // names upper case, values unescaped

    QString attribute(QLatin1String wanted) const
    {
        for (const auto& [name, value] : attributes) {
            if (name == wanted)
                return value;
        }
        return QString();
    }
};

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':' || c == u'.';
}

// Splits the text into tags and the text between them. Comments, declarations and
// processing instructions are passed over; a '<' that starts none of these is text.
class Scanner {
public:
    enum class Token { Text, Tag, End, Broken };

    explicit Scanner(QStringView text)
        : m_text(text)
    {
    }

    Token next()
    {
        for (;;) {
            if (m_at >= m_text.size())
                return Token::End;
            if (m_text[m_at] != u'<' || !startsMarkup(m_at + 1)) {
                qsizetype end = m_at + 1;
                while (end < m_text.size() && !(m_text[end] == u'<' && startsMarkup(end + 1)))
                    ++end;
                m_chunk = m_text.mid(m_at, end - m_at);
                m_at = end;
                return Token::Text;
            }
            const QChar kind = m_text[m_at + 1];
            if (kind != u'!' && kind != u'?')
                return readTag() ? Token::Tag : Token::Broken;
            if (!skipDeclaration())
                return Token::Broken;
        }
    }

    QStringView chunk() const { return m_chunk; }
    const Tag& tag() const { return m_tag; }
    const QString& problem() const { return m_problem; }

    // Whether the text begins (after white space and comments) with the bookmark doctype.
    static bool beginsWithDoctype(QStringView text)
    {
        Scanner scanner(text);
        for (;;) {
            scanner.skipSpace();
            if (scanner.m_text.mid(scanner.m_at).startsWith(u"<!--")) {
                if (!scanner.skipDeclaration())
                    return false;
                continue;
            }
            const QStringView rest = scanner.m_text.mid(scanner.m_at);
            if (!rest.startsWith(u"<!DOCTYPE", Qt::CaseInsensitive))
                return false;
            const qsizetype close = rest.indexOf(u'>');
            return close > 0 && rest.mid(9, close - 9).trimmed().compare(kDoctype, Qt::CaseInsensitive) == 0;
        }
    }

private:
    bool startsMarkup(qsizetype at) const
    {
        if (at >= m_text.size())
            return false;
        const QChar c = m_text[at];
        if (c == u'/')
            return at + 1 < m_text.size() && m_text[at + 1].isLetter();
        return c.isLetter() || c == u'!' || c == u'?';
    }

    void skipSpace()
    {
        while (m_at < m_text.size() && m_text[m_at].isSpace())
            ++m_at;
    }

    bool skipDeclaration()
    {
        const bool comment = m_text.mid(m_at).startsWith(u"<!--");
        const qsizetype end = comment ? m_text.indexOf(u"-->", m_at + 4) : m_text.indexOf(u'>', m_at + 2);
        if (end < 0) {
            m_problem = comment ? QStringLiteral("the file ends inside a comment") : QStringLiteral("the file ends inside a tag");
            return false;
        }
        m_at = end + (comment ? 3 : 1);
        return true;
    }

    QString name()
    {
        const qsizetype start = m_at;
        while (m_at < m_text.size() && isNameChar(m_text[m_at]))
            ++m_at;
        return m_text.mid(start, m_at - start).toString().toUpper();
    }

    // An attribute's value after '=': quoted (a '>' inside belongs to it) or bare.
    std::optional<QString> value()
    {
        skipSpace();
        if (m_at >= m_text.size())
            return std::nullopt;
        const QChar quote = m_text[m_at];
        if (quote == u'"' || quote == u'\'') {
            const qsizetype end = m_text.indexOf(quote, m_at + 1);
            if (end < 0)
                return std::nullopt;
            const QStringView raw = m_text.mid(m_at + 1, end - m_at - 1);
            m_at = end + 1;
            return unescaped(raw);
        }
        const qsizetype start = m_at;
        while (m_at < m_text.size() && !m_text[m_at].isSpace() && m_text[m_at] != u'>')
            ++m_at;
        return unescaped(m_text.mid(start, m_at - start));
    }

    bool readTag()
    {
        m_tag = Tag();
        m_at += 1;
        m_tag.closing = m_text[m_at] == u'/';
        if (m_tag.closing)
            ++m_at;
        m_tag.name = name();
        for (;;) {
            skipSpace();
            if (m_at >= m_text.size())
                break;
            const QChar c = m_text[m_at];
            if (c == u'>') {
                ++m_at;
                return true;
            }
            const QString attribute = name();
            if (attribute.isEmpty()) {
                ++m_at; // a stray character, such as the '/' of "<br/>"
                continue;
            }
            skipSpace();
            if (m_at < m_text.size() && m_text[m_at] == u'=') {
                ++m_at;
                const std::optional<QString> text = value();
                if (!text)
                    break;
                m_tag.attributes.append({attribute, *text});
            } else {
                m_tag.attributes.append({attribute, QString()});
            }
        }
        m_problem = QStringLiteral("the file ends inside a tag");
        return false;
    }

    QStringView m_text;
    qsizetype m_at = 0;
    QStringView m_chunk;
    Tag m_tag;
    QString m_problem;
};

// Builds the tree from the tokens. The innermost open list is the top of m_open; a heading
// (<H3>) names the list that follows it; the text after <A> or <H3> up to the next tag that
// ends it is the entry's title, whether or not the closing tag is there.
class TreeBuilder {
public:
    TreeBuilder() { m_open.push_back(&m_root); }

    // False with problem() set when a limit is passed.
    bool take(const Tag& tag)
    {
        if (endsTitle(tag))
            finishTitle();
        if (tag.closing) {
            if (tag.name == QLatin1String("DL") && m_open.size() > 1) {
                m_open.pop_back();
                m_heading = -1;
            }
            return true;
        }
        if (tag.name == QLatin1String("DL"))
            return openList();
        if (tag.name == QLatin1String("H3"))
            return addEntry(true, QString(), tag.attribute(QLatin1String("ADD_DATE")));
        if (tag.name == QLatin1String("A"))
            return linkTag(tag);
        if (tag.name == QLatin1String("H1"))
            m_capture = Capture::RootTitle;
        return true;
    }

    void text(QStringView chunk)
    {
        if (m_capture != Capture::None)
            m_title += chunk;
    }

    BookmarkNode finish()
    {
        finishTitle();
        return std::move(m_root);
    }

    const QString& problem() const { return m_problem; }

private:
    enum class Capture { None, Entry, RootTitle };

    static bool endsTitle(const Tag& tag)
    {
        static const QLatin1String kEnders[] = {QLatin1String("A"), QLatin1String("H3"), QLatin1String("H1"),
                                                QLatin1String("DL"), QLatin1String("DT"), QLatin1String("DD"),
                                                QLatin1String("HR"), QLatin1String("P")};
        return std::find(std::begin(kEnders), std::end(kEnders), tag.name) != std::end(kEnders);
    }

    BookmarkNode& list() { return *m_open.back(); }

    void finishTitle()
    {
        const QString title = unescaped(m_title).simplified();
        if (m_capture == Capture::RootTitle)
            m_root.title = title;
        else if (m_capture == Capture::Entry)
            list().children.back().title = title;
        m_capture = Capture::None;
        m_title.clear();
    }

    bool openList()
    {
        // m_open holds the root twice (itself and the file's outer list) below the folders.
        if (int(m_open.size()) > BookmarkFile::kMaxDepth + 1) {
            m_problem = QStringLiteral("its folders are nested more than %1 deep").arg(BookmarkFile::kMaxDepth);
            return false;
        }
        // A list without a heading before it goes on with the list it is in (the file's
        // outermost list is one); its end closes nothing more.
        BookmarkNode* folder = m_heading >= 0 ? &list().children[size_t(m_heading)] : m_open.back();
        m_open.push_back(folder);
        m_heading = -1;
        return true;
    }

    bool linkTag(const Tag& tag)
    {
        const QString address = tag.attribute(QLatin1String("HREF")).trimmed();
        if (address.isEmpty())
            return true; // an anchor without an address is not a bookmark
        return addEntry(false, address, tag.attribute(QLatin1String("ADD_DATE")));
    }

    bool addEntry(bool isFolder, const QString& address, const QString& added)
    {
        if (++m_entries > BookmarkFile::kMaxEntries) {
            m_problem = QStringLiteral("it holds more than %1 entries").arg(BookmarkFile::kMaxEntries);
            return false;
        }
        BookmarkNode entry;
        entry.isFolder = isFolder;
        entry.address = address;
        entry.added = dateOf(added);
        list().children.push_back(std::move(entry));
        // Only the parent's own list grows here: the folders on m_open (that list and its
        // ancestors) stay where they are.
        m_heading = isFolder ? qsizetype(list().children.size()) - 1 : -1;
        m_capture = Capture::Entry;
        return true;
    }

    BookmarkNode m_root{QString(), QString(), 0, true, {}};
    std::vector<BookmarkNode*> m_open;
    qsizetype m_heading = -1; // the folder in list() whose <H3> came last, until a list opens
    qsizetype m_entries = 0;
    Capture m_capture = Capture::None;
    QString m_title;
    QString m_problem;
};

QString escaped(const QString& text, bool inAttribute)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += inAttribute ? QLatin1String("&quot;") : QLatin1String("\""); break;
        default: out += c;
        }
    }
    return out;
}

QString dateAttribute(qint64 added)
{
    return added > 0 ? QStringLiteral(" ADD_DATE=\"%1\"").arg(added) : QString();
}

void writeList(const BookmarkNode& folder, int depth, QString& out)
{
    const QString indent(depth * 4, u' ');
    out += indent + QLatin1String("<DL><p>\n");
    for (const BookmarkNode& child : folder.children) {
        const QString title = escaped(child.title, false);
        if (child.isFolder) {
            out += indent + QLatin1String("    <DT><H3") + dateAttribute(child.added) + u'>' + title + QLatin1String("</H3>\n");
            writeList(child, depth + 1, out);
        } else {
            out += indent + QLatin1String("    <DT><A HREF=\"") + escaped(child.address, true) + u'"' + dateAttribute(child.added)
                + u'>' + title + QLatin1String("</A>\n");
        }
    }
    out += indent + QLatin1String("</DL><p>\n");
}

Status readingFailed(const QString& path, const QString& reason)
{
    return refused(QStringLiteral("Cannot import %1: %2.").arg(path, reason));
}

} // namespace

qsizetype BookmarkNode::count() const
{
    qsizetype total = qsizetype(children.size());
    for (const BookmarkNode& child : children)
        total += child.count();
    return total;
}

Result<BookmarkNode> BookmarkFile::parse(const QByteArray& bytes)
{
    const QString text = decoded(bytes);
    if (!Scanner::beginsWithDoctype(text))
        return refused(QStringLiteral("it is not a bookmark file (it does not begin with <!DOCTYPE %1>)").arg(kDoctype));
    Scanner scanner(text);
    TreeBuilder builder;
    for (;;) {
        switch (scanner.next()) {
        case Scanner::Token::End:
            return builder.finish();
        case Scanner::Token::Broken:
            return refused(scanner.problem());
        case Scanner::Token::Text:
            builder.text(scanner.chunk());
            break;
        case Scanner::Token::Tag:
            if (!builder.take(scanner.tag()))
                return refused(builder.problem());
            break;
        }
    }
}

QByteArray BookmarkFile::write(const BookmarkNode& root)
{
    QString out = QLatin1String("<!DOCTYPE ") + kDoctype
        + QLatin1String(">\n<!-- This is an automatically generated file.\n     It will be read and overwritten.\n"
                        "     DO NOT EDIT! -->\n"
                        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n<H1>")
        + escaped(root.title, false) + QLatin1String("</H1>\n");
    writeList(root, 0, out);
    return out.toUtf8();
}

Result<BookmarkNode> BookmarkFile::read(const QString& path)
{
    const FileDescriptor file = FileDescriptor::open(FileName::encode(path), O_RDONLY);
    if (!file.isOpen())
        return readingFailed(path, QString::fromLocal8Bit(std::strerror(file.error())));
    struct stat st {};
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return readingFailed(path, QStringLiteral("it is not a file"));
    if (st.st_size > kMaxBytes)
        return readingFailed(path, QStringLiteral("it is larger than %1 MiB").arg(kMaxBytes / (1024 * 1024)));
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    const std::int64_t got = file.readAt(0, bytes.data(), bytes.size());
    if (got < 0)
        return readingFailed(path, QString::fromLocal8Bit(std::strerror(errno)));
    bytes.truncate(qsizetype(got));
    const Result<BookmarkNode> tree = parse(bytes);
    if (!tree)
        return readingFailed(path, tree.errorString());
    return tree;
}
