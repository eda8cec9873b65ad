#include "internet/FavoriteFile.h"

#include "internet/InternetShortcut.h"
#include "platform/AtomicFile.h"
#include "platform/FileName.h"

#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

Status unusableAddress()
{
    return Status::failure(QStringLiteral("Favorites"), QStringLiteral("No URL selected."));
}

} // namespace

QString FavoriteFile::safeName(const QString& title)
{
    QString name;
    for (const QChar c : title) {
        if (c == QLatin1Char('/') || c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            name += QLatin1Char(' ');
        else
            name += c;
    }
    name = name.simplified();
    // Every character takes a byte at least: a longer title is cut to that many first, so
    // that the loop below stays short whatever the title's length.
    if (name.size() > FavoriteFile::kMaxNameBytes)
        name.truncate(FavoriteFile::kMaxNameBytes + (name.at(FavoriteFile::kMaxNameBytes).isLowSurrogate() ? 1 : 0));
    // Cut at a character boundary so that the name stays valid UTF-8.
    while (name.toUtf8().size() > FavoriteFile::kMaxNameBytes)
        name.chop(name.size() > 1 && name.at(name.size() - 1).isLowSurrogate() ? 2 : 1);
    name = name.trimmed();
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    return name;
}

Result<QString> FavoriteFile::nameFor(const QString& title, const QString& address)
{
    QString name = safeName(title);
    if (name.isEmpty())
        name = safeName(QUrl(address).host());
    if (name.isEmpty())
        return Status::failure(QStringLiteral("Favorites"), QStringLiteral("The page has no title to name the favorite after."));
    return QString(name + QStringLiteral(".url"));
}

Status FavoriteFile::write(const QString& path, const QString& address)
{
    const QByteArray text = InternetShortcut::text(address);
    if (text.isEmpty())
        return unusableAddress();
    return AtomicFile::replace(FileName::encode(path), text, 0644);
}

Status FavoriteFile::create(const QString& path, const QString& address, qint64 added)
{
    const QByteArray text = InternetShortcut::text(address);
    if (text.isEmpty())
        return unusableAddress();
    const QByteArray encoded = FileName::encode(path);
    const Status created = AtomicFile::createNew(encoded, text, 0644);
    if (created && added > 0) {
        // The date the browser kept is worth more than the time of the import; a file system
        // that refuses it leaves the shortcut as good.
        const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(added), 0}};
        ::utimensat(AT_FDCWD, encoded.constData(), times, AT_SYMLINK_NOFOLLOW);
    }
    return created;
}
