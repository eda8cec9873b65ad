#include "platform/Shell.h"

#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/linux/DetachedProcess.h"
#include "platform/linux/RunnableProgram.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <span>

namespace {

class ProcessLauncher final : public ProgramLauncher {
public:
    QString findProgram(const QString& name) override { return QStandardPaths::findExecutable(name); }
    Status start(const QString& program, const QStringList& arguments, const QString& workingFolder) override
    {
        return DetachedProcess::start(program, arguments, workingFolder);
    }
};

ProcessLauncher processLauncher;
ProgramLauncher* currentLauncher = &processLauncher;

// Search programs of the common desktops, each of which takes the folder to search in.
const char* const kSearchPrograms[] = {"catfish", "kfind", "gnome-search-tool", "searchmonkey"};
// File managers of the common desktops, each of which takes the folder to open. They are
// started by name, never through xdg-open: this program may be the desktop's folder handler,
// and would then open itself.
const char* const kFileManagers[] = {"nautilus", "dolphin", "nemo", "caja", "thunar", "pcmanfm-qt", "pcmanfm", "konqueror"};

const QString kNotFound = QStringLiteral("The specified file was not found.");
const QString kPathNotFound = QStringLiteral("The specified path was not found.");
const QString kNoAssociation = QStringLiteral("There is no application associated with the given filename extension.");

bool isUrl(const QString& file)
{
    const qsizetype colon = file.indexOf(QLatin1Char(':'));
    return colon > 1 && !file.startsWith(QLatin1Char('/')) && (file.mid(colon, 3) == QLatin1String("://") || file.startsWith(QLatin1String("mailto:")));
}

ShellExecuteResult started(const QString& program, const QStringList& arguments, const QString& folder)
{
    ShellExecuteResult result;
    const Status status = ProgramLauncher::instance().start(program, arguments, folder);
    result.accepted = status.ok();
    if (!result.accepted)
        result.error = status.errorString().isEmpty() ? kNotFound : status.errorString();
    return result;
}

ShellExecuteResult refused(const QString& text)
{
    ShellExecuteResult result;
    result.error = text;
    return result;
}

// An open never starts a program unasked: a double click on what a stick or a download
// brought along (where every file may have the execute bit) must not run it. The program is
// started directly, so its name and parameters are never read as shell text.
ShellExecuteResult runProgram(const QString& program, const QString& parameters, const QString& folder)
{
    if (!Prompter::instance().confirm(QStringLiteral("Run ") + PathText::nameOf(program) + QStringLiteral("?"))) {
        ShellExecuteResult result;
        result.declined = true;
        return result;
    }
    return started(program, QProcess::splitCommand(parameters), folder);
}

// Starts the first of programs that is installed, on folder.
ShellExecuteResult startFirst(std::span<const char* const> programs, const QString& folder, const QString& noneText)
{
    for (const char* name : programs) {
        const QString program = ProgramLauncher::instance().findProgram(QLatin1String(name));
        if (!program.isEmpty())
            return started(program, {folder}, folder);
    }
    return refused(noneText);
}

} // namespace

ProgramLauncher::~ProgramLauncher() = default;

ProgramLauncher& ProgramLauncher::instance()
{
    return *currentLauncher;
}

void ProgramLauncher::setInstance(ProgramLauncher* launcher)
{
    currentLauncher = launcher ? launcher : &processLauncher;
}

ShellExecuteResult ExploreFolder(const QString& folder)
{
    if (!LocalFiles::isDir(folder))
        return refused(kPathNotFound);
    return startFirst(kFileManagers, folder, QStringLiteral("No file manager of the desktop is installed."));
}

ShellExecuteResult ShellExecute(const QString& verb, const QString& file, const QString& parameters, const QString& workingFolder)
{
    const QString action = verb.toLower();
    const bool url = isUrl(file);
    // Only strings of QFileInfo: the file system is asked through LocalFiles, which keeps the bytes.
    const QFileInfo info(url ? file : LocalFiles::absolutePath(file));
    const bool isDir = !url && LocalFiles::isDir(file);
    if (!url && !LocalFiles::exists(file))
        return refused(LocalFiles::isDir(info.absolutePath()) ? kNotFound : kPathNotFound);
    const QString folder = !workingFolder.isEmpty() ? workingFolder : url ? QString() : isDir ? info.absoluteFilePath() : info.absolutePath();

    if (action == QLatin1String("find"))
        return startFirst(kSearchPrograms, folder, QStringLiteral("No file search program is installed."));
    if (action == QLatin1String("print")) {
        if (url || isDir)
            return refused(kNoAssociation);
        const QString lp = ProgramLauncher::instance().findProgram(QStringLiteral("lp"));
        if (lp.isEmpty())
            return refused(QStringLiteral("No printing system is installed (the lp command is missing)."));
        return started(lp, {QStringLiteral("--"), info.absoluteFilePath()}, folder);
    }
    if (!action.isEmpty() && action != QLatin1String("open"))
        return refused(QStringLiteral("The action \"") + verb + QStringLiteral("\" is not supported."));
    if (!url && IsRunnableProgram(info.absoluteFilePath()))
        return runProgram(info.absoluteFilePath(), parameters, folder);
    const QString opener = ProgramLauncher::instance().findProgram(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return refused(kNoAssociation);
    return started(opener, {url ? file : info.absoluteFilePath()}, folder);
}

QString ShellFailureMessage(const QString& verb, const QString& path, const ShellExecuteResult& result)
{
    const QString text = QStringLiteral("Can not ") + verb + QStringLiteral(" file  ") + path;
    return result.error.isEmpty() ? text : text + QStringLiteral("\r\n") + result.error;
}
