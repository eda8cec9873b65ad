// The band layout record: a round trip keeps order, row breaks and widths; any record that
// is damaged, too long or made for another set of tool bars is refused as a whole.
#include "app/BandLayout.h"

#include <gtest/gtest.h>

namespace {

const QList<BandRecord> kDesign = {
    {0, false, 212}, {1, false, 227}, {2, false, 429}, {3, true, 189},
    {4, false, 297}, {5, false, 382}, {6, true, 876},
};

TEST(BandLayoutRecord, RoundTripKeepsOrderRowsAndWidths)
{
    const QList<BandRecord> moved = {
        {6, false, 876}, {3, true, 0}, {0, false, 65535}, {1, true, 1},
        {5, false, 382}, {2, true, 429}, {4, false, 297},
    };
    for (const QList<BandRecord>& bands : {kDesign, moved}) {
        const QByteArray record = BandLayout::encode(bands);
        EXPECT_LE(record.size(), BandLayout::kMaxRecordSize);
        EXPECT_EQ(BandLayout::decode(record, 7), bands);
    }
}

TEST(BandLayoutRecord, DamagedRecordsAreRefused)
{
    const QByteArray good = BandLayout::encode(kDesign);
    QByteArray duplicate = good;
    duplicate[5 + 4] = 0;  // second band names tool bar 0 again
    QByteArray unknownBar = good;
    unknownBar[5] = 7;
    QByteArray badFlags = good;
    badFlags[6] = 2;
    QByteArray oversized = good + QByteArray(BandLayout::kMaxRecordSize, '\0');
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"wrong signature", QByteArray("XYZ\x01").append(good.mid(4))},
        {"wrong version", QByteArray("FVB\x02").append(good.mid(4))},
        {"cut short", good.left(good.size() - 1)},
        {"trailing bytes", good + "x"},
        {"too long", oversized},
        {"tool bar twice", duplicate},
        {"unknown tool bar", unknownBar},
        {"unknown flag", badFlags},
        {"count for other tool bars", BandLayout::encode(kDesign.mid(0, 6))},
    };
    for (const auto& [what, record] : cases)
        EXPECT_FALSE(BandLayout::decode(record, 7)) << what;
}

} // namespace
