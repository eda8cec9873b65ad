// fvtool zipbatch zip|unzip|exe|fix --target PATH [options] PATH...: runs one of the window's
// zip batches through the batch loop, with the work list collected as the window collects
// the selection (zip: every file below the given paths; the others: the ".zip" files among
// them and below given folders). --target is the archive for zip and the folder for the
// others. Questions are answered from the options: --yes answers the overwrite questions
// with Yes to All (else No), --password gives the password when an archive asks for one.
#include "Command.h"

#include "archive/tools/ZipBatchFailure.h"
#include "archive/tools/ZipBranches.h"
#include "archive/tools/ZipToExeBranch.h"
#include "archive/tools/ZipWorkList.h"
#include "fileops/BatchLoop.h"
#include "fileops/WorkList.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"

#include <map>

namespace {

const char* const kUsage =
    "zipbatch zip|unzip|exe|fix --target PATH [--password P] [--yes] [--small-stub] [--stub-folder DIR] "
    "[--stored|--deflate] [--level normal|maximum|fast|superfast] [--span BYTES] [--strip-path] [--recurse] "
    "[--freshen] [--replace] [--dos] [--no-paths] PATH...";

class BatchPrompter final : public Prompter {
public:
    BatchPrompter(bool yes, QString password) : m_yes(yes), m_password(std::move(password)) {}
    PromptButton ask(PromptKind kind, PromptButtons buttons, const QString& text, const QString&) override
    {
        if (buttons.testFlag(PromptButton::YesToAll)) {
            if (!m_yes)
                fvtool::err(QStringLiteral("kept: ") + displayText(text));
            return m_yes ? PromptButton::YesToAll : PromptButton::No;
        }
        // "same password for each file??": the one given password serves every archive.
        if (kind == PromptKind::Confirmation && buttons.testFlag(PromptButton::Yes))
            return PromptButton::Yes;
        return escapeAnswer(buttons);
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override
    {
        if (m_password.isEmpty())
            return std::nullopt;
        return m_password;
    }

private:
    bool m_yes;
    QString m_password;
};

const std::map<QString, OperationCode> kBatches = {
    {QStringLiteral("zip"), opZip},
    {QStringLiteral("unzip"), opUnzip},
    {QStringLiteral("exe"), opZipToExe},
    {QStringLiteral("fix"), opZipFix},
};

const std::map<QString, int> kLevels = {
    {QStringLiteral("normal"), 0}, {QStringLiteral("maximum"), 1}, {QStringLiteral("fast"), 2}, {QStringLiteral("superfast"), 3}};

struct Arguments {
    ConfirmResults options;
    QStringList paths;
    bool yes = false;
    bool smallStub = false;
    QString stubFolder;
    QString password; // for the question, when the archive asks
};

bool parseValue(const QString& arg, const QString& value, Arguments& out)
{
    ZipOptions& zip = out.options.zip;
    bool ok = true;
    if (arg == QLatin1String("--target"))
        out.options.target = LocalFiles::absolutePath(value);
    else if (arg == QLatin1String("--password"))
        out.password = value;
    else if (arg == QLatin1String("--stub-folder"))
        out.stubFolder = value;
    else if (arg == QLatin1String("--level") && kLevels.count(value))
        zip.deflation = kLevels.at(value);
    else if (arg == QLatin1String("--span"))
        zip.spanThreshold = value.toLongLong(&ok);
    else
        return false;
    return ok;
}

bool parse(const QStringList& args, Arguments& out)
{
    ZipOptions& zip = out.options.zip;
    const std::map<QString, bool*> flags = {
        {QStringLiteral("--yes"), &out.yes},           {QStringLiteral("--small-stub"), &out.smallStub},
        {QStringLiteral("--strip-path"), &zip.stripPath}, {QStringLiteral("--recurse"), &zip.recurse},
        {QStringLiteral("--freshen"), &zip.freshen},   {QStringLiteral("--replace"), &zip.replace},
        {QStringLiteral("--dos"), &zip.dosMode},
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (flags.count(arg))
            *flags.at(arg) = true;
        else if (arg == QLatin1String("--stored") || arg == QLatin1String("--deflate"))
            zip.compression = arg == QLatin1String("--stored") ? 2 : 1;
        else if (arg == QLatin1String("--no-paths"))
            zip.restorePath = false;
        else if (arg.startsWith(QLatin1String("--")) && (i + 1 >= args.size() || !parseValue(arg, args[++i], out)))
            return false;
        else if (!arg.startsWith(QLatin1String("--")))
            out.paths << arg;
    }
    return !out.paths.isEmpty() && !out.options.target.isEmpty();
}

QStringList workList(OperationCode code, const QStringList& paths)
{
    QList<ListEntry> rows;
    for (const QString& path : paths)
        rows << ListEntry{LocalFiles::absolutePath(path), PathText::nameOf(path), QString(), QString(), true, false};
    const QStringList files = CollectSelectedFiles(rows, false);
    return code == opZip ? files : ZipWorkList::zipFiles(files);
}

int runZipBatch(const QStringList& args)
{
    Arguments parsed;
    if (args.isEmpty() || !kBatches.count(args.first()) || !parse(args.mid(1), parsed)) {
        fvtool::err(QStringLiteral("usage: fvtool ") + QLatin1String(kUsage));
        return 2;
    }
    const OperationCode code = kBatches.at(args.first());
    const QStringList work = workList(code, parsed.paths);
    ZipToExeBranch::setSmallStub(parsed.smallStub);
    ZipToExeBranch::setStubFolder(parsed.stubFolder);
    BatchPrompter prompter(parsed.yes, parsed.password);
    Prompter::setInstance(&prompter);
    RegisterZipBranches();
    BatchLoop loop(code, work, parsed.options);
    loop.run();
    Prompter::setInstance(nullptr);
    const QString failure = ZipBatchFailure::text();
    if (!failure.isEmpty())
        fvtool::err(failure);
    const BatchLabels labels = loop.labels();
    if (code == opZipFix && !labels.progressText.isEmpty())
        fvtool::out(labels.progressText);
    fvtool::out(QString::number(loop.progress().doneItems) + QStringLiteral(" of ") + QString::number(work.size())
                + QStringLiteral(" files processed"));
    return loop.end() == BatchEnd::Done && failure.isEmpty() ? 0 : 1;
}

} // namespace

FVTOOL_COMMAND(zipbatch, kUsage, runZipBatch)
