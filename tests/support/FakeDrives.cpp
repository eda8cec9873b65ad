#include "support/FakeDrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/statvfs.h>

namespace {

QByteArray escaped(const QString& field)
{
    QByteArray out;
    for (char c : field.toUtf8()) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\')
            out += '\\' + QByteArray::number(uchar(c), 8).rightJustified(3, '0');
        else
            out += c;
    }
    return out;
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

FakeDrives::FakeDrives()
{
    add({QStringLiteral("/"), QStringLiteral("ext4"), QStringLiteral("/dev/sda1"), 100000000000, 40000000000});
}

FakeDrives::~FakeDrives()
{
    DriveSources::reset();
    setVolumeStatFunction({});
}

FakeDrives& FakeDrives::add(const FakeDrive& drive)
{
    m_drives.removeIf([&](const FakeDrive& d) { return d.root == drive.root; });
    m_drives.append(drive);
    return *this;
}

FakeDrives& FakeDrives::removable(const QString& device)
{
    m_removable.insert(QFileInfo(device).fileName());
    return *this;
}

FakeDrives& FakeDrives::label(const QString& device, const QString& text)
{
    m_labels.insert(QFileInfo(device).fileName(), text);
    return *this;
}

FakeDrives& FakeDrives::notReady(const QString& root)
{
    m_notReady.insert(root);
    return *this;
}

FakeDrives& FakeDrives::emptyOptical(const QString& root, const QString& device)
{
    m_emptyOptical.append({root, device});
    return *this;
}

void FakeDrives::apply()
{
    DriveSources sources;
    sources.mountInfo = m_dir.filePath(QStringLiteral("mountinfo"));
    sources.fstab = m_dir.filePath(QStringLiteral("fstab"));
    sources.sysClassBlock = m_dir.filePath(QStringLiteral("sys/class/block"));
    sources.diskByLabel = m_dir.filePath(QStringLiteral("by-label"));
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(sources.sysClassBlock);
    QDir().mkpath(sources.diskByLabel);

    QByteArray mountInfo;
    int id = 100;
    for (const FakeDrive& d : m_drives) {
        mountInfo += QByteArray::number(id++) + " 1 0:1 / " + escaped(d.root) + " rw - " + escaped(d.fsType) + ' '
            + escaped(d.device) + " rw\n";
        const QString name = QFileInfo(d.device).fileName();
        write(sources.sysClassBlock + QLatin1Char('/') + name + QStringLiteral("/removable"), m_removable.contains(name) ? "1\n" : "0\n");
    }
    write(sources.mountInfo, mountInfo);
    QByteArray fstab;
    for (const auto& [root, device] : m_emptyOptical)
        fstab += escaped(device) + ' ' + escaped(root) + " udf,iso9660 user,noauto 0 0\n";
    write(sources.fstab, fstab);
    for (auto it = m_labels.cbegin(); it != m_labels.cend(); ++it)
        QFile::link(QStringLiteral("../../") + it.key(), sources.diskByLabel + QLatin1Char('/') + it.value());
    DriveSources::setCurrent(sources);

    const QList<FakeDrive> drives = m_drives;
    const QSet<QString> notReady = m_notReady;
    setVolumeStatFunction([drives, notReady](const QByteArray& path, struct statvfs* out) {
        const QString asked = QFile::decodeName(path);
        const FakeDrive* best = nullptr;
        for (const FakeDrive& d : drives) {
            const bool holds = d.root == QLatin1String("/") || asked == d.root || asked.startsWith(d.root + QLatin1Char('/'));
            if (holds && (!best || d.root.size() > best->root.size()))
                best = &d;
        }
        if (!best || notReady.contains(best->root))
            return false;
        *out = {};
        out->f_frsize = 1;
        out->f_blocks = fsblkcnt_t(best->totalBytes);
        out->f_bavail = fsblkcnt_t(best->freeBytes);
        return true;
    });
}
