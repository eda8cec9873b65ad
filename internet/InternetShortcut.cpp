#include "internet/InternetShortcut.h"

#include "viewers/FileKinds.h"
#include "viewers/KeyFile.h"

QString InternetShortcut::addressFromText(const QByteArray& text)
{
    return KeyFile::parse(text).value(QStringLiteral("InternetShortcut"), QStringLiteral("URL"));
}

QString InternetShortcut::read(const QString& path)
{
    return FileKinds::ReadInternetShortcutUrl(path);
}

QByteArray InternetShortcut::text(const QString& address)
{
    const QByteArray url = address.trimmed().toUtf8();
    if (url.isEmpty() || url.contains('\n') || url.contains('\r') || url.contains('\0'))
        return QByteArray();
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}
