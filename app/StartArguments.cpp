#include "app/StartArguments.h"

#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"

#include <QDir>

namespace {

constexpr char kSeparator = '\0';

// A path with "." and ".." resolved by text (the names' bytes stay as they are).
QString cleaned(const QString& path)
{
    QString clean = QDir::cleanPath(path);
    return clean.isEmpty() ? QStringLiteral("/") : clean;
}

// The path of a file: URL with its percent-encoded bytes, which need not be UTF-8 (QUrl would
// replace such bytes); empty for another host or a URL that is not absolute.
QString localPathOfUrl(const QString& url)
{
    QString rest = url.mid(5);
    if (rest.startsWith(QLatin1String("//"))) {
        rest = rest.mid(2);
        const qsizetype slash = rest.indexOf(QLatin1Char('/'));
        const QString host = rest.left(slash < 0 ? rest.size() : slash);
        if (slash < 0 || (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0))
            return QString();
        rest = rest.mid(slash);
    }
    if (!rest.startsWith(QLatin1Char('/')))
        return QString();
    return FileName::decode(QByteArray::fromPercentEncoding(FileName::encode(rest)));
}

} // namespace

QByteArray StartTarget::toMessage() const
{
    return FileName::encode(folder) + kSeparator + FileName::encode(item);
}

StartTarget StartTarget::fromMessage(const QByteArray& message)
{
    const qsizetype separator = message.indexOf(kSeparator);
    if (separator <= 0 || message.at(0) != '/')
        return {};
    return {FileName::decode(message.left(separator)), FileName::decode(message.mid(separator + 1)), QString()};
}

StartTarget StartArguments::parse(const QStringList& arguments, const QString& workingFolder)
{
    for (const QString& argument : arguments) {
        if (argument.isEmpty() || argument.startsWith(QLatin1Char('-')))
            continue;
        return target(argument, workingFolder);
    }
    return {};
}

StartTarget StartArguments::target(const QString& argument, const QString& workingFolder)
{
    QString path = argument;
    // A URL (the desktop passes %U): only local files are opened.
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        path = localPathOfUrl(argument);
        if (path.isEmpty())
            return {QString(), QString(), QStringLiteral("Not a local file: ") + argument};
    } else if (argument.contains(QLatin1String("://"))) {
        return {QString(), QString(), QStringLiteral("Not a local file: ") + argument};
    } else if (!path.startsWith(QLatin1Char('/'))) {
        path = PathText::withTrailingSlash(workingFolder) + path;
    }
    path = cleaned(path);
    if (LocalFiles::isDir(path))
        return {path, QString(), QString()};
    if (LocalFiles::exists(path))
        return {cleaned(path.left(path.lastIndexOf(QLatin1Char('/')) + 1)), path, QString()};
    return {QString(), QString(), QStringLiteral("The path does not exist: ") + path};
}
