#pragma once
// The date column's text: the last-write time in local time, written with a date pattern,
// one blank and a time pattern. The pattern is compiled once (when the formats are set);
// formatting a time then needs no parsing, so a folder of 100,000 files formats quickly.

#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

enum class TDtFormat {
    df_MMddyyyy,
    df_MMddyy,
    df_ddMMyyyy,
    df_ddMMyy_GB,
    df_ddMMyy_DE,
    df_ddMMyy_IT,
    df_yyyyMMdd,
    df_yyMMdd,
    df_Customize,
};

enum class TTmFormat { tfLongFormat, tfShortFormat, tfCustomize };

class FileTimeFormat {
public:
    FileTimeFormat(TDtFormat date = TDtFormat::df_Customize, TTmFormat time = TTmFormat::tfShortFormat,
                   const QLocale& locale = QLocale());

    // The whole pattern, with Qt's pattern letters ("MM/dd/yyyy h:mm AP"), after "/" and
    // ":" were replaced by the locale's separators.
    QString pattern() const { return m_pattern; }

    // The time (seconds since 1970, UTC) in local time.
    QString format(int64_t seconds) const;

    static QString datePattern(TDtFormat date, const QLocale& locale);
    static QString timePattern(TTmFormat time, const QLocale& locale);

private:
    enum class Field { Literal, Day, DayName, Month, MonthName, Year, Hour24, Hour12, Minute, Second, AmPm, Zone };
    struct Token {
        Field field;
        int width;           // digits, or 3/4 for short/long names; for AmPm 1 = upper, 0 = lower
        QString text;        // literal text
    };

    void compile(const QString& pattern);

    QString m_pattern;
    std::vector<Token> m_tokens;
    QLocale m_locale;
    QStringList m_am; // [lower, upper]
    QStringList m_pm;
    bool m_twelveHour = false;
};
