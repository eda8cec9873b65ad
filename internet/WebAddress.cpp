#include "internet/WebAddress.h"

#include <QUrl>

bool WebAddress::looksNavigable(const QString& text)
{
    return text.contains(QLatin1String("://"));
}

bool WebAddress::isAllowed(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("about"))
        return url.path() == QLatin1String("blank");
    if (scheme == QLatin1String("file"))
        return true;
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

QString WebAddress::forLocalFile(const QString& path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}
