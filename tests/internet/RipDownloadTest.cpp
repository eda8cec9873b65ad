// The downloader and the ripper's runs against a local HTTP server, compared with curl's
// own URL globbing on the same series.
#include "RipServer.h"

#include "internet/RipRun.h"
#include "internet/UrlDownload.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray bytesOf(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7 + i / 251);
    return bytes;
}

QStringList namesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class RipDownloadTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_served = makeFolder(QStringLiteral("served"));
        m_target = makeFolder(QStringLiteral("target"));
    }
    QString served(const QString& name, const QByteArray& bytes)
    {
        return makeFile(QStringLiteral("served/") + name, bytes);
    }
    // Runs until the run reports finished.
    static bool waitFinished(RipRun& run, QSignalSpy& finished)
    {
        return finished.count() > 0 || finished.wait(30000);
    }

    QString m_served;
    QString m_target;
};

} // namespace

// Sixteen addresses, as the dialog's counter 10 walks them: kept files equal curl's copies,
// a small one deleted, a 404 neither saved nor counted, an existing name numbered.
TEST_F(RipDownloadTest, RipMatchesCurlGlobbing)
{
    for (int i = 1; i <= 16; ++i) {
        if (i == 13)
            continue; // 404
        served(QStringLiteral("%1.pas").arg(i, 2, 10, QLatin1Char('0')), bytesOf(i == 7 ? 999 : 1000 + i * 37, char(i)));
    }
    makeFile(QStringLiteral("target/05.cip"), "already here");
    RipServer server(m_served);
    ASSERT_TRUE(server.isRunning());

    RipRun run;
    QSignalSpy finished(&run, &RipRun::finished);
    QSignalSpy saved(&run, &RipRun::saved);
    QSignalSpy deleted(&run, &RipRun::deleted);
    QSignalSpy failed(&run, &RipRun::failed);
    const QString example = server.url(QStringLiteral("files"), QStringLiteral("34.pas"));
    RipCounters counters;
    counters[9] = {int(example.size()) - 5, 2, 1, 16, false};
    run.rip(example, counters, {m_target, QStringLiteral("cip"), 1000});
    ASSERT_TRUE(waitFinished(run, finished));
    EXPECT_FALSE(finished.first().at(0).toBool());

    EXPECT_EQ(saved.count(), 15);
    ASSERT_EQ(deleted.count(), 1);
    EXPECT_EQ(deleted.first().at(0).toString(), m_target + QStringLiteral("/07.cip"));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed.first().at(0).toString().endsWith(QStringLiteral("/13.pas")));
    EXPECT_EQ(run.savedCount(), 14);
    EXPECT_EQ(contentOf(m_target + QStringLiteral("/05.cip")), QByteArray("already here"));

    const QString curlFolder = makeFolder(QStringLiteral("curl"));
    QProcess curl;
    curl.setWorkingDirectory(curlFolder);
    curl.start(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-f"), QStringLiteral("-o"), QStringLiteral("#1.cip"),
                                        server.url(QStringLiteral("files"), QStringLiteral("[01-16].pas"))});
    ASSERT_TRUE(curl.waitForFinished(60000));
    QStringList expected;
    for (const QString& name : namesIn(curlFolder)) {
        if (name == QLatin1String("07.cip"))
            continue; // under the minimum size
        const QString ours = name == QLatin1String("05.cip") ? QStringLiteral("[0]05.cip") : name;
        expected << ours;
        EXPECT_EQ(contentOf(m_target + QLatin1Char('/') + ours), contentOf(curlFolder + QLatin1Char('/') + name)) << name.toStdString();
    }
    expected << QStringLiteral("05.cip");
    expected.sort();
    EXPECT_EQ(expected.size(), 15);
    EXPECT_EQ(namesIn(m_target), expected);
}

