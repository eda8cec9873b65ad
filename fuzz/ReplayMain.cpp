// Replays fuzz inputs without libFuzzer: every file named on the command line, or every
// file inside a named folder, is fed once to LLVMFuzzerTestOneInput. A crash or a sanitizer
// report fails the run; a clean pass prints how many inputs it replayed.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int replayFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    int replayed = 0;
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    failed += replayFile(entry.path());
                    ++replayed;
                }
            }
        } else {
            failed += replayFile(arg);
            ++replayed;
        }
    }
    // An empty corpus still exercises the parser once with no bytes at all.
    if (replayed == 0)
        LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d inputs\n", replayed);
    return failed == 0 ? 0 : 1;
}
