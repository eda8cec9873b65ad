// fvtool rip: the ripper's counter walk and downloads, as its dialog runs them; prints the
// "SAVED:  " and "DELETED: " lines and the count of kept files.
#include "Command.h"

#include "internet/RipAddress.h"
#include "internet/RipRun.h"

#include <QCoreApplication>

namespace {

constexpr const char* kUsage =
    "rip EXAMPLE_URL TARGET_DIR [--counter INDEX:WIDTH:MIN:MAX[:alpha]]... [--ext EXT] [--min-size BYTES]"
    " [--stall-timeout MS] | rip --one URL TARGET_DIR [...] | rip --list FILE TARGET_DIR [...]";

struct RipArguments {
    enum class Mode { Rip, One, List } mode = Mode::Rip;
    QStringList positional;
    QList<RipCounter::Fields> counters;
    RipTarget target;
    QString minSize = QStringLiteral("0");
    int stallTimeout = 30000;
};

// INDEX:WIDTH:MIN:MAX[:alpha]
bool counterFields(const QString& text, RipCounter::Fields* fields)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 4 || parts.size() > 5 || (parts.size() == 5 && parts[4] != QLatin1String("alpha")))
        return false;
    *fields = {parts[0], parts[1], parts[2], parts[3], parts.size() == 5};
    return true;
}

bool parseArguments(const QStringList& args, RipArguments* out)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--one") || arg == QLatin1String("--list")) {
            out->mode = arg == QLatin1String("--one") ? RipArguments::Mode::One : RipArguments::Mode::List;
        } else if (arg == QLatin1String("--counter") && hasValue) {
            RipCounter::Fields fields;
            if (!counterFields(args[++i], &fields) || out->counters.size() == RipCounter::kCount)
                return false;
            out->counters << fields;
        } else if (arg == QLatin1String("--ext") && hasValue) {
            out->target.ext = args[++i];
        } else if (arg == QLatin1String("--min-size") && hasValue) {
            out->minSize = args[++i];
        } else if (arg == QLatin1String("--stall-timeout") && hasValue) {
            bool ok = false;
            out->stallTimeout = args[++i].toInt(&ok);
            if (!ok || out->stallTimeout < 0)
                return false;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            out->positional << arg;
        }
    }
    return out->positional.size() == 2;
}

std::optional<RipCounters> counters(const QList<RipCounter::Fields>& given, QString* error)
{
    RipCounters all;
    for (qsizetype i = 0; i < given.size(); ++i) {
        const std::optional<RipCounter> counter = RipCounter::parse(given[i], int(i + 1), error);
        if (!counter)
            return std::nullopt;
        all[size_t(i)] = *counter;
    }
    return all;
}

int runRip(const QStringList& args)
{
    RipArguments a;
    if (!parseArguments(args, &a)) {
        fvtool::err(QStringLiteral("usage: fvtool ") + QLatin1String(kUsage));
        return 2;
    }
    bool sizeOk = false;
    a.target.minSize = a.minSize.trimmed().toLongLong(&sizeOk);
    if (!sizeOk || a.target.minSize < 0) {
        fvtool::err(QStringLiteral("rip: the minimum size \"%1\" is not a number of bytes").arg(a.minSize));
        return 2;
    }
    a.target.folder = a.positional[1];
    RipRun run;
    run.setStallTimeout(a.stallTimeout);
    int failures = 0;
    QObject::connect(&run, &RipRun::saved, [](const QString& path, qint64) { fvtool::out(QStringLiteral("SAVED:  ") + path); });
    QObject::connect(&run, &RipRun::deleted, [](const QString& path) { fvtool::out(QStringLiteral("DELETED: ") + path); });
    QObject::connect(&run, &RipRun::failed, [&failures](const QString& address, const QString& error) {
        ++failures;
        fvtool::err(QStringLiteral("FAILED: ") + address + QStringLiteral(": ") + error);
    });
    QObject::connect(&run, &RipRun::finished, QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);

    QString error;
    if (a.mode == RipArguments::Mode::Rip) {
        const std::optional<RipCounters> walk = counters(a.counters, &error);
        if (!walk) {
            fvtool::err(QStringLiteral("rip: ") + error);
            return 2;
        }
        run.rip(a.positional[0], *walk, a.target);
    } else if (a.mode == RipArguments::Mode::One) {
        run.downloadOne(a.positional[0], a.target);
    } else {
        const std::optional<QStringList> links = RipAddress::readLinkList(a.positional[0], &error);
        if (!links) {
            fvtool::err(QStringLiteral("rip: ") + error);
            return 1;
        }
        run.downloadList(*links, a.target);
    }
    QCoreApplication::exec();
    fvtool::out(QStringLiteral("FileCount: %1").arg(run.savedCount()));
    return failures == 0 ? 0 : 1;
}

} // namespace

FVTOOL_COMMAND(rip, kUsage, runRip)
