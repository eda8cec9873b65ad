#include "fileops/tools/NoReplaceMove.h"

#include "platform/linux/FileCopier.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using FileCopier::Step;

// The engine's copy of one entry to a new name on another file system, then the check that
// the copy is whole, then the removal of the source.
NoReplaceMove::Outcome copyAcross(const QByteArray& src, const QByteArray& dst, QString* error)
{
    struct stat st {};
    if (::lstat(src.constData(), &st) != 0) {
        *error = FileCopier::errorText(errno);
        return NoReplaceMove::Outcome::Failed;
    }
    const Result<Step> copied = S_ISREG(st.st_mode) ? FileCopier::copyFile(src, dst, false, {})
                                                    : FileCopier::copySpecial(src, st, dst, false);
    if (!copied) {
        *error = copied.errorString();
        return NoReplaceMove::Outcome::Failed;
    }
    if (*copied == Step::Exists)
        return NoReplaceMove::Outcome::Exists;
    if (*copied != Step::Done)
        return NoReplaceMove::Outcome::Failed;
    FileCopier::applyAttributes(dst, st);
    struct stat made {};
    if (::lstat(dst.constData(), &made) != 0 || (S_ISREG(st.st_mode) && made.st_size != st.st_size)) {
        *error = QStringLiteral("The copy is not complete.");
        ::unlink(dst.constData());
        return NoReplaceMove::Outcome::Failed;
    }
    if (::unlink(src.constData()) != 0) {
        // Both names would hold the file; keep the source alone, as it was.
        *error = FileCopier::errorText(errno);
        ::unlink(dst.constData());
        return NoReplaceMove::Outcome::Failed;
    }
    return NoReplaceMove::Outcome::Done;
}

} // namespace

NoReplaceMove::Outcome NoReplaceMove::move(const QByteArray& src, const QByteArray& dst, QString* error)
{
    if (src == dst)
        return Outcome::Done;
    bool crossDevice = false;
    const Result<Step> renamed = FileCopier::renameNoReplace(src, dst, &crossDevice);
    if (renamed)
        return *renamed == Step::Exists ? Outcome::Exists : Outcome::Done;
    if (crossDevice)
        return copyAcross(src, dst, error);
    *error = renamed.errorString();
    return Outcome::Failed;
}

QByteArray NoReplaceMove::moveAside(const QByteArray& path, QString* error)
{
    for (int n = 1; n < 10000; ++n) {
        const QByteArray aside = path + '~' + QByteArray::number(n);
        switch (move(path, aside, error)) {
        case Outcome::Done: return aside;
        case Outcome::Exists: continue;
        case Outcome::Failed: return QByteArray();
        }
    }
    *error = QStringLiteral("No free name beside the file.");
    return QByteArray();
}
