// Server replies to the plain HTTP client: any bytes give a head or a refusal, and the bytes
// after it a chunked body or a refusal, fed in uneven pieces, never a crash and never more
// bytes out than came in.
#include "internet/HttpChunkDecoder.h"
#include "internet/HttpResponseHead.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype bodyAt = 0;
    const qsizetype end = HttpResponseHead::findEnd(bytes);
    if (end > std::min(bytes.size(), HttpResponseHead::kMaxSize))
        std::abort();
    if (end > 0) {
        QString error;
        const std::optional<HttpResponseHead> head = HttpResponseHead::parse(bytes.first(end), &error);
        if (head ? (head->status < 100 || head->status > 599 || head->contentLength.value_or(0) < 0) : error.isEmpty())
            std::abort();
        if (head)
            (void)head->keepsConnection();
        bodyAt = end;
    }
    // The first byte of the body sets the piece size.
    const qsizetype piece = bodyAt < bytes.size() ? 1 + uchar(bytes[bodyAt]) % 64 : 1;
    HttpChunkDecoder decoder;
    QByteArray out;
    qsizetype used = 0;
    for (qsizetype at = bodyAt; at < bytes.size() && !decoder.isDone() && !decoder.failed(); at += piece) {
        const QByteArrayView part = bytes.sliced(at, std::min(piece, bytes.size() - at));
        const qsizetype took = decoder.decode(part, &out);
        if (took < 0 || took > part.size() || (took < part.size() && !decoder.isDone() && !decoder.failed()))
            std::abort();
        used += took;
    }
    if (out.size() > used || (decoder.failed() && decoder.errorString().isEmpty()))
        std::abort();
    return 0;
}
