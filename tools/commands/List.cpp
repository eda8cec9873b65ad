// fvtool list: prints the rows the file list would show for a folder, one per line, with
// the columns name, size, type, date and attributes separated by tabs. The folder
// "My Computer" lists the drives (name, type, size, free space).
#include "Command.h"

#include "browse/DriveItems.h"
#include "browse/FileItemText.h"
#include "browse/FileListing.h"
#include "browse/FileSorter.h"
#include "browse/FileTypeNames.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"


#include <cstdio>
#include <optional>

namespace {

struct ListArguments {
    QString folder;
    ListingOptions options;
    int column = FileSorter::NameColumn;
    bool ascending = true;
};

std::optional<int> columnNamed(const QString& name)
{
    static const QStringList names = {QStringLiteral("name"), QStringLiteral("size"), QStringLiteral("type"),
                                      QStringLiteral("date"), QStringLiteral("attr")};
    const qsizetype index = names.indexOf(name.toLower());
    return index < 0 ? std::nullopt : std::optional<int>(int(index));
}

std::optional<ListArguments> parse(const QStringList& args)
{
    ListArguments parsed;
    // Without --hidden the list shows what a fresh list shows with hidden files switched off.
    parsed.options.fileType = TFileAttr::ftReadOnly | TFileAttr::ftArchive | TFileAttr::ftNormal;
    parsed.options.showFolders = true;
    parsed.options.parentDirEnabled = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--mask") && hasValue) {
            parsed.options.mask = args[++i];
        } else if (arg == QLatin1String("--sort") && hasValue) {
            const std::optional<int> column = columnNamed(args[++i]);
            if (!column) {
                fvtool::err(QStringLiteral("fvtool list: unknown column \"%1\" (name, size, type, date, attr)").arg(args[i]));
                return std::nullopt;
            }
            parsed.column = *column;
        } else if (arg == QLatin1String("--desc")) {
            parsed.ascending = false;
        } else if (arg == QLatin1String("--hidden")) {
            parsed.options.fileType |= TFileAttr::ftHidden | TFileAttr::ftSystem;
        } else if (parsed.folder.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            parsed.folder = arg;
        } else {
            fvtool::err(QStringLiteral("fvtool list: unexpected argument \"%1\"").arg(arg));
            return std::nullopt;
        }
    }
    if (parsed.folder.isEmpty()) {
        fvtool::err(QStringLiteral("usage: fvtool list DIR [--mask M] [--sort COLUMN] [--desc] [--hidden]"));
        return std::nullopt;
    }
    return parsed;
}

void printRow(FileListing& listing, const FileItemText& text, int row, FileTypeNames& typeNames)
{
    QString line = text.caption(listing, row);
    for (int index : {0, 1, 2, 3}) {
        line += QLatin1Char('\t');
        line += text.subItem(listing, row, index, typeNames);
    }
    line += QLatin1Char('\n');
    // The name's own bytes, as ls and find print them to a pipe.
    const QByteArray bytes = FileName::encode(line);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

int runList(const QStringList& args)
{
    const std::optional<ListArguments> parsed = parse(args);
    if (!parsed)
        return 2;
    FileListing listing;
    const QString folder = LocalFiles::absolutePath(parsed->folder);
    if (parsed->folder.compare(FileListing::myComputer(), Qt::CaseInsensitive) == 0) {
        QStringList roots;
        std::vector<TFileInfo> drives = DriveItems::rows(ListDrives(), &roots);
        listing.setDrives(std::move(drives), std::move(roots));
    } else if (!LocalFiles::isDir(folder)) {
        fvtool::err(QStringLiteral("fvtool list: %1 is not a folder").arg(parsed->folder));
        return 1;
    } else if (!listing.listFolder(folder, parsed->options)) {
        fvtool::err(QStringLiteral("fvtool list: cannot read the folder %1").arg(folder));
        return 1;
    }
    FileTypeNames& typeNames = FileTypeNames::instance();
    listing.sort(parsed->column, parsed->ascending, typeNames);
    FileItemText text;
    text.setTimeFormat(TDtFormat::df_yyyyMMdd, TTmFormat::tfLongFormat);
    for (int row = 0; row < listing.count(); ++row)
        printRow(listing, text, row, typeNames);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

FVTOOL_COMMAND(list, "list DIR [--mask M] [--sort COLUMN] [--desc] [--hidden]", runList)
