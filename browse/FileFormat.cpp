#include "browse/FileFormat.h"

#include <cstdio>
#include <cstdlib>

QString FormatFileSize(int64_t size, const QLocale& locale)
{
    constexpr double kilo = 1024.0, mega = 1048576.0, giga = 1073741824.0;
    const double value = double(size);
    if (size < 1000)
        return locale.toString(value, 'f', 2) + QStringLiteral(" Bytes");
    if (size < 1048576)
        return locale.toString(value / kilo, 'f', 2) + QStringLiteral(" KB");
    if (size < 1073741824)
        return locale.toString(value / mega, 'f', 2) + QStringLiteral(" MB");
    return locale.toString(value / giga, 'f', 2) + QStringLiteral(" GB");
}

namespace FileFormat {

QString sizeColumn(int64_t size, TFileSize unit)
{
    if (unit == TFileSize::fsByte)
        return QString::number(size);
    const int64_t counted = size > 0 && size < 1024 ? 1024 : size;
    return QString::number(counted / 1024) + QStringLiteral(" KB");
}

QString driveMegabytes(int64_t kilobytes, const QLocale& locale)
{
    return locale.toString(double(kilobytes) / 1024.0, 'f', 0) + QStringLiteral(" Mb");
}

QString dateKey(int64_t seconds, uint32_t nanoseconds, const QLocale& locale)
{
    constexpr int64_t epochDifference = 11644473600; // seconds from 1601 to 1970
    const double units = double(seconds + epochDifference) * 1e7 + double(nanoseconds / 100);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", units);
    // buffer: d.dddddddddddddde±XX; drop trailing zeros of the mantissa and the exponent's
    // sign and leading zeros.
    QString text = QString::fromLatin1(buffer);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    QString mantissa = text.left(e);
    while (mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);
    if (mantissa.endsWith(QLatin1Char('.')))
        mantissa.chop(1);
    mantissa.replace(QLatin1Char('.'), locale.decimalPoint());
    const int exponent = text.mid(e + 1).toInt();
    if (exponent >= 0 && exponent < 15) {
        // Small counts (times near 1601) stay in plain digits.
        return locale.toString(units, 'f', 0).remove(locale.groupSeparator());
    }
    return mantissa + (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E")) + QString::number(std::abs(exponent));
}

} // namespace FileFormat
