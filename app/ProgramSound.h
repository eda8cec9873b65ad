#pragma once
// PlayProgramSound: the program's own sound effects, the WAV files the build synthesises
// into sounds/ beside the program (sounds/NAME.wav, see app/sounds), played through the
// media player device. The file is taken only from the program's own folder by its absolute
// path, never from a folder the user browses. Sounds switched off (fv3sounds), a missing file
// or a machine without audio output are silent. Playing never waits: the sound runs on while
// the caller goes on.

#include <QString>

class ProgramSound {
public:
    static void setEnabled(bool enabled);
    static bool isEnabled();

    // The file of the named sound under folder (the program folder, ending in "/").
    static QString fileFor(const QString& folder, const char* entryName);

    // True when the sound's file was found and began to play.
    static bool play(const char* entryName);
    static bool playFrom(const QString& folder, const char* entryName);

    // Lets the sounds still playing end, for at most the given time (the end sound as the
    // program closes).
    static void finishPlaying(int maxMilliseconds);
};

// The program's name for it.
inline bool PlayProgramSound(const char* entryName)
{
    return ProgramSound::play(entryName);
}
