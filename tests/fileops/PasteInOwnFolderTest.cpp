// Copy and paste in the folder that holds the source: the copy lands beside it under a new
// name ("name - Copy.ext", then "name - Copy (2).ext", ...), names taken meanwhile by
// another program are passed over without touching them, and a cut pasted there changes
// nothing and says nothing.
#include "FakePanes.h"

#include "fileops/FileClipboard.h"
#include "fileops/TransferCommands.h"
#include "platform/FileName.h"
#include "platform/PathText.h"
#include "platform/TransferFaults.h"

#include "support/ByteFiles.h"
#include "support/TempHome.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using ByteFiles::Names;

using ByteFiles::namesIn;
using ByteFiles::readFile;
using ByteFiles::writeFile;

class PasteInOwnFolderTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        TransferFaults::clear();
        TempHomeTest::TearDown();
    }
    // Shows folder in the list and copies (or cuts) the rows of these names, by their bytes.
    void copyFrom(const QByteArray& folder, const Names& names, bool move)
    {
        m_panes.showFolder(FileName::decode(folder));
        for (ListEntry& row : m_panes.rows)
            row.selected = names.contains(PathText::nameOf(FileName::encode(row.fullPath)));
        m_commands.copyList(move);
    }

    FakePanes m_panes;
    FileClipboard m_clipboard;
    TransferCommands m_commands{m_panes, m_clipboard};
};

TEST_F(PasteInOwnFolderTest, EachPasteMakesTheNextNamedCopy)
{
    const struct {
        QByteArray name;
        bool folder;
        Names copies; // made by the first, second and third paste
    } cases[] = {
        {"report.txt", false, {"report - Copy.txt", "report - Copy (2).txt", "report - Copy (3).txt"}},
        {"README", false, {"README - Copy", "README - Copy (2)", "README - Copy (3)"}},
        {".bashrc", false, {".bashrc - Copy", ".bashrc - Copy (2)", ".bashrc - Copy (3)"}},
        {"backup.tar.gz", false, {"backup.tar - Copy.gz", "backup.tar - Copy (2).gz", "backup.tar - Copy (3).gz"}},
        {"caf\xe9.txt", false, {"caf\xe9 - Copy.txt", "caf\xe9 - Copy (2).txt", "caf\xe9 - Copy (3).txt"}},
        {"photos.2024", true, {"photos.2024 - Copy", "photos.2024 - Copy (2)", "photos.2024 - Copy (3)"}},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QByteArray folder = FileName::encode(makeFolder(QStringLiteral("own/") + QString::number(index++)));
        const QByteArray source = folder + '/' + c.name;
        if (c.folder) {
            ASSERT_EQ(::mkdir(source.constData(), 0755), 0);
            writeFile(source + "/inner.txt", "inner");
        } else {
            writeFile(source, c.name);
        }
        copyFrom(folder, {c.name}, false);
        Names expected{c.name};
        for (const QByteArray& copy : c.copies) {
            m_commands.pasteList(); // the later pastes repeat the source through the system clipboard
            expected << copy;
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(namesIn(folder), expected);
            if (c.folder)
                EXPECT_EQ(namesIn(folder + '/' + copy), Names{"inner.txt"});
            EXPECT_EQ(readFile(folder + '/' + copy + (c.folder ? "/inner.txt" : "")), c.folder ? "inner" : c.name);
        }
        EXPECT_EQ(readFile(source + (c.folder ? "/inner.txt" : "")), c.folder ? "inner" : c.name);
        EXPECT_TRUE(prompter().records().isEmpty());
    }
}

TEST_F(PasteInOwnFolderTest, TakenNamesArePassedOverAndACutStaysPut)
{
    // "notes - Copy.txt" appears just before the copy is made (another program was quicker):
    // it is left as it is, with no question, and the copy takes the next name.
    const QByteArray folder = FileName::encode(makeFolder(QStringLiteral("race")));
    writeFile(folder + "/notes.txt", "notes");
    TransferFaults faults;
    faults.beforeItem = [&](const QString&) { writeFile(folder + "/notes - Copy.txt", "theirs"); };
    TransferFaults::set(faults);
    copyFrom(folder, {"notes.txt"}, false);
    m_commands.pasteList();
    TransferFaults::clear();
    EXPECT_EQ(namesIn(folder), (Names{"notes - Copy (2).txt", "notes - Copy.txt", "notes.txt"}));
    EXPECT_EQ(readFile(folder + "/notes - Copy.txt"), "theirs");
    EXPECT_EQ(readFile(folder + "/notes - Copy (2).txt"), "notes");
    EXPECT_TRUE(prompter().records().isEmpty());

    // A cut pasted into its own folder leaves files and folders where they are, silently.
    const QByteArray still = FileName::encode(makeFolder(QStringLiteral("still")));
    writeFile(still + "/a.txt", "a");
    ASSERT_EQ(::mkdir(QByteArray(still + "/sub").constData(), 0755), 0);
    writeFile(still + "/sub/x.txt", "x");
    copyFrom(still, {"a.txt", "sub"}, true);
    m_commands.pasteList();
    EXPECT_EQ(namesIn(still), (Names{"a.txt", "sub"}));
    EXPECT_EQ(readFile(still + "/a.txt"), "a");
    EXPECT_EQ(namesIn(still + "/sub"), Names{"x.txt"});
    EXPECT_TRUE(prompter().records().isEmpty());
}

} // namespace
