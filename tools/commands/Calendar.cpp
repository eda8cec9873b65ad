// fvtool calendar YEAR: prints the year calendar exactly as the calendar window saves it.
#include "Command.h"

#include "accessories/YearCalendar.h"

static int runCalendar(const QStringList& args)
{
    bool ok = false;
    const int year = args.value(0).toInt(&ok);
    if (args.size() != 1 || !ok || year < YearCalendar::kFirstYear || year > YearCalendar::kLastYear) {
        fvtool::err(QStringLiteral("usage: fvtool calendar YEAR (1 to 9999)"));
        return 2;
    }
    QString text = YearCalendar::text(year);
    text.chop(1); // out() ends the line itself
    fvtool::out(text);
    return 0;
}

FVTOOL_COMMAND(calendar, "calendar YEAR", runCalendar)
