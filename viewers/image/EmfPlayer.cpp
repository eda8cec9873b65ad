#include "viewers/image/EmfPlayer.h"

#include "viewers/image/MetafileCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaxSide = 16384;

// EMR_ record types.
enum : quint32 {
    Header = 1, PolyBezier, Polygon, Polyline, PolyBezierTo, PolylineTo, PolyPolyline, PolyPolygon,
    SetWindowExt, SetWindowOrg, SetViewportExt, SetViewportOrg, Eof = 14,
    SetMapMode = 17, SetBkMode, SetPolyFillMode, SetTextAlign = 22, SetTextColor = 24, SetBkColor,
    MoveTo = 27, ExcludeClipRect = 29, IntersectClipRect, SaveDc = 33, RestoreDc, SetWorldTransform,
    ModifyWorldTransform, SelectObject, CreatePen, CreateBrush, DeleteObject, Ellipse = 42, Rectangle,
    RoundRect, Arc, Chord, Pie, LineTo = 54, BeginPath = 59, EndPath, CloseFigure, FillPath,
    StrokeAndFillPath, StrokePath, SelectClipPath = 67, AbortPath, ExtSelectClipRgn = 75, BitBlt, StretchBlt,
    StretchDiBits = 81, CreateFont, TextOutA, TextOutW, PolyBezier16, Polygon16, Polyline16, PolyBezierTo16,
    PolylineTo16, PolyPolyline16, PolyPolygon16, CreateDibPatternBrush = 94, ExtCreatePen,
};

QRectF rectAt(const MetafileBytes& r, qint64 at)
{
    return QRectF(QPointF(r.s32(at), r.s32(at + 4)), QPointF(r.s32(at + 8), r.s32(at + 12)));
}

QPointF pointAt(const MetafileBytes& r, qint64 at)
{
    return QPointF(r.s32(at), r.s32(at + 4));
}

QTransform transformAt(const MetafileBytes& r, qint64 at)
{
    return QTransform(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16), r.f32(at + 20));
}

// count points from offset, 16-bit or 32-bit coordinates; none when they do not fit.
QPolygonF pointsAt(const MetafileBytes& r, qint64 at, qint64 count, bool small)
{
    const qint64 size = small ? 4 : 8;
    QPolygonF points;
    if (!r.has(at, count * size))
        return points;
    points.reserve(qsizetype(count));
    for (qint64 i = 0; i < count; ++i)
        points << (small ? QPointF(r.s16(at + i * 4), r.s16(at + i * 4 + 2)) : pointAt(r, at + i * 8));
    return points;
}

std::vector<QPolygonF> polygonsAt(const MetafileBytes& r, bool small)
{
    std::vector<QPolygonF> polygons;
    const qint64 count = r.u32(24);
    qint64 at = 32 + count * 4;
    if (!r.has(32, count * 4))
        return polygons;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 points = r.u32(32 + i * 4);
        polygons.push_back(pointsAt(r, at, points, small));
        at += points * (small ? 4 : 8);
    }
    return polygons;
}

MetafileFont fontAt(const MetafileBytes& r)
{
    MetafileFont font;
    font.height = r.s32(12);
    font.escapement = r.s32(20);
    const int weight = r.s32(28);
    QString face;
    for (qint64 i = 0; i < 32; ++i) {
        const char16_t c = r.u16(40 + i * 2);
        if (c == 0)
            break;
        face += QChar(c);
    }
    font.font.setFamily(face);
    font.font.setWeight(QFont::Weight(std::clamp(weight == 0 ? 400 : weight, 1, 1000)));
    font.font.setItalic(r.u8(32) != 0);
    font.font.setUnderline(r.u8(33) != 0);
    font.font.setStrikeOut(r.u8(34) != 0);
    return font;
}

// The DIB a record points at: its header and its pixels, both inside the record.
QByteArray dibPart(const MetafileBytes& r, qint64 offsetAt)
{
    return r.bytes(r.u32(offsetAt), r.u32(offsetAt + 4));
}

} // namespace

EmfPlayer::EmfPlayer(const QByteArray& bytes)
    : m_data(bytes), m_bytes(m_data.constData(), m_data.size())
{
}

