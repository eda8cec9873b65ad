#include "platform/DirStream.h"

#include "platform/FileDescriptor.h"
#include "platform/FileName.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>

DirStream::DirStream(const QByteArray& path)
{
    FileDescriptor folder = FileDescriptor::open(path, O_RDONLY | O_DIRECTORY);
    if (folder.isOpen())
        m_dir = ::fdopendir(folder.get());
    if (m_dir) {
        folder.release(); // closedir closes it
        return;
    }
    m_error = folder.isOpen() ? errno : folder.error();
    m_status = Status::failure(QStringLiteral("Folder"), QStringLiteral("Cannot read the folder \"%1\": %2")
                                                             .arg(FileName::decode(path), QString::fromLocal8Bit(std::strerror(m_error))));
    folder.reset();
    errno = m_error;
}

DirStream::~DirStream()
{
    if (m_dir)
        ::closedir(m_dir);
}

int DirStream::fd() const
{
    return m_dir ? ::dirfd(m_dir) : -1;
}

const dirent* DirStream::next()
{
    if (!m_dir)
        return nullptr;
    while (const dirent* entry = ::readdir(m_dir)) {
        const char* name = entry->d_name;
        if (!(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))))
            return entry;
    }
    return nullptr;
}

std::vector<QByteArray> DirStream::sortedNames()
{
    std::vector<QByteArray> names;
    while (const dirent* entry = next())
        names.emplace_back(entry->d_name);
    std::sort(names.begin(), names.end());
    return names;
}
