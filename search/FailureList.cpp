#include "search/FailureList.h"

QString FailureList::text(const QStringList& lines)
{
    QStringList shown = lines.mid(0, kShownLines);
    if (lines.size() > kShownLines)
        shown.append(QStringLiteral("... and %1 more files").arg(lines.size() - kShownLines));
    return shown.join(QStringLiteral("\r\n"));
}
