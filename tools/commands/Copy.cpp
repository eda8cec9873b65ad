// fvtool copy|move SOURCE... TARGET: runs the program's file operation engine without a
// window. Questions get their escape answer (an existing target is not replaced: Cancel);
// errors go to stderr.
#include "Command.h"

#include "platform/FileOperation.h"
#include "platform/Prompter.h"

namespace {

class ConsolePrompter final : public Prompter {
public:
    PromptButton ask(PromptKind kind, PromptButtons buttons, const QString& text, const QString&) override
    {
        if (kind == PromptKind::Error || kind == PromptKind::Warning)
            fvtool::err(displayText(text));
        return escapeAnswer(buttons);
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

int runTransfer(FileOperationKind kind, const QStringList& args)
{
    if (args.size() < 2) {
        fvtool::err(QStringLiteral("need at least one source and a target"));
        return 2;
    }
    ConsolePrompter prompter;
    Prompter::setInstance(&prompter);
    const FileOperationResult result = RunFileOperation(kind, args.mid(0, args.size() - 1), {args.last()},
                                                        FileOperationFlag::AllowUndo | FileOperationFlag::Silent);
    Prompter::setInstance(nullptr);
    if (result.aborted)
        fvtool::err(QStringLiteral("aborted: a target exists"));
    return result.ok() ? 0 : 1;
}

int runCopy(const QStringList& args)
{
    return runTransfer(FileOperationKind::Copy, args);
}

int runMove(const QStringList& args)
{
    return runTransfer(FileOperationKind::Move, args);
}

} // namespace

FVTOOL_COMMAND(copy, "copy SOURCE... TARGET (a folder that receives them, or a new name for one source)", runCopy)
FVTOOL_COMMAND(move, "move SOURCE... TARGET", runMove)
