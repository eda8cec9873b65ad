#include "platform/FileMask.h"

#include "platform/WildcardMatch.h"

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
        if (WildcardMatch(part, folded, [](QChar a, QChar b) { return a == b; }))
            return true;
    }
    return false;
}
