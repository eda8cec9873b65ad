// Bookmark files for Import Favorites: any bytes give a tree within the limits or a refusal,
// never a crash, and a tree that was read writes a file that reads back as the same tree.
#include "internet/BookmarkFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Result<BookmarkNode> tree = BookmarkFile::parse(bytes);
    if (!tree)
        return 0;
    if (tree->count() > BookmarkFile::kMaxEntries)
        std::abort();
    const Result<BookmarkNode> again = BookmarkFile::parse(BookmarkFile::write(*tree));
    if (!again || !(*again == *tree))
        std::abort();
    return 0;
}
