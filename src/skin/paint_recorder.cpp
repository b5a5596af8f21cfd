#include "skin/paint_recorder.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>

namespace skin {
namespace {

uint64_t mix(uint64_t h) {
    h ^= h >> 30;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 27;
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 31);
}

class Hash {
  public:
    explicit Hash(uint64_t seed = 0x9E3779B97F4A7C15ull) : m_h(seed) {}
    Hash& add(uint64_t v) {
        m_h = mix(m_h ^ v) + 0x9E3779B97F4A7C15ull;
        return *this;
    }
    Hash& add(double v) { return add(std::bit_cast<uint64_t>(v == 0.0 ? 0.0 : v)); }
    Hash& add(int v) { return add(uint64_t(uint32_t(v))); }
    Hash& add(const QPointF& p) { return add(p.x()).add(p.y()); }
    Hash& add(const QRectF& r) { return add(r.x()).add(r.y()).add(r.width()).add(r.height()); }
    Hash& add(const QString& s) { return add(uint64_t(qHash(s, 0x5bd1e995))).add(int(s.size())); }
    Hash& add(const QColor& c) { return add(uint64_t(c.rgba64())); }
    uint64_t value() const { return m_h; }

  private:
    uint64_t m_h;
};

void addGradient(Hash& h, const QGradient* g) {
    h.add(int(g->type())).add(int(g->spread())).add(int(g->coordinateMode()));
    for (const QGradientStop& stop : g->stops()) h.add(stop.first).add(stop.second);
    if (g->type() == QGradient::LinearGradient) {
        const auto* l = static_cast<const QLinearGradient*>(g);
        h.add(l->start()).add(l->finalStop());
    } else if (g->type() == QGradient::RadialGradient) {
        const auto* r = static_cast<const QRadialGradient*>(g);
        h.add(r->center()).add(r->radius()).add(r->focalPoint()).add(r->focalRadius());
    } else if (g->type() == QGradient::ConicalGradient) {
        const auto* c = static_cast<const QConicalGradient*>(g);
        h.add(c->center()).add(c->angle());
    }
}

void addBrush(Hash& h, const QBrush& b) {
    h.add(int(b.style())).add(b.color());
    if (const QGradient* g = b.gradient()) addGradient(h, g);
    if (b.style() == Qt::TexturePattern) h.add(uint64_t(b.textureImage().cacheKey()));
    const QTransform& t = b.transform();
    h.add(t.m11()).add(t.m12()).add(t.m21()).add(t.m22()).add(t.dx()).add(t.dy());
}

template <typename Sink>
void addPath(Sink& h, const QPainterPath& path) {
    h.add(int(path.fillRule())).add(int(path.elementCount()));
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        h.add(int(e.type)).add(e.x).add(e.y);
    }
}

// The whole pixels a device rectangle touches.
QRect pixelsOf(const QRectF& b) {
    if (b.isEmpty()) return {};
    const int left = int(std::floor(b.left())), top = int(std::floor(b.top()));
    return QRect(left, top, int(std::ceil(b.right())) - left, int(std::ceil(b.bottom())) - top);
}

}  // namespace

class PaintRecorder::Engine : public QPaintEngine {
  public:
    Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    void reset() {
        m_bounds = QRectF();
        m_key = Hash();
        m_parts.clear();
        m_partsKept = true;
    }
    QRectF bounds() const { return m_bounds; }
    uint64_t key() const { return m_key.value(); }
    // Empty where the drawing had more operations than are worth comparing one by one.
    std::vector<PaintRecorder::Part> parts() const {
        std::vector<PaintRecorder::Part> parts;
        if (!m_partsKept) return parts;
        parts.reserve(m_parts.size());
        for (const OpenPart& part : m_parts) parts.push_back({pixelsOf(part.bounds), part.key.value()});
        return parts;
    }

