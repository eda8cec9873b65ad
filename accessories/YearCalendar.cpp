#include "accessories/YearCalendar.h"

#include "platform/AtomicFile.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/Prompter.h"

#include <QDate>
#include <QStringList>

namespace {

const char* const kMonthNames[] = {"January", "February", "March", "April", "May", "June",
                                   "July", "August", "September", "October", "November", "December"};
constexpr int kWeeks = 6;

QString centred(const QString& text, int width)
{
    const int left = qMax(0, (width - int(text.size())) / 2);
    return QString(QString(left, QLatin1Char(' ')) + text).leftJustified(width);
}

// One week line of a month: 7 cells of 3 characters and 4 blanks.
QString weekCells(int year, int month, int week)
{
    const QDate first(year, month, 1);
    const int offset = first.dayOfWeek() % 7; // Sunday first
    QString line;
    for (int column = 0; column < 7; ++column) {
        const int day = week * 7 + column - offset + 1;
        line += day >= 1 && day <= first.daysInMonth() ? QString::number(day).rightJustified(3) : QStringLiteral("   ");
    }
    return line + QStringLiteral("    ");
}

} // namespace

int YearCalendar::firstWeekday(int year)
{
    return QDate(year, 1, 1).dayOfWeek() % 7 + 1;
}

QString YearCalendar::notice()
{
    return QStringLiteral("FolVane III (File Manager Plus) - QuorVel");
}

QString YearCalendar::proposedFileName(const QString& folder, int year)
{
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + QStringLiteral("FV") + QString::number(year) + QStringLiteral(".txt");
}

QString YearCalendar::text(int year)
{
    const QString margin(5, QLatin1Char(' '));
    QStringList lines{QString(40, QLatin1Char(' ')) + QString::number(year), QString()};
    for (int quarter = 0; quarter < 4; ++quarter) {
        QString names = margin;
        QString days = margin;
        for (int m = 0; m < 3; ++m) {
            names += centred(QLatin1String(kMonthNames[quarter * 3 + m]), 25);
            days += QStringLiteral("  S  M  T  W  T  F  S    ");
        }
        lines << names << QString() << days;
        for (int week = 0; week < kWeeks; ++week) {
            QString line = margin;
            for (int m = 0; m < 3; ++m)
                line += weekCells(year, quarter * 3 + m + 1, week);
            lines << line;
        }
        lines << margin;
    }
    lines << centred(notice(), 80);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

Status YearCalendar::saveAsking(int year, const QString& folder)
{
    const QString title = QStringLiteral("Name of text file for \"") + QString::number(year) + QStringLiteral("\" Calendar");
    const std::optional<QString> name = Prompter::instance().askText(title, QStringLiteral("Name:"), proposedFileName(folder, year));
    if (!name || name->trimmed().isEmpty())
        return Status();
    if (LocalFiles::exists(*name) && !Prompter::instance().confirm(*name + QStringLiteral(" exists, overwrite?")))
        return Status();
    return AtomicFile::replace(FileName::encode(*name), text(year).toUtf8(), 0644);
}
