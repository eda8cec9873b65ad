#pragma once
// The drawing state a metafile's records act on, as the graphics device interface keeps it:
// the object table (pens, brushes, fonts), the selected objects, colours and modes, the
// current position, the window/viewport mapping and the world transform, the saved states
// and the path being built. The WMF and EMF players decode records into these calls; the
// canvas draws with a QPainter onto the picture.

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <optional>
#include <variant>
#include <vector>

struct MetafileFont {
    QFont font;
    double height = 0;     // logical units; negative: the character height, else the cell's
    double escapement = 0; // tenths of a degree, counter-clockwise
};

// A palette or region takes its place in the table but draws nothing.
struct MetafilePlaceholder {};
using MetafileObject = std::variant<QPen, QBrush, MetafileFont, MetafilePlaceholder>;

enum class MetafileMapMode { Text = 1, LoMetric, HiMetric, LoEnglish, HiEnglish, Twips, Isotropic, Anisotropic };

class MetafileCanvas {
public:
    // Objects live in a table of at most this many entries; more is a damaged file.
    static constexpr int MaxObjects = 65535;

    // painter draws on the picture; device maps the player's device units onto it.
    MetafileCanvas(QPainter& painter, const QTransform& device, double devicePixelsPerMillimetre);

    // The object table. add takes the lowest free entry (WMF); put sets one (EMF).
    void addObject(MetafileObject object);
    void putObject(quint32 index, MetafileObject object);
    void selectObject(quint32 index);
    void selectStockObject(quint32 stock);
    void deleteObject(quint32 index);

    // Colours arrive as COLORREF, 0x00BBGGRR.
    static QColor colourOf(quint32 colourRef);
    static QPen penOf(quint32 style, double width, quint32 colourRef);
    static QBrush brushOf(quint32 style, quint32 colourRef, quint32 hatch);

    void setTextColour(quint32 colourRef) { m_state.textColour = colourOf(colourRef); }
    void setBackground(quint32 colourRef) { m_state.background = colourOf(colourRef); }
    void setBackgroundOpaque(bool opaque) { m_state.opaque = opaque; }
    void setTextAlign(quint32 align) { m_state.textAlign = align; }
    void setPolyFillWinding(bool winding) { m_state.winding = winding; }
    void setMapMode(quint32 mode);
    void setWindowOrigin(QPointF origin);
    void setWindowExtent(QSizeF extent);
    void setViewportOrigin(QPointF origin);
    void setViewportExtent(QSizeF extent);
    void setWorldTransform(const QTransform& world);
    // mode: 1 identity, 2 left-multiply, 3 right-multiply, 4 set.
    void modifyWorldTransform(const QTransform& change, quint32 mode);

    void save();
    // A negative level counts back from the latest saved state (EMF); WMF passes -1.
    void restore(int level);
    void intersectClip(const QRectF& rect);
    void excludeClip(const QRectF& rect);
    void resetClip();

    void moveTo(QPointF point);
    void lineTo(QPointF point);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons);
    void polyBezier(const QPolygonF& points, bool fromCurrent);
    void rectangle(const QRectF& rect);
    void roundRectangle(const QRectF& rect, QSizeF corner);
    void ellipse(const QRectF& rect);
    enum class ArcKind { Arc, Chord, Pie };
    void arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end);
    // Fills rect with the selected brush, or black/white for those raster operations.
    void patternFill(const QRectF& rect, quint32 rasterOperation);
    void text(QPointF at, const QString& text, const std::vector<double>& advances);
    void image(const QRectF& target, const QImage& picture, const QRectF& source);

    void beginPath();
    void endPath() { m_inPath = false; }
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void clipToPath();

private:
    struct State {
        QPen pen = QPen(Qt::black, 0);
        QBrush brush = QBrush(Qt::white);
        MetafileFont font;
        QColor textColour = Qt::black;
        QColor background = Qt::white;
        bool opaque = true;
        quint32 textAlign = 0;
        bool winding = false;
        QPointF position;
        MetafileMapMode mapMode = MetafileMapMode::Text;
        QPointF windowOrigin;
        QSizeF windowExtent {1, 1};
        QPointF viewportOrigin;
        QSizeF viewportExtent {1, 1};
        QTransform world;
    };

    void applyTransform();
    QTransform logicalToDevice() const;
    void applyObject(const MetafileObject& object);
    void drawPath(const QPainterPath& path, bool fill, bool stroke);
    QPainterPath& pathOrNew();

    QPainter& m_painter;
    QTransform m_device;
    double m_pixelsPerMillimetre;
    std::vector<std::optional<MetafileObject>> m_objects;
    State m_state;
    std::vector<State> m_saved;
    QPainterPath m_path;
    bool m_inPath = false;
};
