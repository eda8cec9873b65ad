#include "media/DurationText.h"

#include <cfenv>
#include <cmath>

namespace media {

double roundHalfEven(double value)
{
    // nearbyint follows the current rounding mode; set it explicitly so a caller that changed
    // it cannot change our results.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(saved);
    return rounded;
}

QString formatDurationText(double seconds)
{
    // Ten thousand years is far beyond any audio file and keeps the arithmetic in range.
    if (!std::isfinite(seconds) || seconds < 0 || seconds > 3.2e11)
        seconds = 0;
    const qint64 whole = qint64(roundHalfEven(seconds));
    const qint64 hours = whole / 3600;
    const qint64 minutes = whole / 60 % 60;
    const qint64 secs = whole % 60;
    if (whole < 3600)
        return QStringLiteral("%1:%2").arg(whole / 60).arg(secs, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(secs, 2, 10, QLatin1Char('0'));
}

} // namespace media
