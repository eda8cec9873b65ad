#include "search/NameMatcher.h"

#include "platform/FileName.h"
#include "platform/WildcardMatch.h"

#include <cstring>

namespace {

inline unsigned char foldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool containsFolded(QByteArrayView haystack, QByteArrayView needle)
{
    if (needle.size() > haystack.size())
        return false;
    const qsizetype last = haystack.size() - needle.size();
    for (qsizetype i = 0; i <= last; ++i) {
        qsizetype k = 0;
        while (k < needle.size() && foldAscii(haystack[i + k]) == static_cast<unsigned char>(needle[k]))
            ++k;
        if (k == needle.size())
            return true;
    }
    return false;
}

} // namespace

bool NameMatcher::hasWildcards(const QString& pattern)
{
    return pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'));
}

NameMatcher::NameMatcher(const QString& pattern)
    : m_pattern(pattern)
    , m_wildcards(hasWildcards(pattern))
    , m_mask(m_wildcards ? pattern : QStringLiteral("*"))
    , m_asciiPattern(isAscii(pattern))
{
    if (!m_asciiPattern)
        return;
    if (!m_wildcards) {
        m_asciiParts.push_back(pattern.toLatin1().toLower());
        return;
    }
    for (const QString& part : m_mask.parts())
        m_asciiParts.push_back(part.toLatin1());
}

bool NameMatcher::matches(QByteArrayView name) const
{
    if (m_wildcards && m_mask.matchesEverything())
        return true;
    if (!m_asciiPattern || !isAscii(name))
        return matchesText(name);
    if (!m_wildcards)
        return containsFolded(name, m_asciiParts.front());
    for (const QByteArray& part : m_asciiParts) {
        if (WildcardMatch(QByteArrayView(part), name,
                          [](char p, char n) { return static_cast<unsigned char>(p) == foldAscii(static_cast<unsigned char>(n)); }))
            return true;
    }
    return false;
}

bool NameMatcher::matchesText(QByteArrayView name) const
{
    const QString text = FileName::decode(name);
    if (m_wildcards)
        return m_mask.matches(text);
    return text.contains(m_pattern, Qt::CaseInsensitive);
}
