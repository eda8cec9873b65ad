// fv3soundgen FOLDER: writes the program's sound effects into FOLDER as NAME.wav (run by the
// build; the folder must exist).
#include "app/sounds/SoundSynth.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fv3soundgen FOLDER\n");
        return 2;
    }
    for (const std::string& name : SoundSynth::names()) {
        const std::string path = std::string(argv[1]) + "/" + name + ".wav";
        const std::string bytes = SoundSynth::wav(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush()) {
            std::fprintf(stderr, "fv3soundgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
