#include "viewers/image/WmfPlayer.h"

#include "viewers/image/MetafileCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
// A picture side beyond this is refused as too large.
constexpr double kMaxSide = 16384;
// A file without placeable header gives no size of its own: its window is shown at most
// this large.
constexpr double kPlainSide = 2048;

QPointF pointAt(const MetafileBytes& p, qint64 at)
{
    return QPointF(p.s16(at), p.s16(at + 2));
}

// The (x, y) points stored from offset, count of them.
QPolygonF pointsAt(const MetafileBytes& p, qint64 at, qint64 count)
{
    QPolygonF points;
    if (!p.has(at, count * 4))
        return points;
    points.reserve(qsizetype(count));
    for (qint64 i = 0; i < count; ++i)
        points << pointAt(p, at + i * 4);
    return points;
}

// Four coordinates stored bottom, right, top, left.
QRectF boxAt(const MetafileBytes& p, qint64 at)
{
    return QRectF(QPointF(p.s16(at + 6), p.s16(at + 4)), QPointF(p.s16(at + 2), p.s16(at)));
}

MetafileFont fontAt(const MetafileBytes& p)
{
    MetafileFont font;
    font.height = p.s16(0);
    font.escapement = p.s16(4);
    const int weight = p.s16(8);
    const QByteArray face = p.bytes(18, std::min<qint64>(32, std::max<qint64>(0, p.size() - 18)));
    font.font.setFamily(QString::fromLatin1(face.left(qsizetype(qstrnlen(face.constData(), size_t(face.size()))))));
    font.font.setWeight(QFont::Weight(std::clamp(weight == 0 ? 400 : weight, 1, 1000)));
    font.font.setItalic(p.u8(10) != 0);
    font.font.setUnderline(p.u8(11) != 0);
    font.font.setStrikeOut(p.u8(12) != 0);
    return font;
}

std::vector<QPolygonF> polygonsAt(const MetafileBytes& p)
{
    std::vector<QPolygonF> polygons;
    const qint64 count = p.u16(0);
    qint64 at = 2 + count * 2;
    for (qint64 i = 0; i < count && !p.isShort(); ++i) {
        const qint64 points = p.u16(2 + i * 2);
        polygons.push_back(pointsAt(p, at, points));
        at += points * 4;
    }
    return polygons;
}

} // namespace

WmfPlayer::WmfPlayer(const QByteArray& bytes)
    : m_data(bytes), m_bytes(m_data.constData(), m_data.size())
{
}

bool WmfPlayer::open(QString* error)
{
    const bool placeable = m_bytes.u32(0) == kPlaceableKey;
    m_first = placeable ? 22 : 0;
    const quint16 type = m_bytes.u16(m_first);
    const quint16 headerWords = m_bytes.u16(m_first + 2);
    if (!m_bytes.has(m_first, 18) || (type != 1 && type != 2) || headerWords != 9) {
        *error = QStringLiteral("the metafile header is damaged");
        return false;
    }
    m_first += 18;
    QSizeF size;
    if (placeable) {
        m_window = QRectF(QPointF(m_bytes.s16(6), m_bytes.s16(8)), QPointF(m_bytes.s16(10), m_bytes.s16(12))).normalized();
        const double inch = m_bytes.u16(14) == 0 ? 1440 : m_bytes.u16(14);
        size = m_window.size() * 96 / inch;
    } else {
        findWindow();
        size = m_window.size();
        if (const double side = std::max(size.width(), size.height()); side > kPlainSide)
            size *= kPlainSide / side;
    }
    m_size = QSize(std::max(1, int(std::lround(size.width()))), std::max(1, int(std::lround(size.height()))));
    if (m_window.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide) {
        *error = m_window.isEmpty() ? QStringLiteral("the metafile has no size") : QStringLiteral("the metafile is too large");
        return false;
    }
    return true;
}

