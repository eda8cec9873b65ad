#include "viewers/image/MetafileCanvas.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// The millimetres of one logical unit in the fixed map modes, from LoMetric on.
constexpr double kUnitMillimetres[] = {0.1, 0.01, 0.254, 0.0254, 25.4 / 1440};

double safe(double extent)
{
    return extent == 0 ? 1 : extent;
}

// The angle of point on the ellipse in box, in degrees counter-clockwise from three o'clock.
double angleOn(const QRectF& box, QPointF point)
{
    const QPointF centre = box.center();
    const double dx = (point.x() - centre.x()) / safe(box.width() / 2);
    const double dy = (point.y() - centre.y()) / safe(box.height() / 2);
    return qRadiansToDegrees(std::atan2(-dy, dx));
}

QTransform mappingOf(MetafileMapMode mode, QPointF windowOrigin, QSizeF windowExtent, QPointF viewportOrigin,
                     QSizeF viewportExtent, double pixelsPerMillimetre)
{
    double sx = 1;
    double sy = 1;
    if (mode == MetafileMapMode::Isotropic || mode == MetafileMapMode::Anisotropic) {
        sx = viewportExtent.width() / safe(windowExtent.width());
        sy = viewportExtent.height() / safe(windowExtent.height());
        if (mode == MetafileMapMode::Isotropic) {
            // One logical unit is as long on both axes: GDI shrinks the viewport extent on
            // the axis with the larger scale, keeping each axis's direction.
            const double scale = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(scale, sx);
            sy = std::copysign(scale, sy);
        }
    } else if (mode != MetafileMapMode::Text) {
        sx = kUnitMillimetres[int(mode) - int(MetafileMapMode::LoMetric)] * pixelsPerMillimetre;
        sy = -sx;
    }
    return QTransform::fromTranslate(-windowOrigin.x(), -windowOrigin.y()) * QTransform::fromScale(sx, sy)
        * QTransform::fromTranslate(viewportOrigin.x(), viewportOrigin.y());
}

} // namespace

MetafileCanvas::MetafileCanvas(QPainter& painter, const QTransform& device, double devicePixelsPerMillimetre)
    : m_painter(painter), m_device(device), m_pixelsPerMillimetre(devicePixelsPerMillimetre)
{
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(m_state.brush);
    applyTransform();
}

QColor MetafileCanvas::colourOf(quint32 colourRef)
{
    return QColor(int(colourRef & 0xFF), int(colourRef >> 8 & 0xFF), int(colourRef >> 16 & 0xFF));
}