    // A painter starts from its own initial state, whatever the last one left.
    bool begin(QPaintDevice*) override {
        if (state) updateState(*state);
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& s) override {
        m_pen = s.pen();
        m_brush = s.brush();
        m_transform = s.transform();
        Hash h;
        const QPen& pen = m_pen;
        h.add(int(pen.style())).add(pen.widthF()).add(int(pen.capStyle())).add(int(pen.joinStyle()));
        h.add(pen.miterLimit()).add(int(pen.isCosmetic())).add(pen.dashOffset());
        if (pen.style() == Qt::CustomDashLine)
            for (qreal d : pen.dashPattern()) h.add(d);
        addBrush(h, pen.brush());
        addBrush(h, m_brush);
        h.add(s.brushOrigin());
        const QTransform& t = m_transform;
        h.add(t.m11()).add(t.m12()).add(t.m13()).add(t.m21()).add(t.m22()).add(t.m23());
        h.add(t.m31()).add(t.m32()).add(t.m33());
        h.add(int(s.compositionMode())).add(s.opacity()).add(int(s.renderHints()));
        h.add(int(s.backgroundMode())).add(s.backgroundBrush().color());
        h.add(int(s.isClipEnabled()));
        if (s.isClipEnabled()) {
            h.add(int(s.clipOperation()));
            for (const QRect& r : s.clipRegion()) h.add(QRectF(r));
            addPath(h, s.clipPath());
        }
        m_state = h.value();
    }

    void drawRects(const QRect* rects, int n) override {
        op(1);
        for (int i = 0; i < n; ++i) shape(QRectF(rects[i]), true);
    }
    void drawRects(const QRectF* rects, int n) override {
        op(2);
        for (int i = 0; i < n; ++i) shape(rects[i], true);
    }
    void drawLines(const QLine* lines, int n) override {
        op(3);
        for (int i = 0; i < n; ++i)
            stroke(QRectF(QPointF(lines[i].p1()), QPointF(lines[i].p2())).normalized());
    }
    void drawLines(const QLineF* lines, int n) override {
        op(4);
        for (int i = 0; i < n; ++i) stroke(QRectF(lines[i].p1(), lines[i].p2()).normalized());
    }
    void drawEllipse(const QRectF& r) override {
        op(5);
        shape(r);
    }
    void drawEllipse(const QRect& r) override { drawEllipse(QRectF(r)); }
    void drawPath(const QPainterPath& path) override {
        Keys keys = op(6);
        addPath(keys, path);
        shape(path.controlPointRect());
    }
    void drawPoints(const QPointF* points, int n) override {
        op(7);
        for (int i = 0; i < n; ++i) stroke(QRectF(points[i], points[i]));
    }
    void drawPoints(const QPoint* points, int n) override {
        op(8);
        for (int i = 0; i < n; ++i) stroke(QRectF(QPointF(points[i]), QPointF(points[i])));
    }
    void drawPolygon(const QPointF* points, int n, PolygonDrawMode mode) override {
        op(9 + int(mode));
        QRectF box;
        for (int i = 0; i < n; ++i) {
            keys().add(points[i]);
            box |= QRectF(points[i], points[i]);
        }
        if (mode == PolylineMode)
            stroke(box);
        else
            shape(box);
    }
    void drawPolygon(const QPoint* points, int n, PolygonDrawMode mode) override {
        QPolygonF polygon;
        polygon.reserve(n);
        for (int i = 0; i < n; ++i) polygon << QPointF(points[i]);
        drawPolygon(polygon.constData(), n, mode);
    }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
        op(20).add(uint64_t(pm.cacheKey())).add(sr);
        area(r);
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags flags) override {
        op(21).add(uint64_t(image.cacheKey())).add(sr).add(int(flags));
        area(r);
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap& pm, const QPointF& offset) override {
        op(22).add(uint64_t(pm.cacheKey())).add(offset);
        area(r);
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        op(23).add(item.text()).add(item.font().key()).add(int(item.renderFlags()));
        const qreal height = item.ascent() + item.descent();
        // Glyphs may reach past their advance and the font's ascent.
        const qreal slack = height / 2 + 2;
        area(QRectF(p.x(), p.y() - item.ascent(), item.width(), height)
                 .adjusted(-slack, -slack, slack, slack));
    }

  private:
    // The key of the whole drawing, and from here on of a new part, take what
    // the operation adds.
    struct Keys {
        Hash* whole;
        Hash* part;
        Keys& add(auto v) {
            whole->add(v);
            if (part) part->add(v);
            return *this;
        }
    };
    struct OpenPart {
        QRectF bounds;
        Hash key;
    };
    Keys op(int code) {
        if (m_partsKept && m_parts.size() >= PaintRecorder::kMostParts) {
            m_partsKept = false;
            m_parts.clear();
        }
        if (m_partsKept) m_parts.emplace_back();
        Keys opened = keys();
        opened.add(code).add(m_state);
        return opened;
    }
    void cover(const QRectF& device) {
        m_bounds |= device;
        if (m_partsKept && !m_parts.empty()) m_parts.back().bounds |= device;
    }
    Keys keys() { return Keys{&m_key, m_partsKept && !m_parts.empty() ? &m_parts.back().key : nullptr}; }
    // A device rectangle, with a pixel for smoothing unless it lies on whole pixels.
    QRectF filled(const QRectF& mapped) const {
        const bool whole = m_transform.type() <= QTransform::TxTranslate && mapped == QRectF(mapped.toRect());
        return whole ? mapped : mapped.adjusted(-1, -1, 1, 1);
    }
    // Device area of a logical rectangle.
    void area(const QRectF& r) {
        keys().add(r);
        cover(filled(m_transform.mapRect(r)));
    }
    qreal penReach() const {
        if (m_pen.style() == Qt::NoPen) return 0;
        qreal w = m_pen.widthF() <= 0 ? 1 : m_pen.widthF();
        if (!m_pen.isCosmetic())
            w *= std::max(std::abs(m_transform.m11()) + std::abs(m_transform.m12()),
                          std::abs(m_transform.m21()) + std::abs(m_transform.m22()));
        const qreal join = m_pen.joinStyle() == Qt::MiterJoin ? std::max<qreal>(m_pen.miterLimit(), 1) : 1;
        return w * join / 2 + 1;
    }
    void stroke(const QRectF& r) {
        keys().add(r);
        const qreal reach = penReach();
        if (reach == 0) return;
        const QRectF mapped = m_transform.mapRect(r);
        cover(mapped.adjusted(-reach - 1, -reach - 1, reach + 1, reach + 1));
    }
    // A rectangle filled on whole pixels covers exactly those; other shapes may
    // reach a pixel past their box.
    void shape(const QRectF& r, bool rectangle = false) {
        keys().add(r);
        const qreal reach = penReach();
        const QRectF mapped = m_transform.mapRect(r.normalized());
        if (m_brush.style() != Qt::NoBrush) cover(rectangle ? filled(mapped) : mapped.adjusted(-1, -1, 1, 1));
        if (reach > 0) cover(mapped.adjusted(-reach - 1, -reach - 1, reach + 1, reach + 1));
    }

    QRectF m_bounds;
    Hash m_key;
    std::vector<OpenPart> m_parts;
    bool m_partsKept = true;
    uint64_t m_state = 0;
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
};

