// The batch action table: one entry per operation code, found by its code, with the caption,
// controls and height the confirmation dialog uses and the way its target is taken.
#include "fileops/BatchActions.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(BatchActionsTest, EveryCodeHasItsEntry)
{
    QSet<QString> captions;
    for (int i = 0; i < kOperationCount; ++i) {
        const auto code = OperationCode(i);
        const BatchAction& action = BatchActionOf(code);
        SCOPED_TRACE(action.caption);
        EXPECT_EQ(action.code, code);
        EXPECT_FALSE(action.captionText().isEmpty());
        EXPECT_GE(action.height, 151);
        EXPECT_LE(action.height, ConfirmActions::kZipCollapsedHeight);
        // The zip panel needs the zip height; nothing else has it.
        EXPECT_EQ(action.controls.testFlag(ConfirmControl::Zip), action.height == ConfirmActions::kZipCollapsedHeight);
        captions.insert(action.captionText());
    }
    EXPECT_EQ(captions.size(), int(kOperationCount)) << "captions are unique";
    EXPECT_EQ(BatchActions().size(), size_t(kOperationCount));
}

TEST(BatchActionsTest, LookupByCode)
{
    using C = ConfirmControl;
    const struct {
        OperationCode code;
        const char* caption;
        ConfirmControls controls;
        int height;
        bool archiveTarget, pickArchive, onTreeFolder;
    } cases[] = {
        {opBmpToJpg, "BMP to JPG", {}, 174, false, false, false},
        {opTifToBmp, "TIF to BMP", {}, 174, false, false, false},
        {opChangeExtension, "Change Extension", C::FileExt, 151, false, false, false},
        {opAppendFiles, "Append Files", C::Texts, 174, false, false, false},
        {opMakeNumberFiles, "Make Number Files", C::Number, 151, false, false, false},
        {opSearchReplace, "Search + Replace file name", C::Texts | C::TextLabels, 190, false, false, false},
        {opChangeAttributes, "Change Attribute Date/Time", C::DateTime | C::Attributes, 174, false, false, false},
        {opZipToExe, "ZIP to EXE", {}, 151, false, false, false},
        {opZip, "ZIP", C::Zip | C::Password, 223, true, true, false},
        {opUnzip, "UNZIP", C::Password | C::CreateFolders | C::RestorePath | C::WarnOverwrite, 151, false, false, false},
        {opZipFix, "ZIP file fix", {}, 151, false, false, false},
        {opZipFolder, "ZIP Folder", C::Zip | C::Password, 223, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        const BatchAction& action = BatchActionOf(c.code);
        EXPECT_EQ(action.captionText(), QLatin1String(c.caption));
        EXPECT_EQ(action.controls, c.controls);
        EXPECT_EQ(action.height, c.height);
        EXPECT_EQ(action.archiveTarget, c.archiveTarget);
        EXPECT_EQ(action.pickArchive, c.pickArchive);
        EXPECT_EQ(action.onTreeFolder, c.onTreeFolder);
    }
}

} // namespace
