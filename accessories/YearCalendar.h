#pragma once
// The year calendar of the calendar window, as one text for a file or the printer: the
// year, then the months three by three, each a grid of six weeks starting on Sunday, and
// the program's notice centred at the end. Weekdays come from the real (proleptic
// Gregorian) calendar, so century years such as 1900 and 2100 are not leap years.

#include "platform/Status.h"

#include <QString>

class YearCalendar {
public:
    static constexpr int kFirstYear = 1;
    static constexpr int kLastYear = 9999;

    // Lines end with "\n". year must lie in kFirstYear..kLastYear.
    static QString text(int year);
    // The weekday of 1 January: 1 Sunday ... 7 Saturday.
    static int firstWeekday(int year);
    // The name proposed for the saved text: folder (with a trailing "/") + "FV" + year + ".txt".
    static QString proposedFileName(const QString& folder, int year);
    static QString notice();

    // Saves the year's text after the questions of the calendar window: the name (proposed in
    // folder; Cancel stops) and, for an existing file, "<name> exists, overwrite?" (No stops,
    // the file untouched). The file is written whole and renamed into place. Success also
    // when the user stopped; a failed write gives the reason.
    static Status saveAsking(int year, const QString& folder);
};
