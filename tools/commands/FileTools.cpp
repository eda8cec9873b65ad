// fvtool filetool TOOL --target DIR [options] PATH...: runs one of the File Tools' batch
// branches (the code the window's batch loop runs) over the files of the given paths,
// collected as the window collects a selection (folders expanded, linked folders not
// entered). A name in the way is never replaced: the replace question is answered No.
// fvtool worklist PATH... prints that collection, one file a line.
#include "Command.h"

#include "fileops/BatchLoop.h"
#include "fileops/WorkList.h"
#include "fileops/tools/FileToolBranches.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"

#include <QDateTime>

#include <map>

namespace {

class ToolPrompter final : public Prompter {
public:
    explicit ToolPrompter(bool group) : m_group(group) {}
    PromptButton ask(PromptKind kind, PromptButtons buttons, const QString& text, const QString&) override
    {
        if (kind == PromptKind::Error || kind == PromptKind::Warning)
            fvtool::err(displayText(text));
        if (buttons.testFlag(PromptButton::YesToAll))
            return PromptButton::No;
        if (kind == PromptKind::Confirmation && buttons.testFlag(PromptButton::Yes))
            return m_group ? PromptButton::Yes : PromptButton::No;
        return escapeAnswer(buttons);
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return std::nullopt; }

private:
    bool m_group;
};

const std::map<QString, OperationCode> kTools = {
    {QStringLiteral("ext"), opChangeExtension},    {QStringLiteral("append"), opAppendFiles},
    {QStringLiteral("number"), opMakeNumberFiles}, {QStringLiteral("replace"), opSearchReplace},
    {QStringLiteral("attrib"), opChangeAttributes},
};

struct Arguments {
    ConfirmResults options;
    QStringList paths;
    bool group = false;
};

// The options after the tool's name; false on an unknown or incomplete one.
bool parse(const QStringList& args, Arguments& out)
{
    ConfirmResults& o = out.options;
    const std::map<QString, QString*> values = {
        {QStringLiteral("--target"), &o.target},    {QStringLiteral("--ext"), &o.newExtension},
        {QStringLiteral("--first"), &o.firstNumber}, {QStringLiteral("--prefix"), &o.firstText},
        {QStringLiteral("--suffix"), &o.secondText}, {QStringLiteral("--search"), &o.firstText},
        {QStringLiteral("--replace"), &o.secondText},
    };
    const std::map<QString, bool*> flags = {
        {QStringLiteral("--read-only"), &o.readOnly}, {QStringLiteral("--hidden"), &o.hidden},
        {QStringLiteral("--system"), &o.system},      {QStringLiteral("--archive"), &o.archive},
        {QStringLiteral("--group"), &out.group},
    };
    o.dateTime = QDateTime::currentDateTime();
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (flags.count(arg)) {
            *flags.at(arg) = true;
        } else if ((values.count(arg) || arg == QLatin1String("--date")) && i + 1 < args.size()) {
            const QString value = args[++i];
            if (arg == QLatin1String("--date"))
                o.dateTime = QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            else
                *values.at(arg) = value;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            out.paths << arg;
        }
    }
    return !out.paths.isEmpty() && !o.target.isEmpty() && o.dateTime.isValid();
}

QList<ListEntry> selectedRows(const QStringList& paths)
{
    QList<ListEntry> rows;
    for (const QString& path : paths)
        rows << ListEntry{LocalFiles::absolutePath(path), PathText::nameOf(path), QString(), QString(), true, false};
    return rows;
}

int runWorkList(const QStringList& args)
{
    if (args.isEmpty()) {
        fvtool::err(QStringLiteral("usage: fvtool worklist PATH..."));
        return 2;
    }
    for (const QString& file : CollectSelectedFiles(selectedRows(args), false))
        fvtool::out(file);
    return 0;
}

int runFileTool(const QStringList& args)
{
    Arguments parsed;
    if (args.isEmpty() || !kTools.count(args.first()) || !parse(args.mid(1), parsed)) {
        fvtool::err(QStringLiteral("usage: fvtool filetool ext|append|number|replace|attrib --target DIR [options] PATH..."));
        return 2;
    }
    const OperationCode code = kTools.at(args.first());
    if (!FileToolBranches::hasInput(code, parsed.options)) {
        fvtool::err(QStringLiteral("the tool's input is missing"));
        return 2;
    }
    const QStringList work = CollectSelectedFiles(selectedRows(parsed.paths), false);
    ToolPrompter prompter(parsed.group);
    Prompter::setInstance(&prompter);
    FileToolBranches::registerAll();
    BatchLoop loop(code, work, parsed.options);
    int failures = 0;
    loop.run();
    Prompter::setInstance(nullptr);
    // The loop keeps the last error line only; the count of changed names is what scripts need.
    const BatchLabels labels = loop.labels();
    if (!labels.itemText.isEmpty()) {
        fvtool::err(labels.itemText);
        failures = 1;
    }
    fvtool::out(QString::number(loop.progress().doneItems) + QStringLiteral(" of ") + QString::number(work.size())
                + QStringLiteral(" files processed"));
    return loop.end() == BatchEnd::Done && failures == 0 ? 0 : 1;
}

} // namespace

FVTOOL_COMMAND(filetool,
               "filetool ext|append|number|replace|attrib --target DIR [--ext E] [--first N] [--group] [--prefix P] "
               "[--suffix S] [--search X] [--replace Y] [--date 'yyyy-MM-dd HH:mm:ss'] [--read-only] [--hidden] "
               "[--archive] [--system] PATH...",
               runFileTool)
FVTOOL_COMMAND(worklist, "worklist PATH... (the files a batch tool acts on: folders expanded, linked folders not entered)",
               runWorkList)
