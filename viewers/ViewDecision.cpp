#include "viewers/ViewDecision.h"

#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/linux/RunnableProgram.h"
#include "viewers/DesktopAssociations.h"
#include "viewers/FileKinds.h"
#include "viewers/ViewModeTexts.h"

#include <QMimeDatabase>

using namespace FileKinds;

namespace {

constexpr qsizetype kHeadSize = 1000;

// Types whose "open" would run the file: the desktop's opener may start them (a
// script's or a program archive's handler is commonly its interpreter).
const char* const kProgramTypes[] = {
    "application/x-executable", "application/x-sharedlib", "application/x-pie-executable",
    "application/x-shellscript", "application/x-desktop", "application/x-ms-dos-executable",
    "application/x-msdownload", "application/x-msi", "application/x-java-archive",
    "application/x-appimage", "application/vnd.appimage",
};

ViewChoice choice(ViewAction action, const QString& path, TViewMode mode = vmFileManager)
{
    ViewChoice c;
    c.action = action;
    c.path = path;
    c.mode = mode;
    return c;
}

ViewChoice inMode(TViewMode mode, const QString& path)
{
    return choice(ViewAction::ShowInMode, path, mode);
}

} // namespace

bool IsProgramToRun(const QString& path, const QByteArray& head)
{
    if (IsProgramFile(path) || HasExtension(path, QStringLiteral(".DESKTOP")) || IsRunnableProgram(path))
        return true;
    const QMimeType type = QMimeDatabase().mimeTypeForFileNameAndData(PathText::nameOf(path), head);
    for (const char* name : kProgramTypes) {
        if (type.inherits(QLatin1String(name)))
            return true;
    }
    return head.startsWith("#!");
}

ViewChoice ChooseView(const QString& path, ViewRule rule, bool ownPanes, const DesktopAssociations& associations)
{
    const bool view = rule == ViewRule::View;
    if (LocalFiles::isDir(path))
        return ownPanes ? choice(ViewAction::EnterFolder, path) : choice(ViewAction::ShellOpen, path);
    if (!LocalFiles::exists(path))
        return choice(ViewAction::ShowCurrentFile, path);
    const std::optional<QByteArray> head = readHead(path, kHeadSize);
    if (!head)
        return choice(ViewAction::AccessError, path);
    if (!ownPanes)
        return IsProgramToRun(path, *head) ? choice(ViewAction::RunDialog, path) : choice(ViewAction::ShellOpen, path);
    if (HasExtension(path, QStringLiteral(".TXT")) && IsTextBytes(*head))
        return inMode(vmTextEditor, path);
    if (HasExtension(path, QStringLiteral(".ZIP")) && head->startsWith(QByteArrayView("PK\x03\x04", 4)))
        return inMode(vmZipViewer, path);
    if (IsMovieFile(path))
        return inMode(vmMoviePlayer, path);
    if (IsImageFile(path))
        return inMode(vmImageViewer, path);
    if (IsWebPageFile(path))
        return inMode(vmWebBrowser, path);
    if (HasExtension(path, QStringLiteral(".URL"))) {
        const QString url = ReadInternetShortcutUrl(path);
        if (!url.isEmpty())
            return inMode(vmWebBrowser, url);
    }
    if (!view)
        return inMode(vmFileViewer, path);
    if (IsAudioFile(path) || HasExtension(path, QStringLiteral(".M3U")))
        return choice(ViewAction::Playlist, path);
    if (IsProgramToRun(path, *head))
        return choice(ViewAction::RunDialog, path);
    ViewChoice opened = choice(ViewAction::OpenWith, path);
    opened.handler = associations.handlerForFile(PathText::nameOf(path), *head);
    return opened.handler.isEmpty() ? inMode(vmFileViewer, path) : opened;
}

QString ViewChoice::describe() const
{
    switch (action) {
    case ViewAction::EnterFolder: return QStringLiteral("folder");
    case ViewAction::ShowCurrentFile: return QStringLiteral("not found");
    case ViewAction::AccessError: return QStringLiteral("access error");
    case ViewAction::ShowInMode: return QStringLiteral("mode %1 %2").arg(int(mode)).arg(ViewModeTexts::ModeTitle(mode));
    case ViewAction::Playlist: return QStringLiteral("playlist");
    case ViewAction::RunDialog: return QStringLiteral("run dialog");
    case ViewAction::OpenWith: return QStringLiteral("open with ") + handler;
    case ViewAction::ShellOpen: return QStringLiteral("open with the desktop");
    }
    return QString();
}