// Records run until the end record or the first one that does not fit in the file.
template <typename Visit>
void WmfPlayer::forEachRecord(Visit visit) const
{
    qint64 at = m_first;
    while (m_bytes.has(at, 6)) {
        const qint64 length = qint64(m_bytes.u32(at)) * 2;
        const quint16 function = m_bytes.u16(at + 4);
        if (length < 6 || !m_bytes.has(at, length) || function == 0)
            return;
        visit(function, m_bytes.part(at + 6, length - 6));
        at += length;
    }
}

// A file without placeable header: its first window origin and extent frame the picture.
void WmfPlayer::findWindow()
{
    QPointF origin;
    QSizeF extent;
    forEachRecord([&](quint16 function, const MetafileBytes& p) {
        if (function == 0x020B && origin.isNull())
            origin = QPointF(p.s16(2), p.s16(0));
        else if (function == 0x020C && extent.isEmpty())
            extent = QSizeF(std::abs(p.s16(2)), std::abs(p.s16(0)));
    });
    m_window = QRectF(origin, extent);
}

void WmfPlayer::play(QPainter& painter) const
{
    MetafileCanvas canvas(painter, QTransform(), 96 / 25.4);
    canvas.setMapMode(8);
    canvas.setViewportExtent(QSizeF(m_size));
    canvas.setWindowOrigin(m_window.topLeft());
    canvas.setWindowExtent(m_window.size());
    forEachRecord([&](quint16 function, const MetafileBytes& p) { record(function, p, canvas); });
}

void WmfPlayer::record(quint16 function, const MetafileBytes& p, MetafileCanvas& canvas) const
{
    switch (function) {
    case 0x0201: canvas.setBackground(p.u32(0)); break;
    case 0x0102: canvas.setBackgroundOpaque(p.u16(0) == 2); break;
    case 0x0106: canvas.setPolyFillWinding(p.u16(0) == 2); break;
    case 0x012E: canvas.setTextAlign(p.u16(0)); break;
    case 0x0209: canvas.setTextColour(p.u32(0)); break;
    case 0x020B: canvas.setWindowOrigin(QPointF(p.s16(2), p.s16(0))); break;
    case 0x020C: canvas.setWindowExtent(QSizeF(p.s16(2), p.s16(0))); break;
    case 0x0103: // the placeable frame fixes the viewport: only the two scalable modes apply
        if (p.u16(0) == 7 || p.u16(0) == 8)
            canvas.setMapMode(p.u16(0));
        break;
    case 0x001E: canvas.save(); break;
    case 0x0127: canvas.restore(p.s16(0)); break;
    case 0x012D: canvas.selectObject(p.u16(0)); break;
    case 0x01F0: canvas.deleteObject(p.u16(0)); break;
    case 0x02FA: canvas.addObject(MetafileCanvas::penOf(p.u16(0), p.s16(2), p.u32(6))); break;
    case 0x02FC: canvas.addObject(MetafileCanvas::brushOf(p.u16(0), p.u32(2), p.u16(6))); break;
    case 0x02FB: canvas.addObject(fontAt(p)); break;
    case 0x0142: {
        const QImage pattern = PackedDibImage(p.bytes(4, p.size() - 4));
        canvas.addObject(pattern.isNull() ? QBrush(Qt::gray) : QBrush(pattern));
        break;
    }
    case 0x00F7: case 0x06FF: case 0x01F9: canvas.addObject(MetafilePlaceholder()); break;
    case 0x0214: canvas.moveTo(QPointF(p.s16(2), p.s16(0))); break;
    case 0x0213: canvas.lineTo(QPointF(p.s16(2), p.s16(0))); break;
    case 0x041B: canvas.rectangle(boxAt(p, 0)); break;
    case 0x0418: canvas.ellipse(boxAt(p, 0)); break;
    case 0x061C: canvas.roundRectangle(boxAt(p, 4), QSizeF(p.s16(2), p.s16(0))); break;
    case 0x0324: canvas.polygon(pointsAt(p, 2, p.u16(0))); break;
    case 0x0325: canvas.polyline(pointsAt(p, 2, p.u16(0))); break;
    case 0x0538: canvas.polyPolygon(polygonsAt(p)); break;
    case 0x0817: canvas.arc(MetafileCanvas::ArcKind::Arc, boxAt(p, 8), pointAt(p, 4).transposed(), pointAt(p, 0).transposed()); break;
    case 0x081A: canvas.arc(MetafileCanvas::ArcKind::Pie, boxAt(p, 8), pointAt(p, 4).transposed(), pointAt(p, 0).transposed()); break;
    case 0x0830: canvas.arc(MetafileCanvas::ArcKind::Chord, boxAt(p, 8), pointAt(p, 4).transposed(), pointAt(p, 0).transposed()); break;
    case 0x0416: canvas.intersectClip(boxAt(p, 0)); break;
    case 0x0415: canvas.excludeClip(boxAt(p, 0)); break;
    case 0x0521: text(p, canvas, false); break;
    case 0x0A32: text(p, canvas, true); break;
    case 0x061D: canvas.patternFill(QRectF(p.s16(10), p.s16(8), p.s16(6), p.s16(4)), p.u32(0)); break;
    case 0x0F43: case 0x0B41: case 0x0940: blit(function, p, canvas); break;
    default: break;
    }
}

