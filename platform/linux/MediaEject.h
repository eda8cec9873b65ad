#pragma once
// Eject and load requests for a drive's medium: UDisks2 over the system bus where it runs
// (it unmounts first and works for USB sticks too), else the CD-ROM ioctls on the device.

#include "platform/Status.h"

#include <QString>

namespace MediaEject {

enum class Outcome { Done, Unavailable };

// Unmounts the device's file system and ejects its drive through UDisks2. Unavailable when
// there is no system bus or no UDisks2 on it or it does not know the device; a failure with
// the service's error text otherwise.
Result<Outcome> ejectWithUDisks(const QString& device);
// The CD-ROM eject request on the device (opened non-blocking, so an empty tray is fine).
bool ejectWithIoctl(const QString& device);
// Eject followed by the close-tray request.
bool cycleWithIoctl(const QString& device);

} // namespace MediaEject
