#include "internet/SavePageName.h"

QString SavePageName::finalName(const QString& chosen)
{
    // Only the file name's own dot counts ("my.pages/page" has no extension), and not the
    // leading dot of a hidden name.
    const qsizetype slash = chosen.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = chosen.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > slash + 1 ? chosen.left(dot) : chosen;
    return base + QStringLiteral(".HTML");
}