QPen MetafileCanvas::penOf(quint32 style, double width, quint32 colourRef)
{
    static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    const quint32 line = style & 0x0F;
    QPen pen(colourOf(colourRef), std::max(0.0, width), line < 6 ? kStyles[line] : Qt::SolidLine);
    const quint32 cap = style & 0xF00;
    pen.setCapStyle(cap == 0x100 ? Qt::SquareCap : cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
    const quint32 join = style & 0xF000;
    pen.setJoinStyle(join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
    return pen;
}

QBrush MetafileCanvas::brushOf(quint32 style, quint32 colourRef, quint32 hatch)
{
    static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    if (style == 1)
        return QBrush(Qt::NoBrush);
    if (style == 2)
        return QBrush(colourOf(colourRef), hatch < 6 ? kHatches[hatch] : Qt::SolidPattern);
    return QBrush(colourOf(colourRef));
}

void MetafileCanvas::addObject(MetafileObject object)
{
    const auto free = std::find_if(m_objects.begin(), m_objects.end(), [](const auto& slot) { return !slot; });
    if (free != m_objects.end())
        *free = std::move(object);
    else if (m_objects.size() < MaxObjects)
        m_objects.emplace_back(std::move(object));
}

void MetafileCanvas::putObject(quint32 index, MetafileObject object)
{
    if (index >= MaxObjects)
        return;
    if (index >= m_objects.size())
        m_objects.resize(index + 1);
    m_objects[index] = std::move(object);
}

void MetafileCanvas::selectObject(quint32 index)
{
    if (index < m_objects.size() && m_objects[index])
        applyObject(*m_objects[index]);
}

void MetafileCanvas::selectStockObject(quint32 stock)
{
    static constexpr int kGreys[] = {255, 192, 128, 64, 0};
    if (stock < 5)
        applyObject(QBrush(QColor(kGreys[stock], kGreys[stock], kGreys[stock])));
    else if (stock == 5)
        applyObject(QBrush(Qt::NoBrush));
    else if (stock == 6 || stock == 7)
        applyObject(QPen(stock == 6 ? Qt::white : Qt::black, 0));
    else if (stock == 8)
        applyObject(QPen(Qt::NoPen));
    else if (stock >= 10 && stock <= 17)
        applyObject(MetafileFont());
}

void MetafileCanvas::deleteObject(quint32 index)
{
    if (index < m_objects.size())
        m_objects[index].reset();
}

void MetafileCanvas::applyObject(const MetafileObject& object)
{
    if (const auto* pen = std::get_if<QPen>(&object)) {
        m_state.pen = *pen;
        m_painter.setPen(*pen);
    } else if (const auto* brush = std::get_if<QBrush>(&object)) {
        m_state.brush = *brush;
        m_painter.setBrush(*brush);
    } else if (const auto* font = std::get_if<MetafileFont>(&object)) {
        m_state.font = *font;
    }
}

void MetafileCanvas::setMapMode(quint32 mode)
{
    if (mode >= 1 && mode <= 8)
        m_state.mapMode = MetafileMapMode(mode);
    applyTransform();
}

void MetafileCanvas::setWindowOrigin(QPointF origin)
{
    m_state.windowOrigin = origin;
    applyTransform();
}

void MetafileCanvas::setWindowExtent(QSizeF extent)
{
    m_state.windowExtent = extent;
    applyTransform();
}

void MetafileCanvas::setViewportOrigin(QPointF origin)
{
    m_state.viewportOrigin = origin;
    applyTransform();
}

void MetafileCanvas::setViewportExtent(QSizeF extent)
{
    m_state.viewportExtent = extent;
    applyTransform();
}

void MetafileCanvas::setWorldTransform(const QTransform& world)
{
    m_state.world = world;
    applyTransform();
}

void MetafileCanvas::modifyWorldTransform(const QTransform& change, quint32 mode)
{
    if (mode == 1)
        m_state.world.reset();
    else if (mode == 2)
        m_state.world = change * m_state.world;
    else if (mode == 3)
        m_state.world = m_state.world * change;
    else if (mode == 4)
        m_state.world = change;
    applyTransform();
}

QTransform MetafileCanvas::logicalToDevice() const
{
    const State& s = m_state;
    return s.world * mappingOf(s.mapMode, s.windowOrigin, s.windowExtent, s.viewportOrigin, s.viewportExtent, m_pixelsPerMillimetre) * m_device;
}

void MetafileCanvas::applyTransform()
{
    m_painter.setWorldTransform(logicalToDevice());
}

void MetafileCanvas::save()
{
    if (m_saved.size() >= MaxObjects)
        return;
    m_saved.push_back(m_state);
    m_painter.save();
}

void MetafileCanvas::restore(int level)
{
    const qint64 depth = qint64(m_saved.size());
    const qint64 count = level < 0 ? -qint64(level) : depth - level + 1;
    for (qint64 i = 0; i < count && !m_saved.empty(); ++i) {
        m_state = m_saved.back();
        m_saved.pop_back();
        m_painter.restore();
    }
    applyTransform();
}

void MetafileCanvas::intersectClip(const QRectF& rect)
{
    m_painter.setClipRect(rect.normalized(), m_painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void MetafileCanvas::excludeClip(const QRectF& rect)
{
    QPainterPath outside;
    outside.addRect(logicalToDevice().inverted().mapRect(QRectF(m_painter.viewport())));
    QPainterPath hole;
    hole.addRect(rect.normalized());
    m_painter.setClipPath(outside.subtracted(hole), m_painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void MetafileCanvas::resetClip()
{
    m_painter.setClipping(false);
}

QPainterPath& MetafileCanvas::pathOrNew()
{
    m_path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    return m_path;
}

void MetafileCanvas::drawPath(const QPainterPath& path, bool fill, bool stroke)
{
    if (m_inPath) {
        pathOrNew().addPath(path);
        return;
    }
    QPainterPath ruled = path;
    ruled.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    if (fill && m_state.brush.style() != Qt::NoBrush)
        m_painter.fillPath(ruled, m_state.brush);
    if (stroke && m_state.pen.style() != Qt::NoPen)
        m_painter.strokePath(ruled, m_state.pen);
}

void MetafileCanvas::moveTo(QPointF point)
{
    m_state.position = point;
    if (m_inPath)
        pathOrNew().moveTo(point);
}

void MetafileCanvas::lineTo(QPointF point)
{
    if (m_inPath) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(m_state.position);
        m_path.lineTo(point);
    } else if (m_state.pen.style() != Qt::NoPen) {
        m_painter.drawLine(m_state.position, point);
    }
    m_state.position = point;
}

void MetafileCanvas::polyline(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path(points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    drawPath(path, false, true);
}

void MetafileCanvas::polylineTo(const QPolygonF& points)
{
    for (const QPointF& point : points)
        lineTo(point);
}

void MetafileCanvas::polygon(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    drawPath(path, true, true);
}

void MetafileCanvas::polyPolygon(const std::vector<QPolygonF>& polygons)
{
    QPainterPath path;
    for (const QPolygonF& points : polygons) {
        path.addPolygon(points);
        path.closeSubpath();
    }
    drawPath(path, true, true);
}

void MetafileCanvas::polyBezier(const QPolygonF& points, bool fromCurrent)
{
    const qsizetype first = fromCurrent ? 0 : 1;
    if (points.size() < first + 3)
        return;
    QPainterPath path(fromCurrent ? m_state.position : points.first());
    for (qsizetype i = first; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (fromCurrent)
        m_state.position = path.currentPosition();
    if (m_inPath && fromCurrent && m_path.elementCount() > 0) {
        m_path.connectPath(path);
        return;
    }
    drawPath(path, false, true);
}

void MetafileCanvas::rectangle(const QRectF& rect)
{
    QPainterPath path;
    path.addRect(rect.normalized());
    drawPath(path, true, true);
}

void MetafileCanvas::roundRectangle(const QRectF& rect, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    drawPath(path, true, true);
}

void MetafileCanvas::ellipse(const QRectF& rect)
{
    QPainterPath path;
    path.addEllipse(rect.normalized());
    drawPath(path, true, true);
}

// Arcs run counter-clockwise from the start radial to the end radial, as the device draws them.
void MetafileCanvas::arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end)
{
    const QRectF normal = box.normalized();
    const double from = angleOn(normal, start);
    double sweep = angleOn(normal, end) - from;
    if (sweep <= 0)
        sweep += 360;
    QPainterPath path;
    if (kind == ArcKind::Pie)
        path.moveTo(normal.center());
    else
        path.arcMoveTo(normal, from);
    path.arcTo(normal, from, sweep);
    if (kind != ArcKind::Arc)
        path.closeSubpath();
    drawPath(path, kind != ArcKind::Arc, true);
}

void MetafileCanvas::patternFill(const QRectF& rect, quint32 rasterOperation)
{
    if (rasterOperation == 0x00000042)
        m_painter.fillRect(rect.normalized(), Qt::black);
    else if (rasterOperation == 0x00FF0062)
        m_painter.fillRect(rect.normalized(), Qt::white);
    else if (m_state.brush.style() != Qt::NoBrush)
        m_painter.fillRect(rect.normalized(), m_state.brush);
}

// Text is drawn in device pixels at the mapped reference point, so a mapping that turns the
// y axis over (y up) does not turn the letters upside down.
void MetafileCanvas::text(QPointF at, const QString& text, const std::vector<double>& advances)
{
    // Fonts exist only in a GUI application; a program without one draws the rest.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    const bool fromCurrent = (m_state.textAlign & 1) != 0;
    const QPointF origin = fromCurrent ? m_state.position : at;
    const QTransform toDevice = logicalToDevice();
    const QPointF device = toDevice.map(origin);
    const double xScale = std::hypot(toDevice.m11(), toDevice.m12());
    const double yScale = std::hypot(toDevice.m21(), toDevice.m22());
    QFont font = m_state.font.font;
    const double height = std::abs(m_state.font.height) * yScale;
    font.setPixelSize(100);
    const double cellRatio = m_state.font.height > 0 ? 100 / QFontMetricsF(font).height() : 1;
    font.setPixelSize(std::clamp(int(std::lround(height == 0 ? 12 : height * cellRatio)), 1, 4096));
    const QFontMetricsF metrics(font);
    std::vector<double> offsets;
    double width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        offsets.push_back(width);
        width += size_t(i) < advances.size() ? advances[size_t(i)] * xScale : metrics.horizontalAdvance(text[i]);
    }
    const quint32 horizontal = m_state.textAlign & 6;
    const quint32 vertical = m_state.textAlign & 24;
    const double left = horizontal == 6 ? -width / 2 : horizontal == 2 ? -width : 0;
    const double baseline = vertical == 24 ? 0 : vertical == 8 ? -metrics.descent() : metrics.ascent();
    m_painter.save();
    m_painter.setWorldTransform(QTransform::fromTranslate(device.x(), device.y()));
    m_painter.rotate(-m_state.font.escapement / 10);
    if (m_state.opaque)
        m_painter.fillRect(QRectF(left, baseline - metrics.ascent(), width, metrics.height()), m_state.background);
    m_painter.setFont(font);
    m_painter.setPen(m_state.textColour);
    for (qsizetype i = 0; i < text.size(); ++i)
        m_painter.drawText(QPointF(left + offsets[size_t(i)], baseline), QString(text[i]));
    m_painter.restore();
    if (fromCurrent && horizontal == 0)
        m_state.position = toDevice.inverted().map(QPointF(device.x() + width, device.y()));
}

// A negative target width or height turns the picture over on that axis.
void MetafileCanvas::image(const QRectF& target, const QImage& picture, const QRectF& source)
{
    if (picture.isNull())
        return;
    const QRect inside = source.normalized().toAlignedRect() & picture.rect();
    if (inside.isEmpty())
        return;
    const QImage part = picture.copy(inside);
    m_painter.drawImage(target.normalized(), part.mirrored(target.width() < 0, target.height() < 0));
}

void MetafileCanvas::beginPath()
{
    m_path = QPainterPath();
    m_inPath = true;
}

void MetafileCanvas::abortPath()
{
    m_path = QPainterPath();
    m_inPath = false;
}

void MetafileCanvas::closeFigure()
{
    if (m_inPath)
        m_path.closeSubpath();
}

void MetafileCanvas::fillPath()
{
    m_inPath = false;
    drawPath(pathOrNew(), true, false);
    m_path = QPainterPath();
}

void MetafileCanvas::strokePath()
{
    m_inPath = false;
    drawPath(pathOrNew(), false, true);
    m_path = QPainterPath();
}

void MetafileCanvas::strokeAndFillPath()
{
    m_inPath = false;
    drawPath(pathOrNew(), true, true);
    m_path = QPainterPath();
}

void MetafileCanvas::clipToPath()
{
    m_inPath = false;
    m_painter.setClipPath(pathOrNew(), m_painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    m_path = QPainterPath();
}
