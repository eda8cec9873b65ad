// fvtool list against find(1) on the same folder: the same entries, sizes that follow the
// kilobyte rule from find's byte counts, and files before folders; and a name that is not
// UTF-8 listed and copied by its bytes.
#include "QtPrinters.h"

#include "support/TempHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QProcess>

#include <algorithm>

#include <fcntl.h>

namespace {

// The built fvtool: from $FOLVANE_BIN_DIR, else beside the tests (build/tests, build/bin).
QString fvtool()
{
    const QString bin = qEnvironmentVariable("FOLVANE_BIN_DIR");
    return (bin.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/../bin") : bin) + QStringLiteral("/fvtool");
}

class FvtoolListTest : public TempHomeTest {
protected:
    static QStringList run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

TEST_F(FvtoolListTest, AgreesWithFind)
{
    const QString folder = makeFolder(QStringLiteral("tool"));
    makeFile(QStringLiteral("tool/a b.txt"));
    makeFile(QStringLiteral("tool/\u00dcn\u00ef.dat"), "x");
    makeFile(QStringLiteral("tool/.dot"), QByteArray(1023, 'x'));
    makeFile(QStringLiteral("tool/big"), QByteArray(5000, 'x'));
    makeFolder(QStringLiteral("tool/zdir"));
    makeFolder(QStringLiteral("tool/Adir"));

    const QStringList ours = run(fvtool(), {QStringLiteral("list"), folder, QStringLiteral("--hidden"), QStringLiteral("--sort"),
                                          QStringLiteral("name")});
    const QStringList peer = run(QStringLiteral("find"), {folder, QStringLiteral("-mindepth"), QStringLiteral("1"),
                                                         QStringLiteral("-maxdepth"), QStringLiteral("1"),
                                                         QStringLiteral("-printf"), QStringLiteral("%f\\t%s\\t%y\\n")});
    QMap<QString, QString> expected; // name -> size column
    for (const QString& line : peer) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 3) << line.toStdString();
        const qint64 bytes = fields[1].toLongLong();
        expected[fields[0]] = fields[2] == QLatin1String("d")
            ? QStringLiteral(" ")
            : QString::number((bytes > 0 && bytes < 1024 ? 1024 : bytes) / 1024) + QStringLiteral(" KB");
    }
    QMap<QString, QString> listed;
    QStringList order;
    for (const QString& line : ours) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 5) << line.toStdString();
        listed[fields[0]] = fields[1];
        order << fields[0];
    }
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(order, (QStringList{".dot", "a b.txt", "big", "\u00dcn\u00ef.dat", "Adir", "zdir"}));
}

TEST_F(FvtoolListTest, BadArgumentsAreUsageErrors)
{
    struct Case {
        QStringList arguments;
        int exitCode;
    } cases[] = {
        {{QStringLiteral("list")}, 2},
        {{QStringLiteral("list"), home().root(), QStringLiteral("--sort"), QStringLiteral("colour")}, 2},
        {{QStringLiteral("list"), home().root(), QStringLiteral("--mask")}, 2},
        {{QStringLiteral("list"), home().root() + QStringLiteral("/missing")}, 1},
    };
    for (const Case& c : cases) {
        QProcess process;
        process.start(fvtool(), c.arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_FALSE(process.readAllStandardError().isEmpty());
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    }
}

// A name that is not UTF-8 through fvtool's arguments and output. The shell makes the bytes
// (QProcess would encode its arguments as text); the script runs fvtool as "$0".
struct ShellRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ShellRun runShell(const QString& folder, const QString& script)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("sh"), {QStringLiteral("-c"), script, fvtool()});
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray fileBytes(const QByteArray& path)
{
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return "<missing>";
    return file.readAll();
}

TEST_F(FvtoolListTest, ANameThatIsNotUtf8IsListedAndCopiedByItsBytes)
{
    const QString folder = makeFolder(QStringLiteral("odd"));
    const QByteArray base = QFile::encodeName(folder);
    {
        QFile file;
        const int fd = ::open(QByteArray(base + "/a\xff.txt").constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        ASSERT_TRUE(fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        file.write("odd");
    }
    // The look-alike a lossy reading of the argument would reach.
    makeFile(QStringLiteral("odd/a\uFFFD.txt"), "look-alike");

    const ShellRun listed = runShell(folder, QStringLiteral("exec \"$0\" list ."));
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    QList<QByteArray> names;
    for (const QByteArray& line : listed.out.split('\n')) {
        if (!line.isEmpty())
            names << line.left(line.indexOf('\t'));
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (QList<QByteArray>{"a\xef\xbf\xbd.txt", "a\xff.txt"}));

    const ShellRun copied = runShell(folder, QStringLiteral("exec \"$0\" copy \"$(printf 'a\\377.txt')\" \"$(printf 'b\\376.txt')\""));
    EXPECT_EQ(copied.exitCode, 0) << copied.err.toStdString();
    EXPECT_EQ(fileBytes(base + "/b\xfe.txt"), "odd");

    // An error shows the name with the replacement mark, as the window's message would.
    const ShellRun missing = runShell(folder, QStringLiteral("exec \"$0\" copy \"$(printf 'c\\377')\" out/"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("/c\xef\xbf\xbd\":\nNo such file or directory")) << missing.err.toStdString();
}

} // namespace
