// A stand-in for the optional sound library: each export appends its own name to the file
// named by $FV3AUDIO_MARK, so a test can see which sound was played.
#include <cstdio>
#include <cstdlib>

namespace {

void mark(const char* name)
{
    if (const char* path = std::getenv("FV3AUDIO_MARK")) {
        if (FILE* file = std::fopen(path, "a")) {
            std::fprintf(file, "%s\n", name);
            std::fclose(file);
        }
    }
}

} // namespace

extern "C" {
__attribute__((visibility("default"))) void fv3start() { mark("fv3start"); }
__attribute__((visibility("default"))) void fv3end() { mark("fv3end"); }
__attribute__((visibility("default"))) void fv3plop() { mark("fv3plop"); }
}
