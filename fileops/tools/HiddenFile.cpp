#include "fileops/tools/HiddenFile.h"
#include "fileops/tools/TemporaryFile.h"

#include "browse/HiddenList.h"
#include "platform/FileDescriptor.h"
#include "platform/linux/FileCopier.h"

#include <QList>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray lineName(QByteArray line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

bool fail(QString* error, int code)
{
    *error = FileCopier::errorText(code);
    return false;
}

// The current bytes of the file; empty when there is none. A link, a folder or a file over
// the size cap is refused rather than replaced by a short list.
bool readCurrent(const QByteArray& path, QByteArray* content, mode_t* mode, QString* error)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return errno == ENOENT ? true : fail(error, errno);
    if (!S_ISREG(st.st_mode) || st.st_size > HiddenList::maxFileSize)
        return fail(error, S_ISREG(st.st_mode) ? EFBIG : EINVAL);
    *mode = st.st_mode & 07777;
    FileDescriptor fd = FileDescriptor::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (!fd.isOpen())
        return fail(error, fd.error());
    content->resize(qsizetype(st.st_size));
    qsizetype done = 0;
    while (done < content->size()) {
        const ssize_t n = ::read(fd.get(), content->data() + done, size_t(content->size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    content->truncate(done);
    return true;
}

bool writeAtomically(const QByteArray& path, const QByteArray& content, mode_t mode, QString* error)
{
    const QByteArray temp = TemporaryFile::write(path + '.', content, mode, error);
    if (temp.isEmpty())
        return false;
    if (::rename(temp.constData(), path.constData()) != 0) {
        const int why = errno;
        ::unlink(temp.constData());
        return fail(error, why);
    }
    return true;
}

} // namespace

QByteArray HiddenFile::edited(const QByteArray& content, const QByteArray& name, bool listed)
{
    QList<QByteArray> lines = content.split('\n');
    const bool endsWithBreak = content.isEmpty() || content.endsWith('\n');
    if (endsWithBreak)
        lines.removeLast();
    const auto named = [&](const QByteArray& line) { return lineName(line) == name; };
    const bool present = std::any_of(lines.cbegin(), lines.cend(), named);
    if (present == listed)
        return content;
    if (!listed) {
        lines.removeIf(named);
        QByteArray out = lines.join('\n');
        return lines.isEmpty() ? out : out + '\n';
    }
    return (endsWithBreak ? content : content + '\n') + name + '\n';
}

bool HiddenFile::setListed(const QByteArray& folder, const QByteArray& name, bool listed, QString* error)
{
    if (name.isEmpty() || name.contains('\n') || name.contains('\r'))
        return fail(error, EINVAL);
    const QByteArray path = (folder.endsWith('/') ? folder : folder + '/') + ".hidden";
    QByteArray content;
    mode_t mode = 0644;
    if (!readCurrent(path, &content, &mode, error))
        return false;
    const QByteArray changed = edited(content, name, listed);
    return changed == content || writeAtomically(path, changed, mode, error);
}
