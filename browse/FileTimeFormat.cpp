#include "browse/FileTimeFormat.h"

#include <ctime>

namespace {

// The first separator character of a locale pattern ("." in "dd.MM.yy"), or the fallback.
QChar separatorIn(const QString& pattern, QChar fallback)
{
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
    }
    return fallback;
}

// Qt's long time format ends with the time zone ("t"), which the column leaves out.
QString withoutZone(const QString& pattern)
{
    QString result;
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            result += c;
    }
    return result.trimmed();
}

} // namespace

FileTimeFormat::FileTimeFormat(TDtFormat date, TTmFormat time, const QLocale& locale)
    : m_locale(locale)
{
    m_am = {locale.amText().toLower(), locale.amText().toUpper()};
    m_pm = {locale.pmText().toLower(), locale.pmText().toUpper()};
    const QChar dateSeparator = separatorIn(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
    const QChar timeSeparator = separatorIn(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    QString pattern = datePattern(date, locale) + QLatin1Char(' ') + timePattern(time, locale);
    QString replaced;
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('/'))
            c = dateSeparator;
        else if (!quoted && c == QLatin1Char(':'))
            c = timeSeparator;
        replaced += c;
    }
    m_pattern = replaced;
    compile(m_pattern);
}

QString FileTimeFormat::datePattern(TDtFormat date, const QLocale& locale)
{
    switch (date) {
    case TDtFormat::df_MMddyyyy: return QStringLiteral("MM/dd/yyyy");
    case TDtFormat::df_MMddyy: return QStringLiteral("MM/dd/yy");
    case TDtFormat::df_ddMMyyyy: return QStringLiteral("dd/MM/yyyy");
    case TDtFormat::df_ddMMyy_GB: return QStringLiteral("dd/MM/yy");
    case TDtFormat::df_ddMMyy_DE: return QStringLiteral("dd.MM.yy");
    case TDtFormat::df_ddMMyy_IT: return QStringLiteral("dd-MM-yy");
    case TDtFormat::df_yyyyMMdd: return QStringLiteral("yyyy-MM-dd");
    case TDtFormat::df_yyMMdd: return QStringLiteral("yy-MM-dd");
    case TDtFormat::df_Customize: break;
    }
    return locale.dateFormat(QLocale::ShortFormat);
}

QString FileTimeFormat::timePattern(TTmFormat time, const QLocale& locale)
{
    switch (time) {
    case TTmFormat::tfLongFormat: return withoutZone(locale.timeFormat(QLocale::LongFormat));
    case TTmFormat::tfShortFormat: return withoutZone(locale.timeFormat(QLocale::ShortFormat));
    case TTmFormat::tfCustomize: break;
    }
    // The locale's time format up to its first "t", then the day half.
    QString pattern = locale.timeFormat(QLocale::LongFormat);
    const qsizetype t = pattern.indexOf(QLatin1Char('t'));
    if (t >= 0)
        pattern.truncate(t);
    pattern.remove(QStringLiteral("AP")).remove(QStringLiteral("ap"));
    // With the day half shown, hours count to 12 also where the locale writes 24-hour "HH".
    pattern.replace(QLatin1Char('H'), QLatin1Char('h'));
    return pattern.trimmed() + QStringLiteral(" AP");
}

void FileTimeFormat::compile(const QString& pattern)
{
    m_tokens.clear();
    auto literal = [this](const QString& text) {
        if (!m_tokens.empty() && m_tokens.back().field == Field::Literal)
            m_tokens.back().text += text;
        else
            m_tokens.push_back({Field::Literal, 0, text});
    };
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern[i];
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        const int width = int(run);
        switch (c.unicode()) {
        case 'd': m_tokens.push_back({width >= 3 ? Field::DayName : Field::Day, std::min(width, 4), {}}); break;
        case 'M': m_tokens.push_back({width >= 3 ? Field::MonthName : Field::Month, std::min(width, 4), {}}); break;
        case 'y': m_tokens.push_back({Field::Year, width >= 4 ? 4 : 2, {}}); break;
        case 'H': m_tokens.push_back({Field::Hour24, std::min(width, 2), {}}); break;
        case 'h': m_tokens.push_back({Field::Hour12, std::min(width, 2), {}}); break;
        case 'm': m_tokens.push_back({Field::Minute, std::min(width, 2), {}}); break;
        case 's': m_tokens.push_back({Field::Second, std::min(width, 2), {}}); break;
        case 't': m_tokens.push_back({Field::Zone, 0, {}}); break;
        case 'z': break; // milliseconds are not shown
        case 'A':
        case 'a':
            run = (i + 1 < pattern.size() && pattern[i + 1].toLower() == QLatin1Char('p')) ? 2 : 1;
            m_tokens.push_back({Field::AmPm, c == QLatin1Char('A') ? 1 : 0, {}});
            break;
        case '\'': {
            const qsizetype end = pattern.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            literal(stop == i + 1 ? QStringLiteral("'") : pattern.mid(i + 1, stop - i - 1));
            run = stop - i + 1;
            break;
        }
        default: literal(QString(run, c)); break;
        }
        i += run;
    }
    // Hours are 12-hour only where the pattern shows the day half, as in Qt's patterns.
    m_twelveHour = false;
    for (const Token& token : m_tokens)
        m_twelveHour |= token.field == Field::AmPm;
}

QString FileTimeFormat::format(int64_t seconds) const
{
    const time_t t = time_t(seconds);
    struct tm local;
    if (!localtime_r(&t, &local))
        return QString();
    QString text;
    text.reserve(24);
    auto number = [&text](int value, int width) {
        const QString digits = QString::number(value);
        for (qsizetype pad = width - digits.size(); pad > 0; --pad)
            text += QLatin1Char('0');
        text += digits;
    };
    for (const Token& token : m_tokens) {
        switch (token.field) {
        case Field::Literal: text += token.text; break;
        case Field::Day: number(local.tm_mday, token.width); break;
        case Field::DayName:
            text += m_locale.dayName(local.tm_wday == 0 ? 7 : local.tm_wday, token.width == 4 ? QLocale::LongFormat : QLocale::ShortFormat);
            break;
        case Field::Month: number(local.tm_mon + 1, token.width); break;
        case Field::MonthName:
            text += m_locale.monthName(local.tm_mon + 1, token.width == 4 ? QLocale::LongFormat : QLocale::ShortFormat);
            break;
        case Field::Year: number(token.width == 4 ? local.tm_year + 1900 : (local.tm_year + 1900) % 100, token.width); break;
        case Field::Hour24: number(local.tm_hour, token.width); break;
        case Field::Hour12: {
            const int hour = m_twelveHour ? (local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12) : local.tm_hour;
            number(hour, token.width);
            break;
        }
        case Field::Minute: number(local.tm_min, token.width); break;
        case Field::Second: number(local.tm_sec, token.width); break;
        case Field::AmPm: text += (local.tm_hour < 12 ? m_am : m_pm).at(token.width); break;
        case Field::Zone: text += QString::fromLocal8Bit(local.tm_zone); break;
        }
    }
    return text;
}
