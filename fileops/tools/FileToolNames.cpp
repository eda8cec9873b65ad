#include "fileops/tools/FileToolNames.h"

namespace FileToolNames {

SplitName split(const QString& name)
{
    qsizetype first = 0;
    while (first < name.size() && name[first] == QLatin1Char('.'))
        ++first;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < first)
        return {name, QString()};
    return {name.left(dot), name.mid(dot)};
}

QString changedExtension(const QString& name, const QString& extension)
{
    return split(name).stem + QLatin1Char('.') + extension;
}

QString appended(const QString& name, const QString& prefix, const QString& suffix)
{
    const SplitName parts = split(name);
    return prefix + parts.stem + suffix + parts.ext;
}

QString numbered(const QString& name, qint64 number)
{
    return paddedNumber(number) + split(name).ext;
}

QString searchReplaced(const QString& name, const QString& search, const QString& replacement)
{
    SplitName parts = split(name);
    if (!search.isEmpty())
        parts.stem.replace(search, replacement, Qt::CaseSensitive);
    return parts.stem + parts.ext;
}

QString paddedNumber(qint64 number)
{
    return QString::number(number).rightJustified(kNumberWidth, QLatin1Char('0'));
}

std::optional<qint64> firstNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (QChar c : trimmed) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok);
    // The last number must fit as well; a first number this large is not a numbering anyone means.
    if (!ok || value > (qint64(1) << 52))
        return std::nullopt;
    return value;
}

bool isSingleName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

} // namespace FileToolNames
