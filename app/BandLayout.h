#pragma once
// The record of one mode's tool-band layout, stored as a byte block under "Coolbars" named
// by the mode number. It lists the bands in display order: which tool bar each holds,
// whether it starts a new row, and its width.
//
// Bytes: "FVB" 0x01, the band count, then per band: tool bar number, flags (bit 0: starts
// a new row), width as 16-bit little endian. A record comes back from the settings file and
// is checked completely before anything is applied.

#include <QByteArray>
#include <QList>

#include <optional>

struct BandRecord {
    int toolBar = 0;   // index into the window's design list of tool bars
    bool newRow = false;
    int width = 0;

    bool operator==(const BandRecord&) const = default;
};

class BandLayout {
public:
    static constexpr qsizetype kMaxRecordSize = 1025;

    static QByteArray encode(const QList<BandRecord>& bands);

    // The bands of a record made for toolBarCount tool bars: nullopt unless the record is
    // complete, no longer than 1025 bytes, and names every tool bar exactly once.
    static std::optional<QList<BandRecord>> decode(const QByteArray& record, int toolBarCount);
};
