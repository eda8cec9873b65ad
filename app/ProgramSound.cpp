#include "app/ProgramSound.h"

#include "app/FolvaneApplication.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

bool soundsEnabled = true;

} // namespace

void ProgramSound::setEnabled(bool enabled)
{
    soundsEnabled = enabled;
}

bool ProgramSound::isEnabled()
{
    return soundsEnabled;
}

bool ProgramSound::play(const char* entryName)
{
    return playFrom(FolvaneApplication::ProgramFolder(), entryName);
}

bool ProgramSound::playFrom(const QString& folder, const char* entryName)
{
    // Only an absolute folder: a relative one would resolve against the working folder.
    if (!soundsEnabled || !QDir::isAbsolutePath(folder))
        return false;
    const QString path = QFileInfo(folder + QLatin1String(kLibraryName)).absoluteFilePath();
    if (!QFileInfo(path).isFile())
        return false;
    QLibrary library(path);
    using Entry = void (*)();
    const auto entry = reinterpret_cast<Entry>(library.resolve(entryName));
    if (entry)
        entry();
    library.unload();
    return entry != nullptr;
}
