// The plain HTTP client under the downloader, against a server that sends exactly the bytes
// of a script: kept connections, bodies of every framing, redirects, and replies that must
// save nothing.
#include "ScriptedHttpServer.h"

#include "internet/PlainHttpGet.h"
#include "internet/UrlDownload.h"
#include "support/ByteFiles.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

namespace {

using Reply = ScriptedHttpServer::Reply;

Reply withLength(const QByteArray& body, const QByteArray& extraFields = {})
{
    return {"HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + extraFields + "\r\n" + body};
}

Reply redirectTo(const QByteArray& location)
{
    return {"HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 5\r\n\r\nmoved"};
}

class PlainHttpGetTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_target = makeFolder(QStringLiteral("target"));
    }
    // Downloads path from server into the target folder as "f".
    DownloadOutcome fetch(UrlDownload& download, const ScriptedHttpServer& server, const QString& path = QStringLiteral("/f"))
    {
        QSignalSpy finished(&download, &UrlDownload::finished);
        download.start(server.url(path), m_target, QStringLiteral("f"));
        if (finished.isEmpty() && !finished.wait(10000))
            return {false, {}, 0, QStringLiteral("<no end>"), false};
        return finished.first().at(0).value<DownloadOutcome>();
    }

    QString m_target;
};

} // namespace

// Each case runs its downloads in order against one scripted server: what each saves
// (nullptr: nothing, and the error contains the text given), and how many connections the
// server saw.
TEST_F(PlainHttpGetTest, ServerReplies)
{
    QList<Reply> tooManyRedirects;
    for (int i = 0; i <= PlainHttpGet::kMaxRedirects; ++i)
        tooManyRedirects << redirectTo("/loop" + QByteArray::number(i));
    struct Case {
        const char* name;
        QList<Reply> replies;
        QList<const char*> saved; // per download: its content, or nullptr with errorText
        const char* errorText;
        int connections;
    };
    const Case cases[] = {
        {"a kept connection carries the next request", {withLength("abc"), withLength("def")}, {"abc", "def"}, nullptr, 1},
        {"a kept connection that the server closed: sent once more on a new one",
         {{withLength("abc").bytes, true}, withLength("def")}, {"abc", "def"}, nullptr, 2},
        {"Connection: close is honoured", {withLength("abc", "Connection: close\r\n"), withLength("def")}, {"abc", "def"}, nullptr, 2},
        {"bytes past the body: the connection is not used again", {{withLength("abc").bytes + "XYZ"}, withLength("def")}, {"abc", "def"}, nullptr, 2},
        {"no length: the body runs to the close", {{"HTTP/1.1 200 OK\r\n\r\nabcdef", true}}, {"abcdef"}, nullptr, 1},
        {"chunked", {{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n3;x=y\r\ndef\r\n0\r\n\r\n"}, withLength("g")},
         {"abcdef", "g"}, nullptr, 1},
        {"an interim reply before the real one", {{"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"}}, {"ok"}, nullptr, 1},
        {"a redirect on the same connection", {redirectTo("/b"), withLength("abc")}, {"abc"}, nullptr, 1},
        {"a redirect loop ends", tooManyRedirects, {nullptr}, "Too many redirects", 1},
        {"a redirect to another scheme", {redirectTo("ftp://127.0.0.1/x")}, {nullptr}, "not http or https", 1},
        {"an error status saves no page", {{"HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\nnope"}}, {nullptr}, "HTTP 404 Not Found", 1},
        {"a body shorter than its length", {{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc", true}}, {nullptr}, "before the end", 1},
        {"a bad chunk size", {{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\nzz\r\n", true}}, {nullptr}, "not a number", 1},
        {"chunks that stop", {{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n", true}}, {nullptr}, "before the end", 1},
        {"a transfer coding we did not ask for", {{"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\nxx", true}}, {nullptr}, "gzip", 1},
        {"a head over 64 KiB", {{"HTTP/1.1 200 OK\r\nX-Pad: " + QByteArray(70000, 'p') + "\r\n\r\n"}}, {nullptr}, "64 KiB", 1},
        {"not HTTP", {{"SSH-2.0-x\r\n\r\n"}}, {nullptr}, "Not an HTTP/1 reply", 1},
        {"a close without a reply", {{"", true}}, {nullptr}, "without a reply", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedHttpServer server(c.replies);
        UrlDownload download;
        QStringList kept;
        for (const char* expected : c.saved) {
            const DownloadOutcome outcome = fetch(download, server);
            if (expected) {
                ASSERT_TRUE(outcome.ok) << qPrintable(outcome.error);
                EXPECT_EQ(ByteFiles::readFile(FileName::encode(outcome.path)), QByteArray(expected));
                kept << QFileInfo(outcome.path).fileName();
            } else {
                EXPECT_FALSE(outcome.ok);
                EXPECT_TRUE(outcome.error.contains(QLatin1String(c.errorText))) << qPrintable(outcome.error);
            }
        }
        EXPECT_EQ(server.connections(), c.connections);
        kept.sort();
        EXPECT_EQ(QDir(m_target).entryList(QDir::Files | QDir::Hidden, QDir::Name), kept) << "nothing partial stays";
        for (const QString& name : kept)
            QFile::remove(m_target + QLatin1Char('/') + name);
    }
}

// The request names the path and query as the address encodes them, and the host with its
// port unless it is 80; the redirect above is resolved against the address it came from.
TEST_F(PlainHttpGetTest, RequestLines)
{
    const std::pair<const char*, const char*> cases[] = {
        {"http://example.org", "GET / HTTP/1.1\r\nHost: example.org\r\n"},
        {"http://example.org:80/a b/c?x=1 2&y#frag", "GET /a%20b/c?x=1%202&y HTTP/1.1\r\nHost: example.org\r\n"},
        {"http://127.0.0.1:8080/a%zz", "GET /a%25zz HTTP/1.1\r\nHost: 127.0.0.1:8080\r\n"},
        {"http://[::1]:81/x\r\ny", "GET /x%0D%0Ay HTTP/1.1\r\nHost: [::1]:81\r\n"},
    };
    for (const auto& [address, start] : cases) {
        const QByteArray request = PlainHttpGet::requestFor(QUrl(QString::fromLatin1(address)));
        EXPECT_TRUE(request.startsWith(start)) << address << "\n" << request.constData();
        EXPECT_TRUE(request.endsWith("\r\n\r\n"));
        EXPECT_EQ(request.count("\r\n"), request.count('\n')) << "no bare line feed from the address";
    }

    ScriptedHttpServer server({redirectTo("b?q=1"), withLength("abc")});
    UrlDownload download;
    ASSERT_TRUE(fetch(download, server, QStringLiteral("/dir/a")).ok);
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_TRUE(server.requests().at(1).startsWith("GET /dir/b?q=1 HTTP/1.1\r\n")) << server.requests().at(1).constData();
}

TEST_F(PlainHttpGetTest, TakesOnlyPlainDirectAddresses)
{
    PlainHttpGet get;
    EXPECT_TRUE(get.handles(QUrl(QStringLiteral("http://127.0.0.1:8080/a"))));
    EXPECT_FALSE(get.handles(QUrl(QStringLiteral("https://127.0.0.1/a"))));
    EXPECT_FALSE(get.handles(QUrl(QStringLiteral("http://user:pw@127.0.0.1/a"))));
    EXPECT_FALSE(get.handles(QUrl(QStringLiteral("http:///a"))));
}
