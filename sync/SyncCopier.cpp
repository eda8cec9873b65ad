#include "sync/SyncCopier.h"

#include "platform/linux/FileCopier.h"

#include <cerrno>

#include <sys/stat.h>

namespace {

SyncCopier::Outcome outcomeOf(FileCopier::Status status)
{
    switch (status) {
    case FileCopier::Status::Done:
        return SyncCopier::Outcome::Done;
    case FileCopier::Status::Exists:
        return SyncCopier::Outcome::Changed;
    case FileCopier::Status::Cancelled:
        return SyncCopier::Outcome::Cancelled;
    case FileCopier::Status::Failed:
        break;
    }
    return SyncCopier::Outcome::Failed;
}

} // namespace

SyncCopier::Outcome SyncCopier::copy(const QByteArray& src, const QByteArray& dst, bool isLink, bool replace,
                                     const Progress& progress, QString* error)
{
    if (!isLink)
        return outcomeOf(FileCopier::copyFile(src, dst, replace, progress, error));
    struct stat st {};
    if (::lstat(src.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        *error = FileCopier::errorText(errno ? errno : EINVAL);
        return Outcome::Failed;
    }
    return outcomeOf(FileCopier::copySpecial(src, st, dst, replace, error));
}

bool SyncCopier::makeMirrorFolder(const QByteArray& src, const QByteArray& dst, QString* error)
{
    const FileCopier::Status status = FileCopier::makeFolder(dst, error);
    if (status == FileCopier::Status::Exists) // made by someone else meanwhile
        return true;
    if (status != FileCopier::Status::Done)
        return false;
    struct stat st {};
    if (::stat(src.constData(), &st) == 0)
        ::chmod(dst.constData(), st.st_mode & 07777);
    return true;
}
