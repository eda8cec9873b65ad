#include "app/BandLayout.h"

#include <QtEndian>

namespace {

constexpr char kMagic[] = {'F', 'V', 'B', 0x01};
constexpr qsizetype kHeaderSize = sizeof(kMagic) + 1;
constexpr qsizetype kBandSize = 4;

} // namespace

QByteArray BandLayout::encode(const QList<BandRecord>& bands)
{
    QByteArray record(kMagic, sizeof(kMagic));
    record.append(char(bands.size()));
    for (const BandRecord& band : bands) {
        char width[2];
        qToLittleEndian<quint16>(quint16(qBound(0, band.width, 0xffff)), width);
        record.append(char(band.toolBar));
        record.append(char(band.newRow ? 1 : 0));
        record.append(width, 2);
    }
    return record;
}

std::optional<QList<BandRecord>> BandLayout::decode(const QByteArray& record, int toolBarCount)
{
    if (record.size() > kMaxRecordSize || record.size() < kHeaderSize
        || !record.startsWith(QByteArray(kMagic, sizeof(kMagic))))
        return std::nullopt;
    const int count = quint8(record[sizeof(kMagic)]);
    if (count != toolBarCount || record.size() != kHeaderSize + count * kBandSize)
        return std::nullopt;
    QList<BandRecord> bands;
    QList<bool> seen(toolBarCount, false);
    for (int i = 0; i < count; ++i) {
        const char* band = record.constData() + kHeaderSize + i * kBandSize;
        const int toolBar = quint8(band[0]);
        const quint8 flags = quint8(band[1]);
        if (toolBar >= toolBarCount || seen[toolBar] || (flags & ~1u) != 0)
            return std::nullopt;
        seen[toolBar] = true;
        bands.append({toolBar, (flags & 1u) != 0, qFromLittleEndian<quint16>(band + 2)});
    }
    return bands;
}
