#include "platform/linux/DetachedProcess.h"

#include "platform/FileName.h"
#include "platform/linux/FileCopier.h"

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// After fork only async-signal-safe calls: everything the child needs is made before.
[[noreturn]] void runChild(const char* program, char* const* argv, const char* folder, int errorPipe)
{
    ::setsid();
    // A second fork leaves the program to init, so nobody has to wait for it.
    if (::fork() != 0)
        ::_exit(0);
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (null >= 0)
        ::dup2(null, STDIN_FILENO);
    if (*folder == 0 || ::chdir(folder) == 0)
        ::execve(program, argv, environ);
    const int code = errno;
    [[maybe_unused]] const ssize_t written = ::write(errorPipe, &code, sizeof code);
    ::_exit(127);
}

Status failed(int code)
{
    return Status::failure(QStringLiteral("Process"), FileCopier::errorText(code));
}

} // namespace

Status DetachedProcess::start(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    const QByteArray path = FileName::encode(program);
    const QByteArray folder = FileName::encode(workingFolder);
    std::vector<QByteArray> encoded{path};
    for (const QString& argument : arguments)
        encoded.push_back(FileName::encode(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return failed(errno);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        runChild(path.constData(), argv.data(), folder.constData(), pipe[1]);
    }
    const int forkError = errno;
    ::close(pipe[1]);
    if (child < 0) {
        ::close(pipe[0]);
        return failed(forkError);
    }
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes on a successful exec; otherwise it carries the child's errno.
    int code = 0;
    ssize_t got;
    while ((got = ::read(pipe[0], &code, sizeof code)) < 0 && errno == EINTR) {
    }
    ::close(pipe[0]);
    if (got == sizeof code)
        return failed(code);
    return Status();
}
