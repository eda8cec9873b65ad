#include "platform/FileMask.h"

namespace {

// Iterative wildcard match with one back-tracking point: linear in practice, and no
// recursion however many stars a mask holds.
bool wildcardMatch(const QString& pattern, const QString& name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

} // namespace

FileMask::FileMask(const QString& text)
{
    QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        trimmed = QStringLiteral("*.*");
    for (const QString& part : trimmed.split(QLatin1Char(';'))) {
        if (part == QLatin1String("*") || part == QLatin1String("*.*"))
            m_everything = true;
        m_parts.append(part.toCaseFolded());
    }
}

bool FileMask::matches(const QString& name) const
{
    if (m_everything)
        return true;
    const QString folded = name.toCaseFolded();
    for (const QString& part : m_parts) {
        if (wildcardMatch(part, folded))
            return true;
    }
    return false;
}