bool EmfPlayer::open(QString* error)
{
    if (m_bytes.u32(0) != Header || m_bytes.u32(40) != 0x464D4520 || m_bytes.u32(4) < 88 || m_bytes.isShort()) {
        *error = QStringLiteral("the metafile header is damaged");
        return false;
    }
    const QRectF bounds = rectAt(m_bytes, 8).normalized();
    const QRectF frame = rectAt(m_bytes, 24).normalized();
    const double deviceWidth = m_bytes.s32(72);
    const double millimetres = m_bytes.s32(80);
    if (deviceWidth > 0 && millimetres > 0)
        m_pixelsPerMillimetre = deviceWidth / millimetres;
    QSizeF size;
    if (frame.isEmpty()) {
        m_deviceFrame = bounds.adjusted(0, 0, 1, 1);
        size = m_deviceFrame.size() * (96 / 25.4) / m_pixelsPerMillimetre;
    } else {
        const double scale = m_pixelsPerMillimetre / 100;
        m_deviceFrame = QRectF(frame.left() * scale, frame.top() * scale, frame.width() * scale, frame.height() * scale);
        size = frame.size() * 96 / 2540;
    }
    m_size = QSize(std::max(1, int(std::lround(size.width()))), std::max(1, int(std::lround(size.height()))));
    if (m_deviceFrame.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide) {
        *error = m_deviceFrame.isEmpty() ? QStringLiteral("the metafile has no size") : QStringLiteral("the metafile is too large");
        return false;
    }
    return true;
}

void EmfPlayer::play(QPainter& painter) const
{
    const QTransform device = QTransform::fromTranslate(-m_deviceFrame.left(), -m_deviceFrame.top())
        * QTransform::fromScale(m_size.width() / m_deviceFrame.width(), m_size.height() / m_deviceFrame.height());
    MetafileCanvas canvas(painter, device, m_pixelsPerMillimetre);
    qint64 at = 0;
    while (m_bytes.has(at, 8)) {
        const quint32 type = m_bytes.u32(at);
        const qint64 length = m_bytes.u32(at + 4);
        if (length < 8 || length % 4 != 0 || !m_bytes.has(at, length) || type == Eof)
            return;
        record(type, m_bytes.part(at, length), canvas);
        at += length;
    }
}

