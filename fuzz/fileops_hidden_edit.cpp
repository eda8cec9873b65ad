// The attribute tool's edit of a folder's ".hidden" file, whose bytes come from the folder:
// the first line of the input is the name, the rest the file. Listing must make the name
// readable by the list's own reader, unlisting must make it unreadable, and the other lines
// must stay as they were.
#include "browse/HiddenList.h"
#include "fileops/tools/HiddenFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool listed(const QByteArray& content, const QByteArray& name)
{
    return HiddenList::fromBytes(content.constData(), size_t(content.size())).contains(name.constData(), size_t(name.size()));
}

// The lines that do not name `name`, in order.
QList<QByteArray> others(const QByteArray& content, const QByteArray& name)
{
    QList<QByteArray> out;
    for (QByteArray line : content.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty() && line != name)
            out << line;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\n');
    const QByteArray name = split < 0 ? input : input.left(split);
    const QByteArray content = split < 0 ? QByteArray() : input.mid(split + 1);
    if (name.isEmpty() || name.contains('\r'))
        return 0;
    const QByteArray added = HiddenFile::edited(content, name, true);
    const QByteArray removed = HiddenFile::edited(content, name, false);
    if (!listed(added, name) || listed(removed, name))
        std::abort();
    if (others(added, name) != others(content, name) || others(removed, name) != others(content, name))
        std::abort();
    return 0;
}
