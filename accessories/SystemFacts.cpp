#include "accessories/SystemFacts.h"

#include "browse/FileFormat.h"

#include <QFile>
#include <QHash>

#include <algorithm>

namespace {

constexpr qint64 kMaxRead = 64 * 1024;

QByteArray readSmall(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(kMaxRead);
}

} // namespace

MemoryFigures MemoryFigures::parse(const QByteArray& meminfo)
{
    // "MemTotal:       16318480 kB"
    QHash<QByteArray, std::int64_t> kb;
    for (const QByteArray& line : meminfo.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QList<QByteArray> fields = line.mid(colon + 1).simplified().split(' ');
        bool ok = false;
        const std::int64_t value = fields.value(0).toLongLong(&ok);
        if (ok && value >= 0 && value < (std::int64_t(1) << 50))
            kb.insert(line.left(colon), value);
    }
    MemoryFigures m;
    if (!kb.contains("MemTotal") || kb.value("MemTotal") == 0)
        return m;
    m.total = kb.value("MemTotal") * 1024;
    m.available = kb.value("MemAvailable", kb.value("MemFree")) * 1024;
    m.virtualAvailable = qMax<std::int64_t>(0, kb.value("CommitLimit") - kb.value("Committed_AS")) * 1024;
    m.loadPercent = int(std::clamp<std::int64_t>((m.total - m.available) * 100 / m.total, 0, 100));
    m.valid = true;
    return m;
}

MemoryFigures MemoryFigures::read(const QString& path)
{
    return parse(readSmall(path));
}

double SystemFacts::cpuGHz(const QString& root)
{
    const QString base = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    // cpufreq gives kHz; without it (virtual machines) /proc/cpuinfo gives "cpu MHz : 2400.000".
    for (const char* name : {"scaling_cur_freq", "cpuinfo_cur_freq"}) {
        bool ok = false;
        const double khz = readSmall(base + QStringLiteral("sys/devices/system/cpu/cpu0/cpufreq/") + QLatin1String(name)).trimmed().toDouble(&ok);
        if (ok && khz > 0)
            return khz / 1e6;
    }
    for (const QByteArray& line : readSmall(base + QStringLiteral("proc/cpuinfo")).split('\n')) {
        if (!line.startsWith("cpu MHz"))
            continue;
        bool ok = false;
        const double mhz = line.mid(line.indexOf(':') + 1).trimmed().toDouble(&ok);
        if (ok && mhz > 0)
            return mhz / 1e3;
    }
    return 0;
}

QStringList SystemFacts::liveLines(const MemoryFigures& memory, double ghz)
{
    return {QStringLiteral("Total Physical Memory: ") + FormatFileSize(memory.total),
            QStringLiteral("Physical Memory Available: ") + FormatFileSize(memory.available),
            QStringLiteral("In use: ") + QString::number(memory.loadPercent) + QStringLiteral("%"),
            QStringLiteral("Virtual Available: ") + FormatFileSize(memory.virtualAvailable),
            QStringLiteral("CPU speed: ") + QString::asprintf("%f GHz", ghz)};
}
