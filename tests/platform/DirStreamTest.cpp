// The directory stream and the file descriptor opener: what they list, and what they say
// when a path cannot be opened (made with a parent that is a regular file, which fails for
// root as well).
#include "platform/DirStream.h"
#include "platform/FileDescriptor.h"

#include "support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>

namespace {

class DirStreamTest : public TempHomeTest {};

TEST_F(DirStreamTest, ListsEveryEntryButDotAndDotDot)
{
    makeFile(QStringLiteral("tree/b.txt"));
    makeFile(QStringLiteral("tree/.hidden"));
    makeFolder(QStringLiteral("tree/a"));
    makeFile(QStringLiteral("tree/caf\u00e9"));
    DirStream dir(QFile::encodeName(home().root() + QStringLiteral("/tree")));
    ASSERT_TRUE(dir.isOpen()) << qPrintable(dir.status().describe());
    EXPECT_GE(dir.fd(), 0);
    EXPECT_EQ(dir.error(), 0);
    const std::vector<QByteArray> expected{".hidden", "a", "b.txt", QFile::encodeName(QStringLiteral("caf\u00e9"))};
    EXPECT_EQ(dir.sortedNames(), expected);
    EXPECT_EQ(dir.next(), nullptr);
}

TEST_F(DirStreamTest, FailuresNameThePathAndTheReason)
{
    const QString file = makeFile(QStringLiteral("plain.txt"), "x");
    struct Case {
        QString path;
        int error;
    };
    const Case cases[] = {
        {file, ENOTDIR},                          // a file is no folder
        {file + QStringLiteral("/below"), ENOTDIR}, // its parent is a file
        {home().root() + QStringLiteral("/missing"), ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        DirStream dir(QFile::encodeName(c.path));
        EXPECT_FALSE(dir.isOpen());
        EXPECT_EQ(dir.error(), c.error);
        EXPECT_EQ(dir.fd(), -1);
        EXPECT_EQ(dir.next(), nullptr);
        EXPECT_FALSE(dir.status());
        EXPECT_EQ(dir.status().errorString(), QStringLiteral("Cannot read the folder \"%1\": %2")
                                         .arg(c.path, QString::fromLocal8Bit(std::strerror(c.error))));
    }
}

TEST_F(DirStreamTest, FileDescriptorOpensOrSaysWhyNot)
{
    const QString file = makeFile(QStringLiteral("plain.txt"), "x");
    FileDescriptor opened = FileDescriptor::open(QFile::encodeName(file), O_RDONLY);
    ASSERT_TRUE(opened.isOpen()) << qPrintable(opened.status().describe());
    EXPECT_TRUE(opened.status());
    EXPECT_TRUE(opened.status().errorString().isEmpty());
    EXPECT_NE(::fcntl(opened.get(), F_GETFD) & FD_CLOEXEC, 0) << "never leaks into a child process";
    FileDescriptor moved = std::move(opened);
    EXPECT_FALSE(opened.isOpen());
    EXPECT_TRUE(moved.close());
    EXPECT_FALSE(moved.isOpen());

    const QString below = file + QStringLiteral("/new.txt");
    const FileDescriptor refused = FileDescriptor::open(QFile::encodeName(below), O_WRONLY | O_CREAT | O_EXCL, 0600);
    EXPECT_FALSE(refused.isOpen());
    EXPECT_EQ(refused.error(), ENOTDIR);
    EXPECT_EQ(errno, ENOTDIR) << "errno is kept for the caller";
    EXPECT_EQ(refused.status().errorString(), QStringLiteral("Cannot open \"%1\": %2").arg(below, QString::fromLocal8Bit(std::strerror(ENOTDIR))));
}

} // namespace
