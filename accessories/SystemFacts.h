#pragma once
// The live figures of the about box, read from the kernel without blocking: memory from
// /proc/meminfo and the processor's clock from cpufreq (or /proc/cpuinfo's "cpu MHz").
// Nothing here changes the process's priority or waits.

#include <QString>
#include <QStringList>

#include <cstdint>

struct MemoryFigures {
    std::int64_t total = 0;          // bytes
    std::int64_t available = 0;      // bytes
    std::int64_t virtualAvailable = 0; // commit limit left (bytes)
    int loadPercent = 0;             // share of physical memory in use
    bool valid = false;

    // From the text of /proc/meminfo; bounded: unknown or malformed lines are skipped.
    static MemoryFigures parse(const QByteArray& meminfo);
    static MemoryFigures read(const QString& path = QStringLiteral("/proc/meminfo"));
};

class SystemFacts {
public:
    // The processor's current clock in GHz, 0 when the kernel does not say. root: where "sys"
    // and "proc" are found ("/" normally; tests give a fake tree).
    static double cpuGHz(const QString& root = QStringLiteral("/"));
    // The about box's lines: "Total Physical Memory: ", "Physical Memory Available: ",
    // "In use: " n "%", "Virtual Available: ", "CPU speed: " "%f GHz".
    static QStringList liveLines(const MemoryFigures& memory, double ghz);
};