TEST_F(RipDownloadTest, MinAboveMaxMakesNoRequest)
{
    RipRun run;
    QSignalSpy finished(&run, &RipRun::finished);
    QSignalSpy started(&run, &RipRun::addressStarted);
    RipCounters counters;
    counters[9] = {5, 1, 5, 3, false};
    run.rip(QStringLiteral("http://127.0.0.1:9/x/1.pas"), counters, {m_target, QStringLiteral("cip"), 0});
    ASSERT_TRUE(waitFinished(run, finished));
    EXPECT_EQ(started.count(), 0);
    EXPECT_TRUE(namesIn(m_target).isEmpty());
}

// Download One of each kind of reply: what is kept, under which name, and that nothing
// partial stays behind.
TEST_F(RipDownloadTest, DownloadOneReplies)
{
    const QByteArray big = bytesOf(300000, 3);
    served(QStringLiteral("a.bin"), big);
    RipServer server(m_served);
    ASSERT_TRUE(server.isRunning());
    struct Case {
        const char* kind;
        const char* name;
        bool saved;
        const char* file;
    };
    const Case cases[] = {
        {"files", "a.bin", true, "a.cip"},
        {"files", "a.bin", true, "[0]a.cip"},
        {"chunked", "a.bin", true, "[1]a.cip"},
        {"redirect", "a.bin", true, "[2]a.cip"},
        {"files", "missing.bin", false, nullptr},
        {"stall", "a.bin", false, nullptr},
    };
    RipRun run;
    run.setStallTimeout(700);
    for (const Case& c : cases) {
        QSignalSpy finished(&run, &RipRun::finished);
        QSignalSpy saved(&run, &RipRun::saved);
        run.downloadOne(server.url(QLatin1String(c.kind), QLatin1String(c.name)), {m_target, QStringLiteral("cip"), 0});
        ASSERT_TRUE(waitFinished(run, finished)) << c.kind;
        ASSERT_EQ(saved.count(), c.saved ? 1 : 0) << c.kind;
        if (c.saved) {
            EXPECT_EQ(saved.first().at(0).toString(), m_target + QLatin1Char('/') + QLatin1String(c.file));
            EXPECT_EQ(contentOf(saved.first().at(0).toString()), big) << c.kind;
        }
    }
    EXPECT_EQ(namesIn(m_target), QStringList({"[0]a.cip", "[1]a.cip", "[2]a.cip", "a.cip"}));
    EXPECT_EQ(run.savedCount(), 4);
}

// A folder the temporary file cannot be made in fails the download with the reason, while the
// request already sent is dropped: the downloader is free for the next address at once.
TEST_F(RipDownloadTest, AnUnwritableFolderFailsAndFreesTheDownloader)
{
    served(QStringLiteral("a.bin"), bytesOf(1000, 5));
    RipServer server(m_served);
    ASSERT_TRUE(server.isRunning());
    UrlDownload download;
    QSignalSpy finished(&download, &UrlDownload::finished);
    const QString address = server.url(QStringLiteral("files"), QStringLiteral("a.bin"));
    download.start(address, m_target + QStringLiteral("/gone"), QStringLiteral("a.bin"));
    ASSERT_EQ(finished.count(), 1) << "told at once";
    auto outcome = finished.takeFirst().at(0).value<DownloadOutcome>();
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.aborted);
    EXPECT_TRUE(outcome.error.contains(QLatin1String("No such file"))) << qPrintable(outcome.error);
    EXPECT_FALSE(download.isRunning());
    download.start(address, m_target, QStringLiteral("a.bin"));
    ASSERT_TRUE(finished.count() > 0 || finished.wait(30000));
    outcome = finished.takeFirst().at(0).value<DownloadOutcome>();
    EXPECT_TRUE(outcome.ok) << qPrintable(outcome.error);
    EXPECT_EQ(namesIn(m_target), QStringList{"a.bin"});
    QTest::qWait(100);
    EXPECT_TRUE(finished.isEmpty()) << "the dropped request reports nothing";
}

