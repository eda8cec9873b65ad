#include "fileops/tools/FileToolBranches.h"

#include "fileops/BatchLoop.h"
#include "fileops/tools/FileAttributeSetter.h"
#include "fileops/tools/FileToolNames.h"
#include "fileops/tools/NoReplaceMove.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/PromptResolver.h"
#include "platform/Prompter.h"
#include "platform/Trash.h"
#include "platform/UiThread.h"

#include <QHash>
#include <QSet>
#include <QTimeZone>

#include <memory>

#include <sys/stat.h>

namespace {

using Result = BatchItemResult;
using NoReplaceMove::Outcome;

// What one renaming batch remembers between its items. Branches run on the loop's worker
// one item after another; before() resets it on the UI thread ahead of the first item.
struct RenameState {
    QStringList work;
    QSet<QByteArray> pending; // sources not reached yet, built at the first item
    QHash<QByteArray, QByteArray> aside; // a source moved aside -> where it is now
    bool replaceAll = false;
    bool group = false;
    QString madeFolder;

    void reset(const QStringList& list)
    {
        *this = RenameState();
        work = list;
    }
};

Result failed(const QString& name)
{
    return {Result::Status::Failed, QString(), QStringLiteral("ERROR on ") + name};
}

QString entryName(const BatchItem& item)
{
    return PathText::nameOf(item.path);
}

// The folder an entry goes to: the target, or with grouping the group folder of its index.
QString targetFolder(const BatchItem& item, const RenameState& state)
{
    const QString target = PathText::withoutTrailingSlash(item.options->target);
    if (!state.group)
        return target;
    return PathText::joined(target, FileToolNames::paddedNumber(item.index / FileToolNames::kGroupSize + 1));
}

JobConflict conflictOf(const QByteArray& src, const QByteArray& dst)
{
    JobConflict conflict;
    conflict.source = src;
    conflict.existing = dst;
    struct stat st {};
    if (::stat(src.constData(), &st) == 0) {
        conflict.sourceSize = st.st_size;
        conflict.sourceModified = QDateTime::fromSecsSinceEpoch(st.st_mtime);
    }
    if (::stat(dst.constData(), &st) == 0) {
        conflict.existingSize = st.st_size;
        conflict.existingModified = QDateTime::fromSecsSinceEpoch(st.st_mtime);
    }
    return conflict;
}

// The replace question of a moving tool; a file the user lets go is put into the Trash.
Outcome askToReplace(const BatchItem& item, RenameState& state, const QByteArray& src, const QByteArray& dst, QString* error)
{
    JobConflictChoice choice = JobConflictChoice::ProceedAll;
    if (!state.replaceAll)
        RunOnUiThread([&] { choice = PromptResolver::instance().resolveConflict(conflictOf(src, dst)); });
    switch (choice) {
    case JobConflictChoice::ProceedAll:
        state.replaceAll = true;
        [[fallthrough]];
    case JobConflictChoice::Proceed:
        if (const Status trashed = Trash::moveToTrash(FileName::decode(dst)); !trashed) {
            *error = trashed.errorString();
            return Outcome::Failed;
        }
        return NoReplaceMove::move(src, dst, error);
    case JobConflictChoice::Cancel:
        item.loop->cancel();
        return Outcome::Done;
    case JobConflictChoice::Skip:
        break;
    }
    return Outcome::Done;
}

// The move of a tool that asks before replacing (the shell's move in the original design).
Outcome moveAsking(const BatchItem& item, RenameState& state, const QByteArray& source, const QByteArray& dst, QString* error)
{
    if (state.pending.isEmpty() && item.index == 0) {
        for (const QString& path : state.work)
            state.pending.insert(FileName::encode(path));
    }
    state.pending.remove(source);
    const QByteArray movedAside = state.aside.take(source);
    const QByteArray src = movedAside.isEmpty() ? source : movedAside;
    Outcome outcome = NoReplaceMove::move(src, dst, error);
    if (outcome == Outcome::Exists && state.pending.contains(dst)) {
        const QByteArray aside = NoReplaceMove::moveAside(dst, error);
        if (aside.isEmpty())
            return Outcome::Failed;
        state.aside.insert(dst, aside);
        outcome = NoReplaceMove::move(src, dst, error);
    }
    if (outcome == Outcome::Exists)
        outcome = askToReplace(item, state, src, dst, error);
    return outcome;
}

using NameRule = QString (*)(const QString& name, const BatchItem& item);

BatchBranch renameBranch(NameRule rule, bool asks, const std::shared_ptr<RenameState>& state)
{
    BatchBranch branch;
    branch.before = [state](const QStringList& work, const ConfirmResults&) {
        state->reset(work);
        return true;
    };
    branch.prepare = [state, rule](const BatchItem& item) {
        return PathText::joined(targetFolder(item, *state), rule(entryName(item), item));
    };
    branch.run = [state, asks, rule](const BatchItem& item, const QString& newPath) {
        // The typed text must make one name in the target folder, never a path out of it.
        if (!FileToolNames::isSingleName(rule(entryName(item), item)))
            return failed(entryName(item));
        const QString folder = PathText::folderOf(newPath);
        if (state->group && folder != state->madeFolder) {
            if (!LocalFiles::makePath(folder))
                return failed(entryName(item));
            state->madeFolder = folder;
        }
        QString error;
        const QByteArray src = FileName::encode(item.path);
        const QByteArray dst = FileName::encode(newPath);
        const Outcome outcome = asks ? moveAsking(item, *state, src, dst, &error) : NoReplaceMove::move(src, dst, &error);
        return outcome == Outcome::Done ? Result{} : failed(entryName(item));
    };
    return branch;
}

QString newExtension(const QString& name, const BatchItem& item)
{
    return FileToolNames::changedExtension(name, item.options->newExtension);
}

QString appendedName(const QString& name, const BatchItem& item)
{
    return FileToolNames::appended(name, item.options->firstText, item.options->secondText);
}

QString numberedName(const QString& name, const BatchItem& item)
{
    return FileToolNames::numbered(name, FileToolNames::firstNumber(item.options->firstNumber).value_or(0) + item.index);
}

QString replacedName(const QString& name, const BatchItem& item)
{
    return FileToolNames::searchReplaced(name, item.options->firstText, item.options->secondText);
}

BatchBranch attributeBranch()
{
    BatchBranch branch;
    branch.prepare = [](const BatchItem&) { return QStringLiteral("selected file attributes."); };
    branch.run = [](const BatchItem& item, const QString&) {
        const ConfirmResults& options = *item.options;
        const QByteArray path = FileName::encode(item.path);
        QString error;
        // The time first: a file made read-only could no longer take it.
        const qint64 when = FileAttributeSetter::utcSeconds(options.dateTime, QTimeZone::systemTimeZone());
        bool ok = FileAttributeSetter::setModified(path, when, &error);
        const AttributeRequest request{options.readOnly, options.hidden, options.system, options.archive};
        ok = FileAttributeSetter::apply(path, request, &error) && ok;
        return ok ? Result{} : failed(item.path);
    };
    return branch;
}

} // namespace

