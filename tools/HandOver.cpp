#include "HandOver.h"

#include "Command.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include <unistd.h>

namespace fvtool {

void handOver(char** argv)
{
    // The program's own resolved path: fvtool reached through a link (PREFIX/bin) still
    // finds its partner in the program folder.
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self);
    if (length <= 0 || length == ssize_t(sizeof self)) {
        err(QStringLiteral("fvtool: cannot find its own folder: ") + QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    std::string full(self, size_t(length));
    full.erase(full.rfind('/') + 1);
    full += "fvtool-full";
    ::execv(full.c_str(), argv);
    err(QStringLiteral("fvtool: cannot run %1: %2").arg(QString::fromLocal8Bit(full.c_str()), QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace fvtool