// TEXTOUT: count, the string padded to a whole word, y, x. EXTTEXTOUT: y, x, count, options,
// the clipping rectangle when the options name one, the string, then the advances.
void WmfPlayer::text(const MetafileBytes& p, MetafileCanvas& canvas, bool extended) const
{
    if (!extended) {
        const qint64 count = p.s16(0);
        const qint64 padded = (count + 1) & ~qint64(1);
        const QByteArray bytes = p.bytes(2, count);
        canvas.text(QPointF(p.s16(4 + padded), p.s16(2 + padded)), QString::fromLatin1(bytes), {});
        return;
    }
    const qint64 count = p.s16(4);
    const qint64 at = (p.u16(6) & 0x0006) != 0 ? 16 : 8;
    const QByteArray bytes = p.bytes(at, count);
    std::vector<double> advances;
    const qint64 dx = at + ((count + 1) & ~qint64(1));
    if (p.has(dx, count * 2)) {
        for (qint64 i = 0; i < count; ++i)
            advances.push_back(p.s16(dx + i * 2));
    }
    canvas.text(QPointF(p.s16(2), p.s16(0)), QString::fromLatin1(bytes), advances);
}

// STRETCHDIB, DIBSTRETCHBLT and DIBBITBLT: a destination and a source rectangle and the
// packed DIB; a blit without a bitmap fills with the brush.
void WmfPlayer::blit(quint16 function, const MetafileBytes& p, MetafileCanvas& canvas) const
{
    const quint32 rop = p.u32(0);
    const qint64 shift = function == 0x0F43 ? 2 : 0; // the colour usage word
    const qint64 dib = function == 0x0940 ? 16 : shift + 20;
    // A blit without a bitmap has a reserved word before the destination, and fills.
    const qint64 gap = p.size() <= dib + 2 ? 2 : 0;
    QRectF source;
    QRectF target;
    if (function == 0x0940) {
        source = QRectF(p.s16(6), p.s16(4), p.s16(10), p.s16(8));
        target = QRectF(p.s16(gap + 14), p.s16(gap + 12), p.s16(gap + 10), p.s16(gap + 8));
    } else {
        source = QRectF(p.s16(shift + 10), p.s16(shift + 8), p.s16(shift + 6), p.s16(shift + 4));
        target = QRectF(p.s16(gap + shift + 18), p.s16(gap + shift + 16), p.s16(gap + shift + 14), p.s16(gap + shift + 12));
    }
    if (gap != 0) {
        canvas.patternFill(target, rop);
        return;
    }
    const QByteArray packed = p.bytes(dib, p.size() - dib);
    const QImage picture = PackedDibImage(packed);
    canvas.image(target, picture, DibSourceRect(packed, picture.height(), source.x(), source.y(), source.width(), source.height()));
}
