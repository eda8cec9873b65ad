// fvtool list against find(1) on the same folder: the same entries, sizes that follow the
// kilobyte rule from find's byte counts, and files before folders.
#include "QtPrinters.h"

#include "support/TempHome.h"

#include <QCoreApplication>
#include <QMap>
#include <QProcess>

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

} // namespace
