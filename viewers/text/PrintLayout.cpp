#include "viewers/text/PrintLayout.h"

QStringList PrintLayout::lines(const QStringList& text, int leftMargin, const std::optional<Selection>& selection)
{
    const QString margin(std::max(leftMargin, 0), QLatin1Char(' '));
    QStringList printed;
    if (!selection) {
        for (const QString& line : text)
            printed.append(margin + line);
        return printed;
    }
    const int first = std::max(selection->firstLine, 1);
    const int last = std::min<int>(selection->lastLine, int(text.size()));
    for (int n = first; n <= last; ++n) {
        QString line = text[n - 1];
        if (n == last)
            line.truncate(std::max(selection->lastColumn, 0));
        if (n == first) {
            const int blank = std::min<int>(std::max(selection->firstColumn - 1, 0), int(line.size()));
            line.replace(0, blank, QString(blank, QLatin1Char(' ')));
        }
        printed.append(margin + line);
    }
    return printed;
}
