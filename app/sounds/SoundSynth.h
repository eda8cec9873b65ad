#pragma once
// The program's own sound effects, synthesised: short mono 16-bit PCM WAV files, one per
// sound the program plays ("fv3start", "fv3end", "fv3plop", "fvplop"). The build writes them
// beside the program (sounds/NAME.wav) with the fv3soundgen tool; plain C++, no Qt, so the
// tool builds before anything else.

#include <cstdint>
#include <string>
#include <vector>

namespace SoundSynth {

inline constexpr std::uint32_t kSampleRate = 22050;
inline constexpr std::uint16_t kBitsPerSample = 16;
inline constexpr std::uint16_t kChannels = 1;
inline constexpr std::size_t kHeaderBytes = 44;

// The names of the sounds, in a fixed order.
std::vector<std::string> names();

// The length of the named sound in milliseconds (0 for an unknown name).
int durationMs(const std::string& name);

// The complete WAV file of the named sound (RIFF header, fmt and data chunks); empty for an
// unknown name.
std::string wav(const std::string& name);

} // namespace SoundSynth
