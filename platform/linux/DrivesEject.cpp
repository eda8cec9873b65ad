// Ejecting and cycling a drive's medium, apart from the rest of Drives.cpp: these reach
// UDisks2 over D-Bus, and a program that only lists drives and their files (fvtool's light
// commands) then does not load the D-Bus library at start.
#include "platform/Drives.h"

#include "platform/Prompter.h"
#include "platform/linux/MediaEject.h"

bool EjectMedia(const QString& root)
{
    const DriveInfo drive = DriveOfPath(root);
    if (!drive.device.startsWith(QLatin1String("/dev/")))
        return false;
    const Result<MediaEject::Outcome> ejected = MediaEject::ejectWithUDisks(drive.device);
    if (!ejected) {
        Prompter::instance().error(ejected.errorString());
        return false;
    }
    return *ejected == MediaEject::Outcome::Done || MediaEject::ejectWithIoctl(drive.device);
}

void CycleMedia(const QString& root)
{
    const DriveInfo drive = DriveOfPath(root);
    if (drive.device.startsWith(QLatin1String("/dev/")))
        MediaEject::cycleWithIoctl(drive.device);
}
