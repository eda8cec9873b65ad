#pragma once
// PlayProgramSound: the optional sound library "libfv3audio.so" beside the program. Each
// call loads it, calls the export of the given name (no arguments, no result) and unloads
// it. The library is loaded only from the program's own folder by its absolute path, never
// through a search path that could reach a folder the user browses. A missing library, a
// missing export or sounds switched off (fv3sounds) are silent.

#include <QString>

class ProgramSound {
public:
    static constexpr const char* kLibraryName = "libfv3audio.so";

    static void setEnabled(bool enabled);
    static bool isEnabled();

    // True when the export was found and called.
    static bool play(const char* entryName);
    static bool playFrom(const QString& folder, const char* entryName);
};

// The program's name for it.
inline bool PlayProgramSound(const char* entryName)
{
    return ProgramSound::play(entryName);
}