void FileToolBranches::registerAll()
{
    const auto state = std::make_shared<RenameState>();
    BatchBranches::set(opChangeExtension, renameBranch(&newExtension, false, state));
    BatchBranches::set(opSearchReplace, renameBranch(&replacedName, false, state));
    BatchBranches::set(opAppendFiles, renameBranch(&appendedName, true, state));
    BatchBranch numbering = renameBranch(&numberedName, true, state);
    numbering.before = [state](const QStringList& work, const ConfirmResults&) {
        state->reset(work);
        if (work.size() > FileToolNames::kGroupSize)
            state->group = Prompter::instance().confirm(QStringLiteral("Would you like to group files in folders of ")
                                                        + QString::number(FileToolNames::kGroupSize) + QStringLiteral(" each?"));
        return true;
    };
    BatchBranches::set(opMakeNumberFiles, numbering);
    BatchBranches::set(opChangeAttributes, attributeBranch());
}

bool FileToolBranches::hasInput(OperationCode code, const ConfirmResults& options)
{
    switch (code) {
    case opChangeExtension: return !options.newExtension.isEmpty();
    case opMakeNumberFiles: return FileToolNames::firstNumber(options.firstNumber).has_value();
    case opAppendFiles: return !options.firstText.isEmpty() || !options.secondText.isEmpty();
    case opSearchReplace: return !options.firstText.isEmpty();
    default: return true;
    }
}

QString FileToolBranches::progressCaption(OperationCode code)
{
    switch (code) {
    case opChangeExtension: return QStringLiteral("Change file extension...");
    case opMakeNumberFiles: return QStringLiteral("Create numbered files...");
    case opAppendFiles: return QStringLiteral("Append files...");
    case opSearchReplace: return QStringLiteral("Search & replace...");
    default: return QStringLiteral("Change File Attribute...");
    }
}
