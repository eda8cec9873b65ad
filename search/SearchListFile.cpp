#include "search/SearchListFile.h"

#include "platform/AtomicFile.h"
#include "platform/FileName.h"
#include "platform/PathText.h"

QString SearchListFile::withDefaultExtension(const QString& path)
{
    const QString name = PathText::nameOf(path);
    return name.contains(QLatin1Char('.')) ? path : path + QStringLiteral(".TXT");
}

bool SearchListFile::write(const QString& path, const std::vector<QByteArray>& paths, QString* error)
{
    QByteArray bytes;
    for (const QByteArray& line : paths)
        bytes += line + '\n';
    const Status written = AtomicFile::replace(FileName::encode(path), bytes, 0644);
    if (!written)
        *error = QStringLiteral("Cannot save the list: %1").arg(written.errorString());
    return bool(written);
}
