// Opening a file whose name is not valid UTF-8: ShellExecute finds it and hands its path on,
// and the launcher passes arguments and working folder to the child as their very bytes
// (QProcess would encode them as text), reporting a program that cannot start.
#include "platform/FileName.h"
#include "platform/Shell.h"
#include "platform/linux/DetachedProcess.h"

#include "support/FakeLauncher.h"
#include "support/TempHome.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& path)
{
    return FileName::encode(path);
}

void writeFile(const QByteArray& path, const QByteArray& bytes, mode_t mode = 0644)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    ASSERT_GE(fd, 0) << path.toStdString();
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);
}

// The whole file once it holds a last line, waiting up to ten seconds for a detached writer.
QByteArray awaitFile(const QByteArray& path)
{
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QFile file;
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            const QByteArray bytes = file.readAll();
            if (bytes.endsWith('\n'))
                return bytes;
        } else if (fd >= 0) {
            ::close(fd);
        }
        QThread::msleep(20);
    }
    return "<nothing written>";
}

class DetachedProcessTest : public TempHomeTest {};

TEST_F(DetachedProcessTest, ArgumentsAndWorkingFolderKeepTheirBytes)
{
    const QString folder = makeFolder(QStringLiteral("run")) + QLatin1Char('/') + FileName::decode("w\xe9");
    ASSERT_EQ(::mkdir(native(folder).constData(), 0755), 0);
    const QString argument = FileName::decode("a\xff b");
    const Status started = DetachedProcess::start(QStringLiteral("/bin/sh"),
                                                  {QStringLiteral("-c"), QStringLiteral("{ printf '%s\\n' \"$1\"; pwd; } > out.tmp && mv out.tmp out"),
                                                   QStringLiteral("sh"), argument},
                                                  folder);
    ASSERT_TRUE(started) << started.describe().toStdString();
    EXPECT_EQ(awaitFile(native(folder) + "/out"), "a\xff b\n" + native(folder) + "\n");
}

TEST_F(DetachedProcessTest, AProgramThatCannotStartIsReported)
{
    const struct {
        const char* what;
        QString program;
        QString folder;
        QString error;
    } cases[] = {
        {"no such program", home().root() + QStringLiteral("/missing"), QString(), QStringLiteral("No such file or directory")},
        {"no such working folder", QStringLiteral("/bin/true"), home().root() + QStringLiteral("/gone"), QStringLiteral("No such file or directory")},
        {"not executable", makeFile(QStringLiteral("plain.txt"), "text"), QString(), QStringLiteral("Permission denied")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Status started = DetachedProcess::start(c.program, {}, c.folder);
        EXPECT_FALSE(started);
        EXPECT_EQ(started.errorString(), c.error);
    }
}

TEST_F(DetachedProcessTest, ShellExecuteOpensAndRunsSuchNames)
{
    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("xdg-open"));
    const QString folder = makeFolder(QStringLiteral("docs"));
    const QString document = folder + QLatin1Char('/') + FileName::decode("letter\xe9.txt");
    const QString program = folder + QLatin1Char('/') + FileName::decode("run\xff");
    writeFile(native(document), "text");
    writeFile(native(program), "#!/bin/sh\n", 0755);

    EXPECT_TRUE(ShellExecute(QStringLiteral("Open"), document).accepted);
    prompter().answer(PromptButton::Yes); // a program is run only when the user agrees
    EXPECT_TRUE(ShellExecute(QStringLiteral("Open"), program, QStringLiteral("-x")).accepted);
    EXPECT_EQ(prompter().last().text, QStringLiteral("Run ") + FileName::decode("run\xff") + QStringLiteral("?"));
    EXPECT_FALSE(ShellExecute(QStringLiteral("Open"), folder + QLatin1Char('/') + FileName::decode("gone\xff")).accepted);
    ASSERT_EQ(launcher.launches().size(), 2);
    EXPECT_EQ(launcher.launches()[0].program, QStringLiteral("/usr/bin/xdg-open"));
    EXPECT_EQ(native(launcher.launches()[0].arguments.value(0)), native(document));
    EXPECT_EQ(launcher.launches()[0].workingFolder, folder);
    EXPECT_EQ(native(launcher.launches()[1].program), native(program));
    EXPECT_EQ(launcher.launches()[1].arguments, QStringList{QStringLiteral("-x")});
}

} // namespace
