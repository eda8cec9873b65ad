#include "platform/PromptResolver.h"

#include "platform/FileName.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"

#include <QLocale>

namespace {

QString describe(std::int64_t size, const QDateTime& modified)
{
    return QStringLiteral("    ") + QLocale().toString(qint64(size)) + QStringLiteral(" bytes\r\n")
        + QStringLiteral("    modified on ") + modified.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString nameOf(const QByteArray& path)
{
    return FileName::decode(PathText::nameOf(path));
}

QString replaceQuestion(const JobConflict& conflict)
{
    return QStringLiteral("This folder already contains a file named \"") + nameOf(conflict.existing)
        + QStringLiteral("\".\r\n\r\nWould you like to replace the existing file\r\n\r\n")
        + describe(conflict.existingSize, conflict.existingModified) + QStringLiteral("\r\n\r\nwith this one?\r\n\r\n")
        + describe(conflict.sourceSize, conflict.sourceModified);
}

QString noTrashQuestion(const JobConflict& conflict)
{
    return QStringLiteral("Cannot move \"") + FileName::decode(conflict.source) + QStringLiteral("\" to the Trash: ")
        + conflict.reason + QStringLiteral(".\r\nDelete it permanently?");
}

} // namespace

PromptResolver& PromptResolver::instance()
{
    static PromptResolver resolver;
    return resolver;
}

JobConflictChoice PromptResolver::resolveConflict(const JobConflict& conflict)
{
    PromptButton answer = PromptButton::None;
    switch (conflict.kind) {
    case JobConflictKind::TargetExists:
        answer = Prompter::instance().ask(PromptKind::Confirmation,
                                          PromptButton::Yes | PromptButton::YesToAll | PromptButton::No | PromptButton::Cancel,
                                          replaceQuestion(conflict), QStringLiteral("Confirm File Replace"));
        break;
    case JobConflictKind::NoTrash:
        answer = Prompter::instance().ask(PromptKind::Confirmation, PromptButton::Yes | PromptButton::No | PromptButton::Cancel,
                                          noTrashQuestion(conflict), QStringLiteral("Confirm Delete"));
        break;
    }
    switch (answer) {
    case PromptButton::Yes: return JobConflictChoice::Proceed;
    case PromptButton::YesToAll: return JobConflictChoice::ProceedAll;
    case PromptButton::No: return JobConflictChoice::Skip;
    default: return JobConflictChoice::Cancel;
    }
}

JobErrorChoice PromptResolver::resolveError(const JobError&)
{
    return JobErrorChoice::Abort;
}