// "stop" aborts the download in progress; "Halt" ends the run; neither leaves a partial file.
TEST_F(RipDownloadTest, StopAndHaltLeaveNoPartialFile)
{
    served(QStringLiteral("s.bin"), bytesOf(200000, 5));
    RipServer server(m_served);
    ASSERT_TRUE(server.isRunning());
    for (const bool halt : {false, true}) {
        RipRun run;
        QSignalSpy finished(&run, &RipRun::finished);
        QSignalSpy failed(&run, &RipRun::failed);
        QObject::connect(&run, &RipRun::progressed, &run, [&run, halt](qint64 received) {
            if (received > 0)
                halt ? run.halt() : run.stopCurrent();
        });
        const QString address = server.url(QStringLiteral("stall"), QStringLiteral("s.bin"));
        run.downloadList({address, address}, {m_target, QStringLiteral("cip"), 0});
        QSignalSpy progressed(&run, &RipRun::progressed);
        ASSERT_TRUE(waitFinished(run, finished)) << halt << " " << failed.count() << " " << progressed.count() << " "
                                                 << (failed.isEmpty() ? std::string() : failed.first().at(1).toString().toStdString());
        EXPECT_EQ(finished.first().at(0).toBool(), halt);
        // stop goes on with the next address; halt fetches nothing more.
        EXPECT_EQ(failed.count(), halt ? 1 : 2);
        EXPECT_TRUE(namesIn(m_target).isEmpty()) << namesIn(m_target).join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(RipDownloadTest, ToolPrintsSavedAndDeletedLines)
{
    served(QStringLiteral("1.pas"), bytesOf(5000, 1));
    served(QStringLiteral("2.pas"), bytesOf(10, 2));
    RipServer server(m_served);
    ASSERT_TRUE(server.isRunning());
    const QString example = server.url(QStringLiteral("files"), QStringLiteral("9.pas"));
    QProcess tool;
    tool.start(QStringLiteral(FVTOOL_PROGRAM), {QStringLiteral("rip"), example, m_target, QStringLiteral("--counter"),
                                                QStringLiteral("%1:1:1:3").arg(example.size() - 4), QStringLiteral("--min-size"),
                                                QStringLiteral("100")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1); // 3.pas is missing
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());
    EXPECT_EQ(out, QStringLiteral("SAVED:  %1/1.cip\nSAVED:  %1/2.cip\nDELETED: %1/2.cip\nFileCount: 1\n").arg(m_target));
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError()).contains(QStringLiteral("FAILED: ") + server.url(QStringLiteral("files"), QStringLiteral("3.pas"))));

    tool.start(QStringLiteral(FVTOOL_PROGRAM), {QStringLiteral("rip"), example, m_target, QStringLiteral("--counter"), QStringLiteral("x:1:1:3")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError()).contains(QStringLiteral("Counter 01 index: \"x\" is not a number")));
}

// Addresses the plain client leaves alone (here one with a user name) go through Qt Network,
// with the same outcome: the body saved whole, an error status saving nothing.
TEST_F(RipDownloadTest, QtNetworkPathSavesTheSame)
{
    const QByteArray big = bytesOf(300000, 9);
    served(QStringLiteral("q.bin"), big);
    RipServer server(m_served);
    ASSERT_TRUE(server.isRunning());
    const std::tuple<const char*, const char*, bool> cases[] = {{"files", "q.bin", true}, {"chunked", "q.bin", true}, {"files", "none.bin", false}};
    UrlDownload download;
    for (const auto& [kind, path, saved] : cases) {
        QSignalSpy finished(&download, &UrlDownload::finished);
        QString address = server.url(QLatin1String(kind), QLatin1String(path));
        address.replace(QStringLiteral("http://"), QStringLiteral("http://user@"));
        download.start(address, m_target, QStringLiteral("q.bin"));
        ASSERT_TRUE(finished.count() > 0 || finished.wait(30000)) << path;
        const auto outcome = finished.first().at(0).value<DownloadOutcome>();
        EXPECT_EQ(outcome.ok, saved) << path << " " << qPrintable(outcome.error);
        if (saved)
            EXPECT_EQ(contentOf(outcome.path), big) << path;
        else
            EXPECT_TRUE(outcome.error.startsWith(QLatin1String("HTTP 404"))) << qPrintable(outcome.error);
    }
    EXPECT_EQ(namesIn(m_target), QStringList({"[0]q.bin", "q.bin"}));
}
