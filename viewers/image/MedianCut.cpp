#include "viewers/image/MedianCut.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int kBins = 32 * 32 * 32;

int binOf(QRgb colour)
{
    return (qRed(colour) >> 3) << 10 | (qGreen(colour) >> 3) << 5 | (qBlue(colour) >> 3);
}

// The pixels of each 15-bit colour: their count and the sums of their 8-bit channels, so
// that a palette colour is the true mean of its pixels.
struct Histogram {
    std::vector<quint32> count = std::vector<quint32>(kBins);
    std::vector<std::array<quint64, 3>> sum = std::vector<std::array<quint64, 3>>(kBins);
};

struct Box {
    std::array<int, 3> low {0, 0, 0};
    std::array<int, 3> high {31, 31, 31};
    quint64 pixels = 0;
};

int binAt(const std::array<int, 3>& c)
{
    return c[0] << 10 | c[1] << 5 | c[2];
}

template <typename Visit>
void forEachBin(const Box& box, Visit visit)
{
    std::array<int, 3> c {};
    for (c[0] = box.low[0]; c[0] <= box.high[0]; ++c[0])
        for (c[1] = box.low[1]; c[1] <= box.high[1]; ++c[1])
            for (c[2] = box.low[2]; c[2] <= box.high[2]; ++c[2])
                visit(c);
}

// Shrinks the box to the bins that hold pixels and counts them.
void shrink(Box& box, const Histogram& histogram)
{
    Box tight;
    tight.low = {31, 31, 31};
    tight.high = {0, 0, 0};
    forEachBin(box, [&](const std::array<int, 3>& c) {
        const quint32 n = histogram.count[size_t(binAt(c))];
        if (n == 0)
            return;
        tight.pixels += n;
        for (int axis = 0; axis < 3; ++axis) {
            tight.low[size_t(axis)] = std::min(tight.low[size_t(axis)], c[size_t(axis)]);
            tight.high[size_t(axis)] = std::max(tight.high[size_t(axis)], c[size_t(axis)]);
        }
    });
    box = tight;
}

int longestAxis(const Box& box)
{
    int axis = 0;
    for (int a = 1; a < 3; ++a) {
        if (box.high[size_t(a)] - box.low[size_t(a)] > box.high[size_t(axis)] - box.low[size_t(axis)])
            axis = a;
    }
    return axis;
}

// Splits box at the median of its pixels along its longest side; false when it is one bin.
bool split(Box& box, Box& upper, const Histogram& histogram)
{
    const size_t axis = size_t(longestAxis(box));
    if (box.low[axis] == box.high[axis])
        return false;
    std::array<quint64, 32> slices {};
    forEachBin(box, [&](const std::array<int, 3>& c) { slices[size_t(c[axis])] += histogram.count[size_t(binAt(c))]; });
    quint64 below = 0;
    int cut = box.low[axis];
    while (cut < box.high[axis] - 1 && (below + slices[size_t(cut)]) * 2 < box.pixels)
        below += slices[size_t(cut++)];
    upper = box;
    box.high[axis] = cut;
    upper.low[axis] = cut + 1;
    shrink(box, histogram);
    shrink(upper, histogram);
    return true;
}

// The box to split next: the one whose pixels spread furthest, weighted by their number.
int widestBox(const std::vector<Box>& boxes, const std::vector<bool>& single)
{
    int best = -1;
    quint64 bestScore = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& box = boxes[i];
        const int axis = longestAxis(box);
        const quint64 score = box.pixels * quint64(box.high[size_t(axis)] - box.low[size_t(axis)]);
        if (!single[i] && score > bestScore) {
            best = int(i);
            bestScore = score;
        }
    }
    return best;
}

QRgb meanOf(const Box& box, const Histogram& histogram)
{
    std::array<quint64, 3> total {};
    forEachBin(box, [&](const std::array<int, 3>& c) {
        for (size_t k = 0; k < 3; ++k)
            total[k] += histogram.sum[size_t(binAt(c))][k];
    });
    const quint64 n = std::max<quint64>(box.pixels, 1);
    return qRgb(int((total[0] + n / 2) / n), int((total[1] + n / 2) / n), int((total[2] + n / 2) / n));
}

int nearest(const QList<QRgb>& palette, QRgb colour)
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(colour);
        const int dg = qGreen(palette[i]) - qGreen(colour);
        const int db = qBlue(palette[i]) - qBlue(colour);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

// The picture's own colours when there are few enough; false when there are more.
bool exactColours(const QImage& rgb, int maxColours, IndexedPicture& out)
{
    QHash<QRgb, int> indexOf;
    char* index = out.indexes.data();
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = row[x] | 0xFF000000u;
            auto it = indexOf.constFind(colour);
            if (it == indexOf.constEnd()) {
                if (indexOf.size() == maxColours)
                    return false;
                it = indexOf.insert(colour, int(out.palette.size()));
                out.palette << colour;
            }
            *index++ = char(*it);
        }
    }
    return true;
}

void medianCut(const QImage& rgb, int maxColours, IndexedPicture& out)
{
    Histogram histogram;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const size_t bin = size_t(binOf(row[x]));
            ++histogram.count[bin];
            histogram.sum[bin][0] += quint64(qRed(row[x]));
            histogram.sum[bin][1] += quint64(qGreen(row[x]));
            histogram.sum[bin][2] += quint64(qBlue(row[x]));
        }
    }
    std::vector<Box> boxes(1);
    shrink(boxes[0], histogram);
    std::vector<bool> single(1, false);
    while (int(boxes.size()) < maxColours) {
        const int chosen = widestBox(boxes, single);
        if (chosen < 0)
            break;
        Box upper;
        if (!split(boxes[size_t(chosen)], upper, histogram)) {
            single[size_t(chosen)] = true;
            continue;
        }
        boxes.push_back(upper);
        single.push_back(false);
    }
    out.palette.clear();
    for (const Box& box : boxes)
        out.palette << meanOf(box, histogram);
    std::vector<qint16> binIndex(kBins, -1);
    char* index = out.indexes.data();
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            qint16& mapped = binIndex[size_t(binOf(row[x]))];
            if (mapped < 0)
                mapped = qint16(nearest(out.palette, row[x]));
            *index++ = char(mapped);
        }
    }
}

} // namespace

IndexedPicture MedianCut::reduce(const QImage& picture, int maxColours)
{
    IndexedPicture out;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    out.width = rgb.width();
    out.height = rgb.height();
    out.indexes.resize(qsizetype(out.width) * out.height);
    if (!exactColours(rgb, maxColours, out))
        medianCut(rgb, maxColours, out);
    return out;
}
