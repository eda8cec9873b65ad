#pragma once

#include <QString>

namespace media {

// "m:ss" below one hour, else "h:mm:ss", from a duration rounded to whole seconds (halves
// to the even neighbour). A negative or non-finite duration reads as 0:00.
QString formatDurationText(double seconds);

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

} // namespace media