PaintRecorder::PaintRecorder(const QPaintDevice& like, QSize size)
    : m_engine(std::make_unique<Engine>()),
      m_width(size.width()),
      m_height(size.height()),
      m_dpiX(like.logicalDpiX()),
      m_dpiY(like.logicalDpiY()),
      m_physicalDpiX(like.physicalDpiX()),
      m_physicalDpiY(like.physicalDpiY()) {}

PaintRecorder::~PaintRecorder() = default;

void PaintRecorder::reset() {
    m_engine->reset();
}

QRect PaintRecorder::bounds() const {
    return pixelsOf(m_engine->bounds());
}

std::vector<PaintRecorder::Part> PaintRecorder::parts() const {
    return m_engine->parts();
}

uint64_t PaintRecorder::key() const {
    return m_engine->key();
}

QPaintEngine* PaintRecorder::paintEngine() const {
    return m_engine.get();
}

int PaintRecorder::metric(PaintDeviceMetric metric) const {
    switch (metric) {
        case PdmWidth:
            return m_width;
        case PdmHeight:
            return m_height;
        case PdmWidthMM:
            return m_dpiX > 0 ? int(m_width * 25.4 / m_dpiX) : 0;
        case PdmHeightMM:
            return m_dpiY > 0 ? int(m_height * 25.4 / m_dpiY) : 0;
        case PdmDpiX:
            return m_dpiX;
        case PdmDpiY:
            return m_dpiY;
        case PdmPhysicalDpiX:
            return m_physicalDpiX;
        case PdmPhysicalDpiY:
            return m_physicalDpiY;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
    }
}

}  // namespace skin
