#include "fileops/BatchActions.h"

#include <algorithm>

namespace {

using C = ConfirmControl;

constexpr int kZip = ConfirmActions::kZipCollapsedHeight;

constexpr BatchAction kActions[] = {
    {opBmpToJpg, "BMP to JPG", {}, 174, false, false, false},
    {opBmpToGif, "BMP to GIF", {}, 174, false, false, false},
    {opBmpToWmf, "BMP to WMF", {}, 174, false, false, false},
    {opBmpToTif, "BMP to TIF", {}, 174, false, false, false},
    {opJpgToBmp, "JPG to BMP", {}, 174, false, false, false},
    {opJpgToGif, "JPG to GIF", {}, 174, false, false, false},
    {opWmfToBmp, "WMF to BMP", {}, 174, false, false, false},
    {opGifToBmp, "GIF to BMP", {}, 174, false, false, false},
    {opGifToJpg, "GIF to JPG", {}, 174, false, false, false},
    {opTifToBmp, "TIF to BMP", {}, 174, false, false, false},
    {opChangeExtension, "Change Extension", C::FileExt, 151, false, false, false},
    {opAppendFiles, "Append Files", C::Texts, 174, false, false, false},
    {opMakeNumberFiles, "Make Number Files", C::Number, 151, false, false, false},
    {opSearchReplace, "Search + Replace file name", C::Texts | C::TextLabels, 190, false, false, false},
    {opChangeAttributes, "Change Attribute Date/Time", C::DateTime | C::Attributes, 174, false, false, false},
    {opZipToExe, "ZIP to EXE", {}, 151, false, false, false},
    {opZip, "ZIP", C::Zip | C::Password, kZip, true, true, false},
    {opUnzip, "UNZIP", C::Password | C::CreateFolders | C::RestorePath | C::WarnOverwrite, 151, false, false, false},
    {opZipFix, "ZIP file fix", {}, 151, false, false, false},
    {opZipFolder, "ZIP Folder", C::Zip | C::Password, kZip, true, false, true},
};

constexpr bool inCodeOrder()
{
    for (int i = 0; i < int(std::size(kActions)); ++i) {
        if (kActions[i].code != i)
            return false;
    }
    return std::size(kActions) == kOperationCount;
}
static_assert(inCodeOrder(), "one entry per operation code, in code order");

} // namespace

const BatchAction& BatchActionOf(OperationCode code)
{
    Q_ASSERT(code < kOperationCount);
    return kActions[std::min<int>(code, kOperationCount - 1)];
}

std::span<const BatchAction> BatchActions()
{
    return kActions;
}
