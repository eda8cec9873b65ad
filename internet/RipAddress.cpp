#include "internet/RipAddress.h"

#include "platform/FileDescriptor.h"
#include "platform/FileName.h"

#include <QLocale>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Only ASCII digits count: a counter writes decimal digits.
bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString RipAddress::lastPart(const QString& address)
{
    return address.mid(address.lastIndexOf(QLatin1Char('/')) + 1);
}

QString RipAddress::savedName(const QString& address, const QString& ext)
{
    const QString name = lastPart(address);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? name : name.left(dot)) + QLatin1Char('.') + ext;
}

bool RipAddress::isUnusableName(const QString& name)
{
    return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..");
}

QString RipAddress::candidate(const QString& name, int n)
{
    return n < 0 ? name : QStringLiteral("[%1]").arg(n) + name;
}

RipAddress::DigitRun RipAddress::lastDigitRun(const QString& address)
{
    qsizetype end = address.size();
    while (end > 0 && !isAsciiDigit(address.at(end - 1)))
        --end;
    qsizetype start = end;
    while (start > 0 && isAsciiDigit(address.at(start - 1)))
        --start;
    if (end == 0)
        return {};
    return {int(start + 1), int(end - start), address.mid(start, end - start)};
}

QString RipAddress::digitPositions(const QString& address)
{
    QString out;
    for (qsizetype i = 0; i < address.size(); ++i) {
        if (isAsciiDigit(address.at(i)))
            out += QStringLiteral("%1 ").arg(i + 1, 3, 10, QLatin1Char('0'));
    }
    return out;
}

QString RipAddress::progressText(qint64 received, qint64 total)
{
    const QLocale locale;
    const QString done = locale.toString(received).rightJustified(18);
    return total > 0 ? done + QLatin1Char(':') + locale.toString(total).rightJustified(18) : done;
}

int RipAddress::percent(qint64 received, qint64 total)
{
    return total > 0 ? int(std::clamp<qint64>(received * 100 / total, 0, 100)) : 0;
}

QStringList RipAddress::linksIn(const QByteArray& text)
{
    QStringList links;
    for (const QByteArray& line : text.split('\n')) {
        const QString link = QString::fromUtf8(line).trimmed();
        if (!link.isEmpty())
            links << link;
    }
    return links;
}

std::optional<QStringList> RipAddress::readLinkList(const QString& path, QString* error)
{
    // A FIFO or device is not opened for reading as a list; O_NONBLOCK keeps the check safe.
    const FileDescriptor fd = FileDescriptor::open(FileName::encode(path), O_RDONLY | O_NONBLOCK);
    struct stat st {};
    if (!fd.isOpen() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxListBytes) {
        *error = fd.isOpen() ? QStringLiteral("Not a list of links: ") + path : fd.status().errorString();
        return std::nullopt;
    }
    QByteArray text(qsizetype(st.st_size), Qt::Uninitialized);
    const std::int64_t read = fd.readAt(0, text.data(), text.size());
    if (read < 0) {
        *error = QStringLiteral("Cannot read ") + path;
        return std::nullopt;
    }
    text.truncate(qsizetype(read));
    return linksIn(text);
}
