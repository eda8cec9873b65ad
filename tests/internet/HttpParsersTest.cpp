// The plain HTTP client's parsers of server bytes: response heads and chunked bodies, each
// fed whole and in every split, valid and malformed.
#include "internet/HttpChunkDecoder.h"
#include "internet/HttpResponseHead.h"

#include <gtest/gtest.h>

namespace {

using Framing = HttpResponseHead::Framing;

struct HeadCase {
    const char* name;
    QByteArray head;
    bool valid;
    int status;
    Framing framing;
    qint64 length; // -1: none
    bool keeps;
};

// The chunked body of bytes, fed in pieces of piece bytes.
struct Decoded {
    QByteArray data;
    qsizetype used = 0;
    bool done = false;
    bool failed = false;
};

Decoded decodeInPieces(const QByteArray& bytes, qsizetype piece)
{
    HttpChunkDecoder decoder;
    Decoded out;
    for (qsizetype at = 0; at < bytes.size() && !decoder.isDone() && !decoder.failed(); at += piece) {
        const QByteArrayView part = QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at));
        out.used += decoder.decode(part, &out.data);
    }
    out.done = decoder.isDone();
    out.failed = decoder.failed();
    return out;
}

} // namespace

TEST(HttpResponseHead, ParseCases)
{
    const HeadCase cases[] = {
        {"length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n", true, 200, Framing::Length, 5, true},
        {"bare LF lines", "HTTP/1.1 200 OK\nContent-Length: 5\n\n", true, 200, Framing::Length, 5, true},
        {"no reason", "HTTP/1.1 404\r\nContent-Length: 0\r\n\r\n", true, 404, Framing::Length, 0, true},
        {"chunked, any case", "HTTP/1.1 200 OK\r\ntransfer-encoding: Chunked\r\n\r\n", true, 200, Framing::Chunked, -1, true},
        {"chunked beats a length, and the connection goes",
         "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\n", true, 200, Framing::Chunked, 5, false},
        {"no length: until close", "HTTP/1.1 200 OK\r\n\r\n", true, 200, Framing::UntilClose, -1, false},
        {"connection close", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nConnection: Close\r\n\r\n", true, 200, Framing::Length, 1, false},
        {"HTTP/1.0 closes", "HTTP/1.0 200 OK\r\nContent-Length: 1\r\n\r\n", true, 200, Framing::Length, 1, false},
        {"HTTP/1.0 keep-alive", "HTTP/1.0 200 OK\r\nContent-Length: 1\r\nConnection: keep-alive\r\n\r\n", true, 200, Framing::Length, 1, true},
        {"204 has no body", "HTTP/1.1 204 No Content\r\nContent-Length: 7\r\n\r\n", true, 204, Framing::None, 7, true},
        {"304 has no body", "HTTP/1.1 304 Not Modified\r\n\r\n", true, 304, Framing::None, -1, true},
        {"repeated equal lengths", "HTTP/1.1 200 OK\r\nContent-Length: 5, 5\r\nContent-Length: 5\r\n\r\n", true, 200, Framing::Length, 5, true},
        {"blanks around a value", "HTTP/1.1 200 OK\r\nContent-Length: \t 5 \r\n\r\n", true, 200, Framing::Length, 5, true},
        {"lengths that disagree", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\n", false, 0, Framing::None, -1, false},
        {"negative length", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", false, 0, Framing::None, -1, false},
        {"empty length", "HTTP/1.1 200 OK\r\nContent-Length:\r\n\r\n", false, 0, Framing::None, -1, false},
        {"length past 2^63", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n", false, 0, Framing::None, -1, false},
        {"gzip coding", "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n", false, 0, Framing::None, -1, false},
        {"chunked not last", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked, gzip\r\n\r\n", false, 0, Framing::None, -1, false},
        {"folded line", "HTTP/1.1 200 OK\r\nX-A: 1\r\n  more\r\n\r\n", false, 0, Framing::None, -1, false},
        {"blank before colon", "HTTP/1.1 200 OK\r\nContent-Length : 5\r\n\r\n", false, 0, Framing::None, -1, false},
        {"no colon", "HTTP/1.1 200 OK\r\nContent-Length 5\r\n\r\n", false, 0, Framing::None, -1, false},
        {"NUL in a value", QByteArray("HTTP/1.1 200 OK\r\nX-A: a\0b\r\n\r\n", 29), false, 0, Framing::None, -1, false},
        {"CR inside a line", "HTTP/1.1 200 OK\r\nX-A: a\rContent-Length: 1\r\n\r\n", false, 0, Framing::None, -1, false},
        {"HTTP/2", "HTTP/2 200\r\n\r\n", false, 0, Framing::None, -1, false},
        {"status of two digits", "HTTP/1.1 20 OK\r\n\r\n", false, 0, Framing::None, -1, false},
        {"status of four digits", "HTTP/1.1 2000 OK\r\n\r\n", false, 0, Framing::None, -1, false},
        {"status 600", "HTTP/1.1 600 Odd\r\n\r\n", false, 0, Framing::None, -1, false},
        {"not HTTP", "ICY 200 OK\r\n\r\n", false, 0, Framing::None, -1, false},
        {"empty", "\r\n\r\n", false, 0, Framing::None, -1, false},
    };
    for (const HeadCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(HttpResponseHead::findEnd(c.head), c.head.size());
        QString error;
        const std::optional<HttpResponseHead> head = HttpResponseHead::parse(c.head, &error);
        ASSERT_EQ(head.has_value(), c.valid) << qPrintable(error);
        if (!head) {
            EXPECT_FALSE(error.isEmpty());
            continue;
        }
        EXPECT_EQ(head->status, c.status);
        EXPECT_EQ(head->framing(), c.framing);
        EXPECT_EQ(head->contentLength.value_or(-1), c.length);
        EXPECT_EQ(head->keepsConnection(), c.keeps);
    }
}

TEST(HttpResponseHead, RedirectsAndReason)
{
    QString error;
    const auto head = HttpResponseHead::parse("HTTP/1.1 302 Found Elsewhere\r\nLocation: /b?x=1\r\nlocation: /b?x=1\r\n\r\n", &error);
    ASSERT_TRUE(head) << qPrintable(error);
    EXPECT_TRUE(head->isRedirect());
    EXPECT_EQ(head->location, QByteArray("/b?x=1"));
    EXPECT_EQ(head->reason, QByteArray("Found Elsewhere"));
    EXPECT_FALSE(HttpResponseHead::parse("HTTP/1.1 302 Found\r\nLocation: /a\r\nLocation: /b\r\n\r\n", &error));
    const auto noWhere = HttpResponseHead::parse("HTTP/1.1 302 Found\r\nContent-Length: 0\r\n\r\n", &error);
    ASSERT_TRUE(noWhere);
    EXPECT_FALSE(noWhere->isRedirect());
    const auto notModified = HttpResponseHead::parse("HTTP/1.1 304 Not Modified\r\nLocation: /a\r\n\r\n", &error);
    ASSERT_TRUE(notModified);
    EXPECT_FALSE(notModified->isRedirect());
}

// The end of the head is found whatever pieces the bytes come in, and never past 64 KiB.
TEST(HttpResponseHead, FindEndInPiecesAndLimit)
{
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n";
    const QByteArray bytes = head + "abc";
    for (qsizetype piece = 1; piece <= bytes.size(); ++piece) {
        qsizetype searched = 0;
        qsizetype end = -1;
        for (qsizetype have = std::min(piece, bytes.size()); end < 0; have = std::min(have + piece, bytes.size())) {
            end = HttpResponseHead::findEnd(QByteArrayView(bytes).first(have), searched);
            searched = have;
            if (have == bytes.size())
                break;
        }
        EXPECT_EQ(end, head.size()) << "piece " << piece;
    }
    EXPECT_EQ(HttpResponseHead::findEnd("HTTP/1.1 200 OK\r\nX: 1\r\n"), -1);

    QByteArray big = "HTTP/1.1 200 OK\r\n";
    while (big.size() < HttpResponseHead::kMaxSize - 4)
        big += "X: 1\r\n";
    big.truncate(HttpResponseHead::kMaxSize - 4);
    big += "\r\n\r\n";
    ASSERT_EQ(big.size(), HttpResponseHead::kMaxSize);
    EXPECT_EQ(HttpResponseHead::findEnd(big), big.size()) << "a head of exactly 64 KiB";
    const QByteArray over = QByteArray(big).insert(17, "Y: 2\r\n");
    EXPECT_EQ(HttpResponseHead::findEnd(over), -1) << "its end lies past 64 KiB";
    QString error;
    EXPECT_FALSE(HttpResponseHead::parse(over, &error));
}

TEST(HttpChunkDecoder, DecodeCases)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        bool done;
        QByteArray data;
        qsizetype tail; // bytes after the end, left unused
    };
    const Case cases[] = {
        {"two chunks", "3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n", true, "abcde", 0},
        {"upper-case hex, extension, blanks", "A ;name=v\r\n0123456789\r\n0\r\n\r\n", true, "0123456789", 0},
        {"bare LF", "3\nabc\n0\n\n", true, "abc", 0},
        {"trailer fields", "1\r\nx\r\n0\r\nX-Sum: 1\r\nX-B: 2\r\n\r\n", true, "x", 0},
        {"bytes after the end", "1\r\nx\r\n0\r\n\r\nHTTP/1.1", true, "x", 8},
        {"leading zeros", "0003\r\nabc\r\n000\r\n\r\n", true, "abc", 0},
        {"not yet ended", "3\r\nabc\r\n", false, "abc", 0},
    };
    for (const Case& c : cases) {
        for (const qsizetype piece : {qsizetype(1), qsizetype(2), qsizetype(5), c.bytes.size()}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
            const Decoded out = decodeInPieces(c.bytes, piece);
            EXPECT_FALSE(out.failed);
            EXPECT_EQ(out.done, c.done);
            EXPECT_EQ(out.data, c.data);
            EXPECT_EQ(out.used, c.bytes.size() - c.tail);
        }
    }
}

TEST(HttpChunkDecoder, RefusedBodies)
{
    const QByteArray longLine = "1;" + QByteArray(HttpChunkDecoder::kMaxLine, 'e') + "\r\nx\r\n0\r\n\r\n";
    QByteArray longTrailer = "0\r\n";
    while (longTrailer.size() <= HttpChunkDecoder::kMaxTrailer)
        longTrailer += "X-Pad: " + QByteArray(1000, 'p') + "\r\n";
    longTrailer += "\r\n";
    const std::pair<const char*, QByteArray> cases[] = {
        {"no size", "\r\nabc\r\n0\r\n\r\n"},
        {"not hex", "g\r\nabc\r\n0\r\n\r\n"},
        {"negative", "-3\r\nabc\r\n0\r\n\r\n"},
        {"junk after the size", "3 x\r\nabc\r\n0\r\n\r\n"},
        {"sixteen hex digits", "1000000000000000\r\nabc"},
        {"data longer than its size", "2\r\nabc\r\n0\r\n\r\n"},
        {"size line over the limit", longLine},
        {"trailer over the limit", longTrailer},
    };
    for (const auto& [name, bytes] : cases) {
        for (const qsizetype piece : {qsizetype(1), qsizetype(7), bytes.size()}) {
            SCOPED_TRACE(std::string(name) + ", pieces of " + std::to_string(piece));
            HttpChunkDecoder decoder;
            QByteArray data;
            for (qsizetype at = 0; at < bytes.size() && !decoder.failed() && !decoder.isDone(); at += piece)
                decoder.decode(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)), &data);
            EXPECT_TRUE(decoder.failed());
            EXPECT_FALSE(decoder.errorString().isEmpty());
        }
    }
}
