// The two readers of attribute data that come from the browsed folder.
#include "QtPrinters.h"
#include "browse/DosAttrib.h"
#include "browse/HiddenList.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace {

std::optional<uint32_t> parse(const QByteArray& bytes)
{
    return DosAttrib::parse(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

TEST(AttributeParsersTest, DosAttribTextAndBlobForms)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::optional<uint32_t> expected;
    } cases[] = {
        {"text", "0x20", 0x20},
        {"text with NUL", QByteArray("0x22\0", 5), 0x22},
        {"text upper", "0X2A", 0x2a},
        {"text no digits", "0x", std::nullopt},
        {"text bad digit", "0x2g", std::nullopt},
        {"text too long", "0x123456789", std::nullopt},
        {"v1", QByteArray("\x01\x00\x01\x00\x02\x00\x00\x00", 8), 0x2},
        {"v3 valid", QByteArray("\x03\x00\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00", 12), 0x6},
        {"v3 not valid", QByteArray("\x03\x00\x03\x00\x00\x00\x00\x00\x06\x00\x00\x00", 12), std::nullopt},
        {"v5 short", QByteArray("\x05\x00\x05\x00\x01\x00\x00\x00\x06\x00", 10), std::nullopt},
        {"level differs", QByteArray("\x04\x00\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00", 12), std::nullopt},
        {"unknown version", QByteArray("\x09\x00\x09\x00\x01\x00\x00\x00\x06\x00\x00\x00", 12), std::nullopt},
        {"empty", QByteArray(), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.bytes), c.expected) << c.name;
    EXPECT_EQ(DosAttrib::parse(nullptr, 0), std::nullopt);
}

// Only file systems that cannot hand out the attribute skip the per-entry read; the SMB
// magic numbers have the top bit set, which a signed f_type shows as a negative number.
TEST(AttributeParsersTest, DosAttribFileSystems)
{
    struct Case {
        const char* name;
        int64_t type;
        bool expected;
    };
    const Case cases[] = {
        {"ext4", 0xEF53, true},
        {"xfs", 0x58465342, true},
        {"btrfs", 0x9123683E, true},
        {"tmpfs", 0x01021994, true},
        {"nfs", 0x6969, true},
        {"fuse", 0x65735546, true},
        {"vfat", 0x4d44, false},
        {"exfat", 0x2011BAB0, false},
        {"iso9660", 0x9660, false},
        {"smb2", 0xFE534D42, false},
        {"cifs, signed", int64_t(int32_t(0xFF534D42)), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DosAttrib::mayBeStoredOn(c.type), c.expected) << c.name;
}

TEST(AttributeParsersTest, HiddenFileLines)
{
    const QByteArray text("one\r\ntwo\n\n  spaced  \nlast-no-newline\n\xff\xfe");
    const HiddenList list = HiddenList::fromBytes(text.constData(), size_t(text.size()));
    for (const char* name : {"one", "two", "  spaced  ", "last-no-newline", "\xff\xfe"})
        EXPECT_TRUE(list.contains(name, strlen(name))) << name;
    for (const char* name : {"", "one\r", "spaced", "thre"})
        EXPECT_FALSE(list.contains(name, strlen(name))) << name;
    EXPECT_EQ(list.size(), 5);
    EXPECT_TRUE(HiddenList::fromBytes("\n\r\n", 3).isEmpty());
}

} // namespace
