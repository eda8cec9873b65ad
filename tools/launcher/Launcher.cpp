// fvtool COMMAND [ARGS...]: the command-line front of Folvane III, a small program with no
// Qt. It decodes a JPEG itself for `fvtool image` (scripts and benchmarks time it, and
// loading Qt would cost more than a small picture's decoding); every other command line goes,
// in place of this process, to the Qt program that holds the command: fvtool-light for
// the light commands, fvtool-full for the others, for --help and for no command (see
// tools/CMakeLists.txt).
#include "HandOver.h"
#include "JpegImage.h"

#include <cstdio>
#include <cstring>

namespace {

// The commands of fvtool-light, generated from its command files.
constexpr const char* kLightCommands[] = {
#include "LightCommands.inc"
};

bool isLightCommand(const char* name)
{
    for (const char* light : kLightCommands) {
        if (std::strcmp(name, light) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> status = fvtool::runJpegImage(argc, argv))
        return *status;
    // Without fvtool-full, fvtool-light runs in its place: it runs its own commands and says
    // what it cannot run.
    if (argc < 2 || !isLightCommand(argv[1]))
        fvtool::handOver("fvtool-full", argv);
    const std::string failure = fvtool::handOver("fvtool-light", argv);
    std::fprintf(stderr, "%s\n", failure.c_str());
    return 127;
}
