#include "archive/tools/PendingArchive.h"

#include "fileops/tools/NoReplaceMove.h"
#include "platform/FileDescriptor.h"
#include "platform/FileName.h"
#include "platform/PathText.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

PendingArchive::PendingArchive(const QString& folder) : m_folder(PathText::withoutTrailingSlash(folder)) {}

PendingArchive::~PendingArchive()
{
    m_file.close();
    if (!m_temp.isEmpty())
        ::unlink(m_temp.constData());
}

bool PendingArchive::create()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint32_t r = 0;
        ::getrandom(&r, sizeof r, 0);
        const QByteArray temp = FileName::encode(PathText::joined(m_folder, QStringLiteral(".fvzip-%1").arg(r, 8, 16, QLatin1Char('0'))));
        // 0666 under the user's umask, as any new file the user makes.
        FileDescriptor fd = FileDescriptor::open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
        if (fd.isOpen()) {
            m_temp = temp;
            return m_file.open(fd.release(), QIODevice::WriteOnly, QFile::AutoCloseHandle);
        }
        if (fd.error() != EEXIST) {
            m_error = fd.status().errorString();
            return false;
        }
    }
    m_error = QStringLiteral("cannot make a temporary file in ") + m_folder;
    return false;
}

QString PendingArchive::commit(const std::function<QString(int)>& nameFor, int first)
{
    if (!m_file.flush() || ::fsync(m_file.handle()) != 0) {
        m_error = QStringLiteral("cannot write %1: %2").arg(FileName::display(FileName::decode(m_temp)), m_file.errorString());
        return QString();
    }
    m_file.close();
    for (int number = first;; ++number) {
        const QString path = PathText::joined(m_folder, nameFor(number));
        switch (NoReplaceMove::move(m_temp, FileName::encode(path), &m_error)) {
        case NoReplaceMove::Outcome::Done:
            m_temp.clear();
            return path;
        case NoReplaceMove::Outcome::Exists:
            continue;
        case NoReplaceMove::Outcome::Failed:
            return QString();
        }
    }
}
