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
// stay on this thread. The pixels are the same.
void fillInBands(QPainter* painter, QRect rect, const QColor& colour) {
    // Off-surface rows (a value past the range) are not worth a band each.
    if (const QPaintDevice* device = painter->device(); device && painter->transform().isIdentity())
        rect &= QRect(0, 0, device->width(), device->height());
    // From the bottom up: a new value changes the top band only.
    for (int bottom = rect.bottom(); bottom >= rect.top(); bottom -= kBandRows) {
        const int rows = std::min(kBandRows, bottom + 1 - rect.top());
        painter->fillRect(QRect(rect.left(), bottom + 1 - rows, rect.width(), rows), colour);
    }
}
}  // namespace

void CProgressbar::Draw(QPainter* pDC) {
    const int64_t range = int64_t(m_nMax) - m_nMin;
    // An empty range draws as if at the minimum.
    const float ratio = range == 0 ? 0.0f : float(m_nPos) / float(range);
    const int height = RectHeight(m_rect);
    const int h = platform::truncateToInt(float(height) * ratio);
    const int width = RectWidth(m_rect);
    if (h > 0)
        fillInBands(pDC, QRect(m_rect.left, m_rect.bottom - h, width, h), QColor::fromRgba(kBarColour));

    const QRectF valueBox(m_rect.left - 10, double(m_rect.bottom) - h - 10, width + 20, 10);
    skin::drawSkinText(pDC, valueBox, QString::number(m_nPos), kLabelPoints, kBarColour);
    for (size_t i = 0; i < m_scaleRects.size(); ++i)
        skin::drawSkinText(pDC, m_scaleRects[i], m_scaleTexts[i], kLabelPoints, kBarColour);
}

void CProgressbar::SetRange(int nMax) {
    m_nMin = 0;
    m_nMax = nMax;
    m_scaleTexts = {QStringLiteral("0"), QString::number(int(nMax * 0.25)), QString::number(int(nMax * 0.5)),
                    QString::number(int(nMax * 0.75)), QString::number(nMax)};
}

uint64_t CProgressbar::DrawState() const {
    skin::DrawStateKey key;
    key.add(m_rect).add(m_nPos).add(m_nMin).add(m_nMax).add(skin::skinFontGeneration());
    for (size_t i = 0; i < m_scaleRects.size(); ++i) key.add(m_scaleRects[i]).add(m_scaleTexts[i]);
    return key.value();
}
