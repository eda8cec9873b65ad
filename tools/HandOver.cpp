#include "HandOver.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <unistd.h>

namespace fvtool {

std::string handOver(const char* program, char** argv)
{
    // The program's own resolved path: fvtool reached through a link (PREFIX/bin) still
    // finds its partners in the program folder.
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self);
    if (length <= 0 || length == ssize_t(sizeof self))
        return std::string("fvtool: cannot find its own folder: ") + std::strerror(errno);
    std::string path(self, size_t(length));
    path.erase(path.rfind('/') + 1);
    path += program;
    ::execv(path.c_str(), argv);
    return "fvtool: cannot run " + path + ": " + std::strerror(errno);
}

} // namespace fvtool
