// Skin text drawn from rasters made once: the same text in the same font, size,
// colour, box, flags and resolution is laid out and rasterised at its first
// drawing only; later drawings copy the kept raster.
#pragma once

#include <QRect>
#include <QRectF>
#include <QRgb>
#include <QString>

class QPainter;

namespace skin {

// As painter->drawText(box, flags, text) with the skin font at `points` and a pen
// of colour `argb`. Painters that scale, rotate, blend otherwise than source-over
// or draw translucent get the text drawn directly.
void drawText(QPainter* painter, const QRectF& box, int flags, const QString& text, double points, QRgb argb);

// Where drawText puts `text` on a device of `dpi` under a painter that only
// moves by whole pixels, none at all here: the pixels it covers and a key of its
// raster (kept, so equal keys draw equal pixels). Text that draws nothing has
// empty pixels. A new text is rasterised now, and drawing it copies the raster.
struct TextPlace {
    QRect pixels;
    uint64_t raster = 0;
};
TextPlace placeText(const QRectF& box, int flags, const QString& text, double points, QRgb argb, int dpi);

// The kept rasters: how many, rasterisations so far, and forgetting them all.
size_t textCacheSize();
size_t textRasterCount();
void clearTextCache();

}  // namespace skin
