#include "viewers/ViewModeTexts.h"


namespace ViewModeTexts {

namespace {

struct ModeTexts {
    const char* title;
    const char* closeHint; // nullptr: the View hint opens the current file
};

const ModeTexts kModes[kViewModeCount] = {
    {"Folvane File Manager", nullptr},
    {"Folvane Web Browser", nullptr},
    {"Folvane File/Hex Viewer", "Close file view"},
    {"Folvane Text Editor", "Close Editor"},
    {"Folvane Movie Player", "Close Movie viewer"},
    {"Folvane Image Viewer", "Close Image viewer"},
    {"Folvane Zip Viewer", "Close Zip viewer"},
};

const ModeTexts& textsOf(TViewMode mode)
{
    return kModes[qBound(0, int(mode), kViewModeCount - 1)];
}

} // namespace

QString ModeTitle(TViewMode mode)
{
    return QLatin1String(textsOf(mode).title);
}

QString ViewHint(TViewMode mode, const QString& currentFile)
{
    const char* close = textsOf(mode).closeHint;
    return close ? QString::fromLatin1(close) : QString(QStringLiteral("Open ") + currentFile);
}

QString SpinnerHintText(TViewMode mode, int count, int selected, const std::function<QString(int)>& nameAt)
{
    if (count <= 0)
        return QStringLiteral("No files to view");
    if (selected < 0 || selected >= count)
        return QStringLiteral("View Next File");
    if (mode == vmFileManager || count == 1)
        return nameAt(selected);
    const int previous = (selected + count - 1) % count;
    const int next = (selected + 1) % count;
    if (count == 2)
        return nameAt(next);
    return QStringLiteral("< ") + nameAt(previous) + QStringLiteral("\r\n> ") + nameAt(next);
}

QString Caption(TViewMode mode, const QString& driveName, const QString& total, const QString& free)
{
    if (driveName.isEmpty())
        return ModeTitle(mode);
    return ModeTitle(mode) + QStringLiteral("     ") + driveName + QLatin1Char(' ') + total + QStringLiteral("  ") + free
        + QStringLiteral(" free");
}

} // namespace ViewModeTexts