// Offsets below count from the record's start: its type and size take the first 8 bytes.
void EmfPlayer::record(quint32 type, const MetafileBytes& r, MetafileCanvas& canvas) const
{
    switch (type) {
    case SetWindowExt: canvas.setWindowExtent(QSizeF(r.s32(8), r.s32(12))); break;
    case SetWindowOrg: canvas.setWindowOrigin(pointAt(r, 8)); break;
    case SetViewportExt: canvas.setViewportExtent(QSizeF(r.s32(8), r.s32(12))); break;
    case SetViewportOrg: canvas.setViewportOrigin(pointAt(r, 8)); break;
    case SetMapMode: canvas.setMapMode(r.u32(8)); break;
    case SetBkMode: canvas.setBackgroundOpaque(r.u32(8) == 2); break;
    case SetPolyFillMode: canvas.setPolyFillWinding(r.u32(8) == 2); break;
    case SetTextAlign: canvas.setTextAlign(r.u32(8)); break;
    case SetTextColor: canvas.setTextColour(r.u32(8)); break;
    case SetBkColor: canvas.setBackground(r.u32(8)); break;
    case MoveTo: canvas.moveTo(pointAt(r, 8)); break;
    case LineTo: canvas.lineTo(pointAt(r, 8)); break;
    case IntersectClipRect: canvas.intersectClip(rectAt(r, 8)); break;
    case ExcludeClipRect: canvas.excludeClip(rectAt(r, 8)); break;
    case ExtSelectClipRgn:
        if (r.u32(8) == 0 && r.u32(12) == 5)
            canvas.resetClip();
        break;
    case SaveDc: canvas.save(); break;
    case RestoreDc: canvas.restore(r.s32(8)); break;
    case SetWorldTransform: canvas.setWorldTransform(transformAt(r, 8)); break;
    case ModifyWorldTransform: canvas.modifyWorldTransform(transformAt(r, 8), r.u32(32)); break;
    case SelectObject: {
        const quint32 index = r.u32(8);
        if (index & 0x80000000u)
            canvas.selectStockObject(index & 0x7FFFFFFFu);
        else
            canvas.selectObject(index);
        break;
    }
    case DeleteObject: canvas.deleteObject(r.u32(8)); break;
    case CreatePen: canvas.putObject(r.u32(8), MetafileCanvas::penOf(r.u32(12), r.s32(16), r.u32(24))); break;
    case ExtCreatePen: {
        const quint32 style = r.u32(28);
        const bool geometric = (style & 0x00010000u) != 0;
        canvas.putObject(r.u32(8), MetafileCanvas::penOf(style, geometric ? r.u32(32) : 0, r.u32(40)));
        break;
    }
    case CreateBrush: canvas.putObject(r.u32(8), MetafileCanvas::brushOf(r.u32(12), r.u32(16), r.u32(20))); break;
    case CreateDibPatternBrush: {
        const QImage pattern = DibImage(dibPart(r, 16), dibPart(r, 24));
        canvas.putObject(r.u32(8), pattern.isNull() ? QBrush(Qt::gray) : QBrush(pattern));
        break;
    }
    case CreateFont: canvas.putObject(r.u32(8), fontAt(r)); break;
    case Ellipse: canvas.ellipse(rectAt(r, 8)); break;
    case Rectangle: canvas.rectangle(rectAt(r, 8)); break;
    case RoundRect: canvas.roundRectangle(rectAt(r, 8), QSizeF(r.s32(24), r.s32(28))); break;
    case Arc: canvas.arc(MetafileCanvas::ArcKind::Arc, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case Chord: canvas.arc(MetafileCanvas::ArcKind::Chord, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case Pie: canvas.arc(MetafileCanvas::ArcKind::Pie, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case BeginPath: canvas.beginPath(); break;
    case EndPath: canvas.endPath(); break;
    case CloseFigure: canvas.closeFigure(); break;
    case FillPath: canvas.fillPath(); break;
    case StrokeAndFillPath: canvas.strokeAndFillPath(); break;
    case StrokePath: canvas.strokePath(); break;
    case SelectClipPath: canvas.clipToPath(); break;
    case AbortPath: canvas.abortPath(); break;
    case TextOutA: case TextOutW: text(type, r, canvas); break;
    case BitBlt: case StretchBlt: case StretchDiBits: blit(type, r, canvas); break;
    default: shapes(type, r, canvas); break;
    }
}

// The poly records: bounds, then a count and the points (or the polygon counts first).
void EmfPlayer::shapes(quint32 type, const MetafileBytes& r, MetafileCanvas& canvas) const
{
    const bool small = type >= PolyBezier16 && type <= PolyPolygon16;
    const quint32 kind = small ? type - PolyBezier16 + PolyBezier : type;
    if (kind < PolyBezier || kind > PolyPolygon)
        return;
    if (kind == PolyPolyline || kind == PolyPolygon) {
        const std::vector<QPolygonF> polygons = polygonsAt(r, small);
        if (kind == PolyPolygon)
            canvas.polyPolygon(polygons);
        else
            for (const QPolygonF& line : polygons)
                canvas.polyline(line);
        return;
    }
    const QPolygonF points = pointsAt(r, 28, r.u32(24), small);
    switch (kind) {
    case PolyBezier: canvas.polyBezier(points, false); break;
    case PolyBezierTo: canvas.polyBezier(points, true); break;
    case Polygon: canvas.polygon(points); break;
    case Polyline: canvas.polyline(points); break;
    case PolylineTo: canvas.polylineTo(points); break;
    default: break;
    }
}

// EXTTEXTOUTA/W: the text's reference point, count, string offset, options, rectangle and
// advances offset, in the EMRTEXT at 36.
void EmfPlayer::text(quint32 type, const MetafileBytes& r, MetafileCanvas& canvas) const
{
    const qint64 count = r.u32(44);
    const qint64 stringAt = r.u32(48);
    const bool wide = type == TextOutW;
    const QByteArray bytes = r.bytes(stringAt, count * (wide ? 2 : 1));
    if (bytes.isEmpty())
        return;
    const QString text = wide ? QString(reinterpret_cast<const QChar*>(bytes.constData()), qsizetype(count)) : QString::fromLatin1(bytes);
    std::vector<double> advances;
    const qint64 dxAt = r.u32(72);
    if (dxAt != 0 && r.has(dxAt, count * 4)) {
        for (qint64 i = 0; i < count; ++i)
            advances.push_back(r.s32(dxAt + i * 4));
    }
    canvas.text(pointAt(r, 36), text, advances);
}

// STRETCHDIBITS, BITBLT and STRETCHBLT; a blit without a bitmap fills with the brush.
void EmfPlayer::blit(quint32 type, const MetafileBytes& r, MetafileCanvas& canvas) const
{
    if (type == StretchDiBits) {
        const QByteArray header = dibPart(r, 48);
        const QImage picture = DibImage(header, dibPart(r, 56));
        const QRectF source = DibSourceRect(header, picture.height(), r.s32(32), r.s32(36), r.s32(40), r.s32(44));
        canvas.image(QRectF(r.s32(24), r.s32(28), r.s32(72), r.s32(76)), picture, source);
        return;
    }
    const QRectF target(r.s32(24), r.s32(28), r.s32(32), r.s32(36));
    if (r.u32(88) == 0) {
        canvas.patternFill(target, r.u32(40));
        return;
    }
    const QByteArray header = dibPart(r, 84);
    const QImage picture = DibImage(header, dibPart(r, 92));
    const double width = type == StretchBlt ? r.s32(100) : target.width();
    const double height = type == StretchBlt ? r.s32(104) : target.height();
    canvas.image(target, picture, DibSourceRect(header, picture.height(), r.s32(44), r.s32(48), width, height));
}
