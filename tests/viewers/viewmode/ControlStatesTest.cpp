// The enabling table of the main window's commands, and the mode texts: title, View hint,
// spinner hint and caption.
#include "viewers/ControlStates.h"
#include "viewers/ViewModeTexts.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

namespace {

ControlFacts fileManagerList()
{
    ControlFacts f;
    f.listFocused = true;
    f.selectionCount = 1;
    f.currentFile = QStringLiteral("/d/a.zip");
    f.currentFileExists = true;
    f.folderIsValid = true;
    f.treeHasSelection = true;
    f.treePathExists = true;
    f.treeLevel = 2;
    return f;
}

TEST(ControlStates, EnablingTable)
{
    struct Case {
        const char* name;
        std::function<void(ControlFacts&)> change;
        bool ControlStates::*state;
        bool expected;
    } cases[] = {
        {"delete: list, selection, valid folder", [](ControlFacts&) {}, &ControlStates::deleteButton, true},
        {"delete: list renaming", [](ControlFacts& f) { f.renaming = true; }, &ControlStates::deleteButton, false},
        {"delete: list, no selection", [](ControlFacts& f) { f.selectionCount = 0; }, &ControlStates::deleteButton, false},
        {"delete: list, short name", [](ControlFacts& f) { f.currentFile = QStringLiteral("/a"); }, &ControlStates::deleteButton, false},
        {"delete: list, folder gone", [](ControlFacts& f) { f.folderIsValid = false; }, &ControlStates::deleteButton, false},
        {"delete: tree folder node", [](ControlFacts& f) { f.listFocused = false; f.treeFocused = true; }, &ControlStates::deleteButton, true},
        {"delete: tree drive node", [](ControlFacts& f) { f.listFocused = false; f.treeFocused = true; f.treeLevel = 1; }, &ControlStates::deleteButton, false},
        {"delete: neither focused", [](ControlFacts& f) { f.listFocused = false; }, &ControlStates::deleteButton, false},
        {"delete: web", [](ControlFacts& f) { f.mode = vmWebBrowser; }, &ControlStates::deleteButton, false},
        {"delete: editor selection", [](ControlFacts& f) { f.mode = vmTextEditor; f.editorHasSelection = true; }, &ControlStates::deleteButton, true},
        {"delete: editor none", [](ControlFacts& f) { f.mode = vmTextEditor; }, &ControlStates::deleteButton, false},
        {"delete: movie gone", [](ControlFacts& f) { f.mode = vmMoviePlayer; f.currentFileExists = false; }, &ControlStates::deleteButton, false},
        {"delete: image item", [](ControlFacts& f) { f.mode = vmImageViewer; f.selectedItemExists = true; }, &ControlStates::deleteButton, true},
        {"delete: zip item gone", [](ControlFacts& f) { f.mode = vmZipViewer; }, &ControlStates::deleteButton, false},
        {"unzip: .zip selected", [](ControlFacts&) {}, &ControlStates::unZip, true},
        {"unzip: .ZIP", [](ControlFacts& f) { f.currentFile = QStringLiteral("/d/A.ZIP"); }, &ControlStates::unZip, true},
        {"unzip: .zipx", [](ControlFacts& f) { f.currentFile = QStringLiteral("/d/a.zipx"); }, &ControlStates::unZip, false},
        {"unzip: .txt", [](ControlFacts& f) { f.currentFile = QStringLiteral("/d/a.txt"); }, &ControlStates::unZip, false},
        {"unzip: no selection", [](ControlFacts& f) { f.selectionCount = 0; }, &ControlStates::unZip, false},
        {"edit: file exists", [](ControlFacts&) {}, &ControlStates::textEditor, true},
        {"edit: file gone", [](ControlFacts& f) { f.currentFileExists = false; }, &ControlStates::textEditor, false},
        {"new text file: drives view", [](ControlFacts& f) { f.listIsDriveView = true; }, &ControlStates::newTextFileAndZip, false},
        {"new text file: folder", [](ControlFacts&) {}, &ControlStates::newTextFileAndZip, true},
        {"file tools: file manager", [](ControlFacts&) {}, &ControlStates::fileTools, true},
        {"file tools: viewer", [](ControlFacts& f) { f.mode = vmFileViewer; }, &ControlStates::fileTools, false},
        {"file tools: no tree node", [](ControlFacts& f) { f.treeHasSelection = false; }, &ControlStates::fileTools, false},
        {"drive: viewer", [](ControlFacts& f) { f.mode = vmFileViewer; }, &ControlStates::drive, false},
        {"undo: editor", [](ControlFacts& f) { f.mode = vmTextEditor; f.editorCanUndo = true; }, &ControlStates::undo, true},
        {"undo: outside the editor", [](ControlFacts& f) { f.editorCanUndo = true; }, &ControlStates::undo, false},
        {"save: modified", [](ControlFacts& f) { f.mode = vmTextEditor; f.editorModified = true; }, &ControlStates::save, true},
        {"paste: clipboard text", [](ControlFacts& f) { f.clipboardHasText = true; }, &ControlStates::editorPaste, true},
        {"print: no lines", [](ControlFacts&) {}, &ControlStates::textEditorPrint, false},
        {"viewer copy", [](ControlFacts& f) { f.viewerHasSelection = true; }, &ControlStates::fileViewerCopy, true},
        {"view: no selection", [](ControlFacts& f) { f.selectionCount = 0; }, &ControlStates::view, false},
    };
    for (const Case& c : cases) {
        ControlFacts facts = fileManagerList();
        c.change(facts);
        EXPECT_EQ(ComputeControlStates(facts).*c.state, c.expected) << c.name;
    }
}

TEST(ViewModeTexts, SpinnerHintWrapsAndNamesTheNeighbours)
{
    const QStringList names = {QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")};
    auto nameAt = [&names](int row) { return names.value(row); };
    using ViewModeTexts::SpinnerHintText;
    EXPECT_EQ(SpinnerHintText(vmFileViewer, 0, -1, nameAt), QStringLiteral("No files to view"));
    EXPECT_EQ(SpinnerHintText(vmFileViewer, 3, -1, nameAt), QStringLiteral("View Next File"));
    EXPECT_EQ(SpinnerHintText(vmFileManager, 3, 1, nameAt), QStringLiteral("b.txt"));
    EXPECT_EQ(SpinnerHintText(vmImageViewer, 1, 0, nameAt), QStringLiteral("a.txt"));
    EXPECT_EQ(SpinnerHintText(vmImageViewer, 2, 0, nameAt), QStringLiteral("b.txt")) << "two items: the other";
    EXPECT_EQ(SpinnerHintText(vmImageViewer, 2, 1, nameAt), QStringLiteral("a.txt"));
    EXPECT_EQ(SpinnerHintText(vmImageViewer, 3, 0, nameAt), QStringLiteral("< c.txt\r\n> b.txt")) << "the first's previous is the last";
    EXPECT_EQ(SpinnerHintText(vmImageViewer, 3, 2, nameAt), QStringLiteral("< b.txt\r\n> a.txt")) << "the last's next is the first";
}

TEST(ViewModeTexts, TitlesHintsAndCaption)
{
    const char* titles[] = {"Folvane File Manager", "Folvane Web Browser", "Folvane File/Hex Viewer", "Folvane Text Editor",
                            "Folvane Movie Player", "Folvane Image Viewer", "Folvane Zip Viewer"};
    const char* hints[] = {nullptr, nullptr, "Close file view", "Close Editor", "Close Movie viewer", "Close Image viewer", "Close Zip viewer"};
    for (int mode = 0; mode < kViewModeCount; ++mode) {
        EXPECT_EQ(ViewModeTexts::ModeTitle(TViewMode(mode)), QLatin1String(titles[mode]));
        const QString hint = ViewModeTexts::ViewHint(TViewMode(mode), QStringLiteral("/d/a.txt"));
        EXPECT_EQ(hint, hints[mode] ? QLatin1String(hints[mode]) : QStringLiteral("Open /d/a.txt"));
    }
    EXPECT_EQ(ViewModeTexts::Caption(vmTextEditor, QStringLiteral("DATA"), QStringLiteral("10 GB"), QStringLiteral("2 GB")),
              QStringLiteral("Folvane Text Editor     DATA 10 GB  2 GB free"));
    EXPECT_EQ(ViewModeTexts::Caption(vmFileManager, QString(), QString(), QString()), QStringLiteral("Folvane File Manager"));
}

} // namespace
