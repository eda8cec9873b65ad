#include "sync/SyncCopier.h"

#include "platform/FileDescriptor.h"
#include "platform/PathText.h"
#include "platform/linux/FileCopier.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kStagedMark = ".fvsync-";
constexpr int kStagedSuffix = 6;
constexpr int kNameTries = 16;

SyncCopier::Outcome outcomeOf(const Result<FileCopier::Step>& step, QString* error)
{
    if (!step) {
        *error = step.errorString();
        return SyncCopier::Outcome::Failed;
    }
    switch (*step) {
    case FileCopier::Step::Done:
        return SyncCopier::Outcome::Done;
    case FileCopier::Step::Exists:
        return SyncCopier::Outcome::Changed;
    case FileCopier::Step::Cancelled:
        return SyncCopier::Outcome::Cancelled;
    }
    return SyncCopier::Outcome::Failed;
}

QByteArray stagedName(const QByteArray& target)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(kStagedSuffix, Qt::Uninitialized);
    for (char& c : suffix)
        c = letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return PathText::joined(PathText::folderOf(target), "." + PathText::nameOf(target).left(200) + kStagedMark + suffix);
}

// Makes the staged copies durable with one flush per file system, not one per file: a flush
// waits for the disk, and a run that replaces many small files would wait for it each time.
// Their write-back is started first, so that the flush finds their bytes already on the way.
void flushAll(const std::vector<SyncCopier::Staged>& staged, std::vector<SyncCopier::Outcome>* outcomes,
              std::vector<QString>* errors)
{
    struct Volume {
        dev_t device;
        FileDescriptor file; // one staged copy on it, for syncfs
    };
    std::vector<Volume> volumes;
    std::vector<dev_t> devices(staged.size(), 0);
    for (std::size_t i = 0; i < staged.size(); ++i) {
        FileDescriptor file = FileDescriptor::open(staged[i].temp, O_RDONLY | O_NOFOLLOW);
        struct stat st {};
        if (!file.isOpen() || ::fstat(file.get(), &st) != 0) {
            (*outcomes)[i] = SyncCopier::Outcome::Failed;
            (*errors)[i] = FileCopier::errorText(errno);
            continue;
        }
        devices[i] = st.st_dev;
        ::sync_file_range(file.get(), 0, 0, SYNC_FILE_RANGE_WRITE);
        if (std::none_of(volumes.begin(), volumes.end(), [&](const Volume& v) { return v.device == st.st_dev; }))
            volumes.push_back({st.st_dev, std::move(file)});
    }
    for (const Volume& volume : volumes) {
        if (::syncfs(volume.file.get()) == 0)
            continue;
        const QString reason = FileCopier::errorText(errno);
        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (devices[i] == volume.device) {
                (*outcomes)[i] = SyncCopier::Outcome::Failed;
                (*errors)[i] = reason;
            }
        }
    }
}

} // namespace

SyncCopier::Outcome SyncCopier::copy(const QByteArray& src, const QByteArray& dst, bool isLink, bool replace,
                                     const Progress& progress, QString* error)
{
    if (!isLink)
        return outcomeOf(FileCopier::copyFile(src, dst, replace, progress), error);
    struct stat st {};
    if (::lstat(src.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        *error = FileCopier::errorText(errno ? errno : EINVAL);
        return Outcome::Failed;
    }
    return outcomeOf(FileCopier::copySpecial(src, st, dst, replace), error);
}

SyncCopier::Outcome SyncCopier::stage(const QByteArray& src, const QByteArray& target, const SyncEntry& expected,
                                      const Progress& progress, Staged* staged, QString* error)
{
    for (int i = 0; i < kNameTries; ++i) {
        const QByteArray temp = stagedName(target);
        const Result<FileCopier::Step> step = FileCopier::copyFile(src, temp, false, progress);
        if (step && *step == FileCopier::Step::Exists)
            continue;
        if (step && *step == FileCopier::Step::Done)
            *staged = {temp, target, expected};
        return outcomeOf(step, error);
    }
    *error = FileCopier::errorText(EEXIST);
    return Outcome::Failed;
}

void SyncCopier::commit(const std::vector<Staged>& staged, std::vector<Outcome>* outcomes, std::vector<QString>* errors)
{
    outcomes->assign(staged.size(), Outcome::Done);
    errors->assign(staged.size(), QString());
    flushAll(staged, outcomes, errors);
    for (std::size_t i = 0; i < staged.size(); ++i) {
        const Staged& s = staged[i];
        struct stat now {};
        if ((*outcomes)[i] == Outcome::Done
            && (::lstat(s.target.constData(), &now) != 0 || !SyncEntry::fromStat(now).sameAs(s.expected)))
            (*outcomes)[i] = Outcome::Changed;
        if ((*outcomes)[i] == Outcome::Done && ::rename(s.temp.constData(), s.target.constData()) != 0) {
            (*outcomes)[i] = Outcome::Failed;
            (*errors)[i] = FileCopier::errorText(errno);
        }
        if ((*outcomes)[i] != Outcome::Done)
            ::unlink(s.temp.constData());
    }
}

bool SyncCopier::isStagedName(const QByteArray& name)
{
    const qsizetype mark = name.size() - kStagedSuffix - kStagedMark.size();
    return name.startsWith('.') && mark > 1 && name.mid(mark, kStagedMark.size()) == kStagedMark;
}

bool SyncCopier::makeMirrorFolder(const QByteArray& src, const QByteArray& dst, QString* error)
{
    const Result<FileCopier::Step> step = FileCopier::makeFolder(dst);
    if (!step) {
        *error = step.errorString();
        return false;
    }
    if (*step == FileCopier::Step::Exists) // made by someone else meanwhile
        return true;
    struct stat st {};
    if (::stat(src.constData(), &st) == 0)
        ::chmod(dst.constData(), st.st_mode & 07777);
    return true;
}
