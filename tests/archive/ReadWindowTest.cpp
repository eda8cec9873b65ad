// Reads through the read-ahead window return exactly the device's bytes, wherever they fall
// against the window: inside it, across its end, before it, bigger than it, at the device's
// end, and past it (refused).
#include "archive/io/ReadWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(ReadWindowTest, ReadsMatchTheDeviceAcrossWindowEdges)
{
    constexpr size_t kWindow = zipio::ReadWindow::kSize;
    std::vector<uint8_t> bytes(3 * kWindow + 123);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 131 + i / 251);
    const zipio::MemoryDevice device(bytes.data(), bytes.size());
    const zipio::ReadWindow window(device);
    const struct {
        const char* what;
        uint64_t offset;
        size_t n;
        bool ok;
    } reads[] = {
        {"a header", 100, 30, true},
        {"data inside the window", 130, 5000, true},
        {"across the window's end", kWindow + 50, 200, true},
        {"before the window", 10, 40, true},
        {"bigger than half a window", 1000, kWindow, true},
        {"the last bytes", bytes.size() - 7, 7, true},
        {"nothing at the end", bytes.size(), 0, true},
        {"past the end", bytes.size() - 3, 4, false},
        {"after a refused read", 2 * kWindow - 1, 2, true},
    };
    for (const auto& r : reads) {
        SCOPED_TRACE(r.what);
        std::vector<uint8_t> got(r.n, 0xEE);
        ASSERT_EQ(window.readAt(r.offset, got.data(), r.n), r.ok);
        if (r.ok) {
            EXPECT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + std::ptrdiff_t(r.offset)));
        }
    }
}
