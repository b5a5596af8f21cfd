#include "skin/progressbar.h"

#include <algorithm>

#include "platform/truncate.h"
#include "skin/draw_state.h"
#include "skin/skin_font.h"

namespace {
constexpr QRgb kBarColour = 0xCCC80000;
constexpr int kLabelPoints = 7;
constexpr int kBandRows = 64;

// Qt hands a fill of about a hundred rows or more to its thread pool, whose
// wake-ups cost far more than the bar's few pixels: fill in bands short enough to
// stay on this thread. The pixels are the same. Only rows on `surface` (where it
// is known) count, so a value past the range is not worth a band per 64 rows.
template <typename Fill>
void forEachBand(QRect rect, const QRect& surface, Fill fill) {
    if (surface.isValid()) rect &= surface;
    // From the bottom up: a new value changes the top band only.
    for (int bottom = rect.bottom(); bottom >= rect.top(); bottom -= kBandRows) {
        const int rows = std::min(kBandRows, bottom + 1 - rect.top());
        fill(QRect(rect.left(), bottom + 1 - rows, rect.width(), rows));
    }
}
}  // namespace

int CProgressbar::BarHeight() const {
    const int64_t range = int64_t(m_nMax) - m_nMin;
    // An empty range draws as if at the minimum.
    const float ratio = range == 0 ? 0.0f : float(m_nPos) / float(range);
    return platform::truncateToInt(float(RectHeight(m_rect)) * ratio);
}

QRect CProgressbar::BarRect(int height) const {
    return QRect(m_rect.left, m_rect.bottom - height, RectWidth(m_rect), height);
}

QRectF CProgressbar::ValueBox(int height) const {
    return QRectF(m_rect.left - 10, double(m_rect.bottom) - height - 10, RectWidth(m_rect) + 20, 10);
}

void CProgressbar::Draw(QPainter* pDC) {
    const int h = BarHeight();
    if (h > 0) {
        // The device's rows are known only to a painter that does not move.
        QRect surface;
        if (const QPaintDevice* device = pDC->device(); device && pDC->transform().isIdentity())
            surface = QRect(0, 0, device->width(), device->height());
        const QColor colour = QColor::fromRgba(kBarColour);
        forEachBand(BarRect(h), surface, [&](const QRect& band) { pDC->fillRect(band, colour); });
    }
    skin::drawSkinText(pDC, ValueBox(h), QString::number(m_nPos), kLabelPoints, kBarColour);
    for (size_t i = 0; i < m_scaleRects.size(); ++i)
        skin::drawSkinText(pDC, m_scaleRects[i], m_scaleTexts[i], kLabelPoints, kBarColour);
}

bool CProgressbar::DescribeDrawing(QSize surface, skin::Recording& drawing) const {
    const auto textPart = [](const QRectF& box, const QString& label,
                             std::vector<skin::PaintRecorder::Part>& parts) {
        const skin::TextPlace place = skin::placeSkinText(box, label, kLabelPoints, kBarColour);
        if (!place.pixels.isEmpty())
            parts.push_back(
                {place.pixels, skin::DrawStateKey().add(QRectF(place.pixels)).add(place.raster).value()});
    };
    std::vector<skin::PaintRecorder::Part> parts;
    const int h = BarHeight();
    if (h > 0)
        forEachBand(BarRect(h), QRect(QPoint(0, 0), surface), [&](const QRect& band) {
            parts.push_back({band, skin::DrawStateKey().add(QRectF(band)).add(uint64_t(kBarColour)).value()});
        });
    textPart(ValueBox(h), QString::number(m_nPos), parts);
    // The scale's labels stay where they are while the value moves: placed once.
    const uint64_t scaleKey = skin::DrawStateKey().add(m_scaleKey).add(skin::skinFontGeneration()).value();
    if (m_scaleParts.key != scaleKey) {
        m_scaleParts.parts.clear();
        for (size_t i = 0; i < m_scaleRects.size(); ++i)
            textPart(m_scaleRects[i], m_scaleTexts[i], m_scaleParts.parts);
        m_scaleParts.key = scaleKey;
    }
    parts.insert(parts.end(), m_scaleParts.parts.begin(), m_scaleParts.parts.end());
    drawing = skin::recordingOf(std::move(parts));
    return true;
}

void CProgressbar::SetRange(int nMax) {
    m_nMin = 0;
    m_nMax = nMax;
    m_scaleTexts = {QStringLiteral("0"), QString::number(int(nMax * 0.25)), QString::number(int(nMax * 0.5)),
                    QString::number(int(nMax * 0.75)), QString::number(nMax)};
    KeepScaleKey();
}

void CProgressbar::SetScaleRects(const std::array<QRectF, 5>& rects) {
    m_scaleRects = rects;
    KeepScaleKey();
}

void CProgressbar::KeepScaleKey() {
    skin::DrawStateKey key;
    for (size_t i = 0; i < m_scaleRects.size(); ++i) key.add(m_scaleRects[i]).add(m_scaleTexts[i]);
    m_scaleKey = key.value();
}

uint64_t CProgressbar::DrawState() const {
    skin::DrawStateKey key;
    key.add(m_rect).add(m_nPos).add(m_nMin).add(m_nMax).add(skin::skinFontGeneration()).add(m_scaleKey);
    return key.value();
}
