// The path helpers on their edge cases, for text and byte paths alike: both kinds must give
// the same answer, since a path travels as bytes and is shown as text.
#include "platform/PathText.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* path;
    const char* name;
    const char* folder;
    const char* without;
    const char* with;
};

const Case cases[] = {
    // path       nameOf folderOf without   with
    {"/",         "",    "/",     "/",      "/"},
    {"/a",        "a",   "/",     "/a",     "/a/"},
    {"a",         "a",   ".",     "a",      "a/"},
    {"/a/",       "a",   "/",     "/a",     "/a/"},
    {"",          "",    ".",     "",       ""},
    {"//a//b/",   "b",   "//a",   "//a//b", "//a//b/"},
    {"//",        "",    "/",     "/",      "//"},
    {"a/b",       "b",   "a",     "a/b",    "a/b/"},
    {"/a/b/c",    "c",   "/a/b",  "/a/b/c", "/a/b/c/"},
};

TEST(PathText, NameFolderAndSlashesOfEdgeCases)
{
    for (const Case& c : cases) {
        const QByteArray bytes(c.path);
        const QString text = QString::fromUtf8(c.path);
        EXPECT_EQ(PathText::nameOf(bytes), c.name) << c.path;
        EXPECT_EQ(PathText::nameOf(text), QString::fromUtf8(c.name)) << c.path;
        EXPECT_EQ(PathText::folderOf(bytes), c.folder) << c.path;
        EXPECT_EQ(PathText::folderOf(text), QString::fromUtf8(c.folder)) << c.path;
        EXPECT_EQ(PathText::withoutTrailingSlash(bytes), c.without) << c.path;
        EXPECT_EQ(PathText::withoutTrailingSlash(text), QString::fromUtf8(c.without)) << c.path;
        EXPECT_EQ(PathText::withTrailingSlash(bytes), c.with) << c.path;
        EXPECT_EQ(PathText::withTrailingSlash(text), QString::fromUtf8(c.with)) << c.path;
    }
}

TEST(PathText, JoinedPutsOneSlashBetween)
{
    struct Join {
        const char* folder;
        const char* name;
        const char* expected;
    };
    const Join joins[] = {
        {"/", "a", "/a"},
        {"/x", "a", "/x/a"},
        {"/x/", "a", "/x/a"},
        {"", "a", "a"},
        {"x", "a", "x/a"},
    };
    for (const Join& j : joins) {
        EXPECT_EQ(PathText::joined(QByteArray(j.folder), QByteArray(j.name)), j.expected) << j.folder << " + " << j.name;
        EXPECT_EQ(PathText::joined(QString::fromUtf8(j.folder), QString::fromUtf8(j.name)), QString::fromUtf8(j.expected))
            << j.folder << " + " << j.name;
    }
}

TEST(PathText, FolderAndNameGiveThePathBack)
{
    // A byte that is not UTF-8 survives, and joined(folderOf, nameOf) is the path again.
    for (const QByteArray path : {QByteArray("/data/caf\xE9"), QByteArray("/caf\xE9"), QByteArray("/a/b")})
        EXPECT_EQ(PathText::joined(PathText::folderOf(path), PathText::nameOf(path)), path);
}

} // namespace
