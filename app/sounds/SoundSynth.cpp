#include "app/sounds/SoundSynth.h"

#include <algorithm>
#include <cmath>

namespace SoundSynth {
namespace {

// A sound is one or two notes played one after the other, each a sine whose pitch glides from
// `from` to `to` Hz under an envelope that rises in a few milliseconds (no click) and decays.
struct Note {
    double from;
    double to;
    int ms;
    double decay; // per second
};

struct Sound {
    const char* name;
    std::vector<Note> notes;
};

const std::vector<Sound>& sounds()
{
    static const std::vector<Sound> all = {
        {"fv3start", {{523.25, 523.25, 110, 9.0}, {783.99, 783.99, 190, 7.0}}}, // a rising fifth
        {"fv3end", {{783.99, 783.99, 110, 9.0}, {523.25, 523.25, 190, 7.0}}},   // falling back
        {"fv3plop", {{900.0, 220.0, 90, 30.0}}},                                 // a drop into water
        {"fvplop", {{650.0, 160.0, 110, 25.0}}},                                 // a lower one
    };
    return all;
}

const Sound* find(const std::string& name)
{
    for (const Sound& sound : sounds()) {
        if (name == sound.name)
            return &sound;
    }
    return nullptr;
}

void appendLe(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((value >> (8 * i)) & 0xff));
}

void appendNote(std::string& out, const Note& note)
{
    const int samples = int(kSampleRate * std::uint32_t(note.ms) / 1000);
    const int attack = int(kSampleRate / 200); // 5 ms
    double phase = 0;
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / kSampleRate;
        const double progress = double(i) / samples;
        const double frequency = note.from * std::pow(note.to / note.from, progress);
        phase += 2 * M_PI * frequency / kSampleRate;
        // Ramps in and out so that neither end clicks.
        const double edge = std::min({1.0, double(i) / attack, double(samples - i) / attack});
        const double level = 0.45 * edge * std::exp(-note.decay * t);
        appendLe(out, std::uint16_t(std::int16_t(std::lround(32767 * level * std::sin(phase)))), 2);
    }
}

} // namespace

std::vector<std::string> names()
{
    std::vector<std::string> out;
    for (const Sound& sound : sounds())
        out.emplace_back(sound.name);
    return out;
}

int durationMs(const std::string& name)
{
    const Sound* sound = find(name);
    int ms = 0;
    for (const Note& note : sound ? sound->notes : std::vector<Note>())
        ms += note.ms;
    return ms;
}

std::string wav(const std::string& name)
{
    const Sound* sound = find(name);
    if (!sound)
        return {};
    std::string pcm;
    for (const Note& note : sound->notes)
        appendNote(pcm, note);
    const std::uint16_t blockAlign = kChannels * kBitsPerSample / 8;
    std::string out = "RIFF";
    appendLe(out, std::uint32_t(kHeaderBytes - 8 + pcm.size()), 4);
    out += "WAVEfmt ";
    appendLe(out, 16, 4); // the PCM fmt chunk's size
    appendLe(out, 1, 2);  // PCM
    appendLe(out, kChannels, 2);
    appendLe(out, kSampleRate, 4);
    appendLe(out, kSampleRate * blockAlign, 4);
    appendLe(out, blockAlign, 2);
    appendLe(out, kBitsPerSample, 2);
    out += "data";
    appendLe(out, std::uint32_t(pcm.size()), 4);
    return out + pcm;
}

} // namespace SoundSynth
