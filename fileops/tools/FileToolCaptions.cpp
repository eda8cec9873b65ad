#include "fileops/tools/FileToolCaptions.h"

namespace FileToolCaptions {

namespace {

struct Forms {
    const char* many;  // before the count, the count then follows
    const char* manyEnd;
    const char* one;
    const char* none;
};

// Indexed by Item.
const Forms kForms[] = {
    {"Change extension on (", ") files", "Change extension on (1) selected file", "Change extension  [no files selected]"},
    {"Make numbered files from (", ") files", "Make numbered files from (1) selected file",
     "Make numbered files from   [no files selected]"},
    {"Append (", ") files", "Append (1) selected file", "Append   [no files selected]"},
    {"Search + Replace (", ") files", "Search + Replace (1) file", "Search + Replace   [no files selected]"},
    {"Change File Attributes/DateTime (", ") files", "Change File Attributes/DateTime (1) file",
     "Change File Attributes/DateTime   [no files selected]"},
    {"Save (", ") path/file link to clipboard", "Save (1) path/file link to clipboard", "Save link to clipboard"},
    {"Save (", ") path/file link to clipboard", "Save (1) path/file link to clipboard", "Save path link to clipboard"},
    {"Save (", ") path/file link to text file", "Save (1) path/file link to text file", "Save link to text file"},
    {"Save (", ") path/file to text file", "Save (1) path/file to text file", "Save path/file to text file  [no files selected]"},
    {"Make shortcut to (", ") files in...", "Make shortcut to (1) file in...", "Make shortcut %1 in..."},
    {"Make shortcut to (", ") files on Desktop", "Make shortcut to (1) file on Desktop", "Make shortcut %1 on Desktop"},
};
static_assert(std::size(kForms) == int(Item::ShortcutToDesktop) + 1, "one entry per item");

} // namespace

QString caption(Item item, int n, const QString& listFolder)
{
    const Forms& forms = kForms[int(item)];
    if (n >= 2)
        return QLatin1String(forms.many) + QString::number(n) + QLatin1String(forms.manyEnd);
    if (n == 1)
        return QLatin1String(forms.one);
    const QString none = QLatin1String(forms.none);
    return none.contains(QLatin1String("%1")) ? none.arg(listFolder) : none;
}

QString treeSaveToClipboard(const QString& treeFolder)
{
    return QStringLiteral("Save path link ") + treeFolder + QStringLiteral(" to clipboard");
}

QString treeSaveToTextFile(const QString& treeFolder)
{
    return QStringLiteral("Save path link ") + treeFolder + QStringLiteral(" to text file");
}

QString shortcutPickerTitle(int n, const QString& listFolder)
{
    if (n >= 1)
        return QStringLiteral("Make Shortcut for ") + QString::number(n) + QStringLiteral(" selected in... ");
    return QStringLiteral("Make Shortcut for ") + listFolder + QStringLiteral(" in...");
}

} // namespace FileToolCaptions
