#include "skin/text_cache.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/skin_font.h"

namespace skin {
namespace {

// Enough for every label of every window at once; values that come and go
// (readings) push out the least recently drawn.
constexpr qsizetype kCapacity = 1024;

struct Key {
    QString text;
    QString family;
    double points;
    QRgb argb;
    QRectF box;  // in device pixels, less the whole pixels of its top-left corner
    int flags;
    int dpi;
    bool operator==(const Key&) const = default;
};

size_t qHash(const Key& k, size_t seed = 0) {
    return qHashMulti(seed, k.text, k.family, k.points, k.argb, k.box.x(), k.box.y(), k.box.width(),
                      k.box.height(), k.flags, k.dpi);
}

struct Raster {
    QImage image;  // only the pixels the text touches
    QPoint at;     // where its top-left goes, device pixels from the key's origin
    uint64_t lastUse = 0;
};

struct Cache {
    QHash<Key, Raster> rasters;
    uint64_t clock = 0;
    size_t made = 0;
    bool dropRegistered = false;
};

Cache& cache() {
    static Cache c;
    return c;
}

void dropRasters() {
    cache().rasters.clear();
    cache().dropRegistered = false;
}

// The whole pixels a device rectangle touches.
QRect pixelArea(const QRectF& r) {
    return QRect(QPoint(int(std::floor(r.left())), int(std::floor(r.top()))),
                 QPoint(int(std::ceil(r.right())), int(std::ceil(r.bottom()))));
}

bool drawable(const QRect& area) {
    return area.width() > 0 && area.height() > 0 && area.width() <= 4096 && area.height() <= 4096;
}

// The text drawn on a transparent image over `area` (device pixels); `layout`,
// where given, gets where the text was laid out.
QImage drawnOver(const QRect& area, const Key& key, const QFont& font, int dpm, QRectF* layout) {
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.translate(-area.topLeft());
        p.setFont(font);
        p.setPen(QColor::fromRgba(key.argb));
        p.drawText(key.box, key.flags, key.text, layout);
    }
    return image;
}

// The text drawn on a transparent image large enough, cropped to its ink.
Raster rasterise(const Key& key, const QFont& font) {
    const int dpm = int(std::lround(key.dpi / 0.0254));
    const double pixels = key.points * key.dpi / 72.0;
    // Glyphs may reach this far past their layout.
    const double slack = pixels / 2 + 2;
    // First around the box: a label whose layout stays near it is laid out once.
    // Text that reaches farther is drawn again on an image as large as it needs.
    const double near = 2 * pixels + slack;
    QRect area = pixelArea(key.box.adjusted(-near, -near, near, near));
    QRectF layout;
    QImage image;
    if (drawable(area)) {
        image = drawnOver(area, key, font, dpm, &layout);
    } else {
        QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
        probe.setDotsPerMeterX(dpm);
        probe.setDotsPerMeterY(dpm);
        layout = QFontMetricsF(font, &probe).boundingRect(key.box, key.flags, key.text);
    }
    const QRect needed = pixelArea((layout | key.box).adjusted(-slack, -slack, slack, slack));
    if (image.isNull() || !area.contains(needed)) {
        area = needed;
        if (!drawable(area)) return {};
        image = drawnOver(area, key, font, dpm, nullptr);
    }
    Raster raster;
    // Crop to the pixels the text touched.
    const int width = image.width(), height = image.height();
    int top = height, bottom = -1, left = width, right = -1;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int first = 0;
        while (first < width && !line[first]) ++first;
        if (first == width) continue;
        int last = width - 1;
        while (!line[last]) --last;
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (bottom < 0) return raster;
    raster.image = image.copy(left, top, right - left + 1, bottom - top + 1);
    raster.at = area.topLeft() + QPoint(left, top);
    return raster;
}

void evictOldest(Cache& c) {
    std::vector<uint64_t> uses;
    uses.reserve(size_t(c.rasters.size()));
    for (const Raster& r : c.rasters) uses.push_back(r.lastUse);
    auto middle = uses.begin() + qsizetype(uses.size() / 2);
    std::nth_element(uses.begin(), middle, uses.end());
    const uint64_t cut = *middle;
    c.rasters.removeIf([cut](const auto& entry) { return entry.value().lastUse < cut; });
}

// The kept raster of `text` in the box `placed` (device pixels), made now when
// it is new; `origin` is where the key's box starts.
const Raster& rasterAt(const QRectF& placed, int flags, const QString& text, double points, QRgb argb,
                       int dpi, QPointF& origin) {
    Cache& c = cache();
    const QFont font = skinFont(points);
    // The same text moved by whole pixels is the same raster moved: a value label
    // that rides on a gauge's bar is laid out once per value, not per height.
    origin = QPointF(std::floor(placed.left()), std::floor(placed.top()));
    const Key key{
        text, font.family() + u'/' + font.styleName(), points, argb, placed.translated(-origin), flags, dpi};
    auto it = c.rasters.find(key);
    if (it == c.rasters.end()) {
        if (c.rasters.size() >= kCapacity) evictOldest(c);
        if (!c.dropRegistered && QCoreApplication::instance()) {
            qAddPostRoutine(dropRasters);
            c.dropRegistered = true;
        }
        ++c.made;
        it = c.rasters.insert(key, rasterise(key, font));
    }
    it->lastUse = ++c.clock;
    return *it;
}

}  // namespace

void drawText(QPainter* painter, const QRectF& box, int flags, const QString& text, double points,
              QRgb argb) {
    if (text.isEmpty()) return;
    const QTransform& t = painter->transform();
    const QPaintDevice* device = painter->device();
    const bool copyable = device && t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) &&
                          t.dy() == std::floor(t.dy()) &&
                          painter->compositionMode() == QPainter::CompositionMode_SourceOver &&
                          painter->opacity() == 1.0 && device->logicalDpiX() == device->logicalDpiY();
    if (!copyable) {
        painter->setFont(skinFont(points));
        painter->setPen(QColor::fromRgba(argb));
        painter->drawText(box, flags, text);
        return;
    }
    QPointF origin;
    const Raster& raster =
        rasterAt(box.translated(t.dx(), t.dy()), flags, text, points, argb, device->logicalDpiY(), origin);
    if (raster.image.isNull()) return;
    painter->drawImage(QPointF(raster.at) + origin - QPointF(t.dx(), t.dy()), raster.image);
}

TextPlace placeText(const QRectF& box, int flags, const QString& text, double points, QRgb argb, int dpi) {
    if (text.isEmpty()) return {};
    QPointF origin;
    const Raster& raster = rasterAt(box, flags, text, points, argb, dpi, origin);
    if (raster.image.isNull()) return {};
    return {QRect(raster.at + origin.toPoint(), raster.image.size()), uint64_t(raster.image.cacheKey())};
}

size_t textCacheSize() {
    return size_t(cache().rasters.size());
}

size_t textRasterCount() {
    return cache().made;
}

void clearTextCache() {
    cache().rasters.clear();
}

}  // namespace skin
