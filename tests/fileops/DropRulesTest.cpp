// Drops without widgets: the data other file managers put on a drag decoded into paths (names
// that are not UTF-8 keep their bytes), the target and plan of a drop, the captions, and data
// streams written under a plain name.
#include "fileops/DropRules.h"
#include "fileops/DroppedStream.h"
#include "fileops/ui/DropTargets.h"

#include "platform/FileName.h"
#include "support/TempHome.h"

#include <QFile>
#include <QMimeData>

namespace {

using DropRules::Action;
using DropRules::Pane;

QString bytesPath(const QByteArray& bytes)
{
    return FileName::decode(bytes);
}

TEST(DropDecodingTest, DragsOfOtherFileManagersGiveTheirPaths)
{
    struct Case {
        const char* from;
        std::vector<std::pair<const char*, QByteArray>> formats;
        QStringList paths;
    };
    const QString latin1 = bytesPath("/home/u/caf\xe9.txt");
    const Case cases[] = {
        {"Dolphin: uri-list with CRLF and the KDE marks",
         {{"text/uri-list", "file:///home/u/a%20b.txt\r\nfile:///home/u/caf%E9.txt\r\n"},
          {"application/x-kde-source-id", "dolphin"}},
         {QStringLiteral("/home/u/a b.txt"), latin1}},
        {"Nautilus: uri-list and the gnome list",
         {{"text/uri-list", "file:///home/u/%C3%A9t%C3%A9\r\n"}, {"x-special/gnome-icon-list", "file:///home/u/%C3%A9t%C3%A9\r\n"}},
         {QStringLiteral("/home/u/\u00e9t\u00e9")}},
        {"Thunar: several items, no line end after the last", {{"text/uri-list", "file:///a\r\nfile:///b%23c"}},
         {QStringLiteral("/a"), QStringLiteral("/b#c")}},
        {"PCManFM-Qt: uri-list and plain text", {{"text/uri-list", "file:///tmp/x\n"}, {"text/plain", "/tmp/x"}},
         {QStringLiteral("/tmp/x")}},
        {"a browser: web addresses are no files", {{"text/uri-list", "https://example.org/a.png\r\n"}}, {}},
        {"text alone is no file list", {{"text/plain", "/etc/passwd"}}, {}},
    };
    for (const Case& c : cases) {
        QMimeData mime;
        for (const auto& [format, bytes] : c.formats)
            mime.setData(QString::fromLatin1(format), bytes);
        const QStringList paths = DropTargets::droppedPaths(&mime);
        EXPECT_EQ(paths, c.paths) << c.from;
    }
    // The non-UTF-8 name round-trips to the same bytes, as our own drags write it.
    QMimeData ours;
    ours.setUrls({FileName::toUrl(latin1)});
    ASSERT_EQ(DropTargets::droppedPaths(&ours).size(), 1);
    EXPECT_EQ(FileName::encode(DropTargets::droppedPaths(&ours).first()), QByteArray("/home/u/caf\xe9.txt"));
}

TEST(DropRulesTest, TargetsAndCaptions)
{
    EXPECT_EQ(DropRules::acceptedTarget(QStringLiteral("/data/docs/"), false, false), QStringLiteral("/data/docs"));
    EXPECT_EQ(DropRules::acceptedTarget(QStringLiteral("/data/.cache"), true, false), QString());
    EXPECT_EQ(DropRules::acceptedTarget(QStringLiteral("/media/.stick"), true, true), QStringLiteral("/media/.stick"));
    EXPECT_EQ(DropRules::acceptedTarget(QString(), false, false), QString());
    EXPECT_EQ(DropRules::hoverCaption(Pane::List, QStringLiteral("/data")), QStringLiteral("Copy to  /data"));
    EXPECT_EQ(DropRules::hoverCaption(Pane::Tree, QStringLiteral("/data")), QStringLiteral("Copy to  /data"));
    EXPECT_EQ(DropRules::hoverCaption(Pane::Tabs, QStringLiteral("/data")), QStringLiteral("Copy to /data"));
}

TEST(DropRulesTest, WhatADropDoes)
{
    struct Case {
        const char* label;
        DropRules::Drop drop;
        Action action;
        QStringList sources;
    };
    const QString list = QStringLiteral("/w/list/");
    const QStringList two{QStringLiteral("/src/a"), QStringLiteral("/src/b")};
    const Case cases[] = {
        {"plain drop moves", {Pane::List, QStringLiteral("/w/t"), two, list, false}, Action::Move, two},
        {"right button asks", {Pane::Tree, QStringLiteral("/w/t"), two, list, true}, Action::AskMenu, two},
        {"onto the folder the list shows", {Pane::List, QStringLiteral("/w/list"), two, list, false}, Action::Nothing, {}},
        {"the same folder's tree node: tried, but nothing is there to move",
         {Pane::Tree, QStringLiteral("/w/list"), {QStringLiteral("/w/list/a")}, list, false}, Action::Nothing, {}},
        {"the same folder's tab with the menu: a copy beside it may be made",
         {Pane::Tabs, QStringLiteral("/w/list"), {QStringLiteral("/w/list/a")}, list, true}, Action::AskMenu,
         {QStringLiteral("/w/list/a")}},
        {"a folder onto itself", {Pane::Tree, QStringLiteral("/src/a"), two, list, false}, Action::Nothing, {}},
        {"a folder into its own subfolder is left out",
         {Pane::Tree, QStringLiteral("/src/a/inner"), two, list, false}, Action::Move, {QStringLiteral("/src/b")}},
        {"a folder onto its own subfolder alone", {Pane::Tree, QStringLiteral("/src/a/inner"), {QStringLiteral("/src/a")}, list, true},
         Action::Nothing, {}},
        {"names that are gone are left out",
         {Pane::List, QStringLiteral("/w/t"), {QStringLiteral("/src/gone"), QStringLiteral("/src/a")}, list, false}, Action::Move,
         {QStringLiteral("/src/a")}},
        {"no target", {Pane::List, QString(), two, list, false}, Action::Nothing, {}},
        {"a name sharing the target's first letters is no parent",
         {Pane::List, QStringLiteral("/src/ab"), {QStringLiteral("/src/a")}, list, false}, Action::Move, {QStringLiteral("/src/a")}},
    };
    auto exists = [](const QString& path) { return !path.endsWith(QLatin1String("gone")); };
    for (const Case& c : cases) {
        const DropRules::Plan plan = DropRules::plan(c.drop, exists);
        EXPECT_EQ(plan.action, c.action) << c.label;
        EXPECT_EQ(plan.sources, c.sources) << c.label;
    }
    const DropRules::Plan moved = DropRules::plan({Pane::List, QStringLiteral("/w/t"), two, list, false}, exists);
    EXPECT_EQ(moved.into, QStringLiteral("/w/t/"));
    EXPECT_TRUE(moved.announce);
}

TEST(DropRulesTest, StreamNamesArePlainFileNames)
{
    const std::pair<const char*, const char*> cases[] = {
        {"photo.jpg", "photo.jpg"}, {"../../etc/passwd", "passwd"}, {"/abs/x.txt", "x.txt"}, {"..", ""},
        {".", ""},                  {"dir/", "dir"},                {"", ""},
    };
    for (const auto& [suggested, name] : cases)
        EXPECT_EQ(DropRules::streamFileName(QString::fromUtf8(suggested)), QString::fromUtf8(name)) << suggested;
}

class DroppedStreamTest : public TempHomeTest {};

TEST_F(DroppedStreamTest, NamedDataIsWrittenAndReplacesOnlyWhenAllowed)
{
    QMimeData mime;
    mime.setData(QStringLiteral("image/png"), "PNGDATA");
    mime.setData(QString::fromLatin1(DroppedStream::kSuggestedName), "../shot.png");
    const DroppedStream::Stream stream = DroppedStream::of(&mime);
    EXPECT_EQ(stream.name, QStringLiteral("shot.png"));
    EXPECT_EQ(stream.bytes, "PNGDATA");

    QMimeData nameless;
    nameless.setData(QStringLiteral("image/png"), "PNGDATA");
    EXPECT_TRUE(DroppedStream::of(&nameless).name.isEmpty()); // not accepted

    const QString folder = makeFolder(QStringLiteral("in"));
    ASSERT_TRUE(DroppedStream::save(folder, stream));
    QFile written(folder + QStringLiteral("/shot.png"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "PNGDATA");
    written.close();

    prompter().answer(PromptButton::No);
    EXPECT_FALSE(DroppedStream::save(folder, {stream.name, "OTHER"}));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "PNGDATA");
    written.close();
    EXPECT_TRUE(prompter().last().text.contains(QStringLiteral("\"shot.png\" already exists")));

    prompter().answer(PromptButton::Yes);
    EXPECT_TRUE(DroppedStream::save(folder, {stream.name, "OTHER"}));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "OTHER");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("shot.png")}); // no temporary left
}

} // namespace
