#include "monitor/waveform_display.h"

#include <QPen>
#include <QPolygonF>
#include <algorithm>

#include "skin/dialog_base.h"
#include "skin/skin_font.h"
#include "skin/text_cache.h"

namespace {

constexpr UINT kGraphTimer = 500;
constexpr UINT kGraphTimerMs = 1000;
constexpr UINT kLabelId = 2000;
constexpr int kGridStep = 9;     // pixels between horizontal lines
constexpr int kColumnStep = 18;  // pixels between vertical lines, one phase cycle
constexpr QRgb kLabelColour = 0xFFB4B4B4;
// The extremes in light blue and light red: 4.5:1 and more on the panel's bays.
constexpr QRgb kLowestColour = 0xFF50A0FF;
constexpr QRgb kHighestColour = 0xFFFF6E6E;
constexpr QRgb kPlotRed = 0xCCC80000;  // grid and area
constexpr QRgb kCursorColour = 0xFFBCBCBC;
constexpr int kCursorGap = 3;  // between the cursor line and its texts

QColor argb(QRgb value) {
    return QColor::fromRgba(value);
}

QString number(int value) {
    return QString::number(value);
}

}  // namespace

void CGraphLabel::Draw(QPainter* pDC) {
    const int horizontal = m_nAlign == skin::AlignNear  ? Qt::AlignLeft
                           : m_nAlign == skin::AlignFar ? Qt::AlignRight
                                                        : Qt::AlignHCenter;
    skin::drawText(pDC, QRectF(m_rect.left, m_rect.top, RectWidth(m_rect), RectHeight(m_rect)),
                   horizontal | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, m_strText,
                   m_nFontSize, m_crText);
}

void CWaveformDisplay::Init() {
    m_nTimerID = kGraphTimer;
    m_pOwner->SetTimer(kGraphTimer, kGraphTimerMs);
    const int L = m_rect.left, T = m_rect.top, R = m_rect.right, B = m_rect.bottom;
    const int h = (B - T) / 2;
    CreateLabel(m_txtCaption, RECT{L - 5, T - 20, L + 150, T}, QStringLiteral("GPU Temperature,C"),
                skin::AlignNear, kLabelColour);
    CreateLabel(m_txtMin, RECT{L - 30, B - 20, L, B}, number(m_nMin), skin::AlignFar, kLabelColour);
    CreateLabel(m_txtMax, RECT{L - 30, T, L, T + 20}, number(m_nMax), skin::AlignFar, kLabelColour);
    CreateLabel(m_txtLowest, RECT{R - 45, T - 20, R + 5, T}, QStringLiteral("Min:%1").arg(m_nLowest),
                skin::AlignFar, kLowestColour);
    CreateLabel(m_txtHighest, RECT{R - 115, T - 20, R - 45, T}, QStringLiteral("Max:%1").arg(m_nHighest),
                skin::AlignNear, kHighestColour);
    CreateLabel(m_txtCurrent, RECT{R, T + h, R + 50, T + h + 20}, {}, skin::AlignNear, kLabelColour);
}

void CWaveformDisplay::CreateLabel(CGraphLabel& label, const RECT& rect, const QString& text, int align,
                                   QRgb colour) {
    label.SetFontSize(8);
    label.SetAlign(align);
    label.SetColour(colour);
    label.Create(m_pOwner, kLabelId, rect, text);
}

int CWaveformDisplay::Capacity() const {
    return std::max(0, RectWidth(m_rect) - 2);
}

void CWaveformDisplay::SetRange(int nMin, int nMax) {
    m_nMin = nMin;
    m_nMax = nMax;
    m_txtMin.SetText(number(nMin));
    m_txtMax.SetText(number(nMax));
    m_txtCurrent.SetText({});
}

void CWaveformDisplay::AddSample(int nValue, const QString& strTime) {
    PushSample(nValue, strTime);
    if (m_pOwner->RedrawWindow(&m_txtCurrent.Rect(), RDW_INTERNALPAINT)) m_pOwner->UpdateWindow();
}

void CWaveformDisplay::PushSample(int nValue, const QString& strTime) {
    if (nValue > m_nMax)
        nValue = m_nMax;
    else if (nValue < m_nMin)
        nValue = m_nMin;
    const bool full = int(m_values.size()) >= Capacity();
    m_values.push_back(nValue);
    m_times.append(strTime);
    if (full) {
        m_values.erase(m_values.begin());
        m_times.removeFirst();
    }
    if (++m_nPhase > 17) m_nPhase = 0;
    // Both extremes restart with each new history: an old one may be another quantity's.
    if (nValue > m_nHighest || m_bNewHistory) {
        m_nHighest = nValue;
        m_txtHighest.SetText(QStringLiteral("Max:%1").arg(nValue));
    }
    if (nValue < m_nLowest || m_bNewHistory) {
        m_nLowest = nValue;
        m_txtLowest.SetText(QStringLiteral("Min:%1").arg(nValue));
    }
    m_bNewHistory = false;
    m_txtCurrent.SetText(number(nValue));
}

void CWaveformDisplay::ClearSamples() {
    m_values.clear();
    m_times.clear();
    m_nLowest = m_nHighest = 0;
    m_txtLowest.SetText(QStringLiteral("Min:0"));
    m_txtHighest.SetText(QStringLiteral("Max:0"));
    m_bNewHistory = true;
}

void CWaveformDisplay::OnMouseMove(UINT, int x, int y) {
    m_ptMouse = POINT{x, y};
}

float CWaveformDisplay::SampleY(int value) const {
    const float height = float(m_rect.bottom - m_rect.top);
    // An empty range draws every sample at the minimum, never divides by zero.
    const double span = double(m_nMax) - double(m_nMin);
    const float ratio = span == 0 ? 0.0f : float((double(value) - double(m_nMin)) / span);
    const float y = float(m_rect.bottom) - ratio * height;
    return y < float(m_rect.top) ? float(m_rect.top) : y;
}

void CWaveformDisplay::Draw(QPainter* pDC) {
    const int L = m_rect.left, T = m_rect.top, R = m_rect.right, B = m_rect.bottom;
    pDC->setRenderHint(QPainter::Antialiasing, false);

    pDC->setPen(QPen(argb(kPlotRed), 1));
    for (int i = 0; i <= (B - T) / kGridStep; ++i) pDC->drawLine(L, T + kGridStep * i, R, T + kGridStep * i);
    for (int x = L - m_nPhase + kColumnStep; x <= R; x += kColumnStep) pDC->drawLine(x, T, x, B);

    const int n = int(m_values.size());
    if (n > 0) {
        // The area under the samples, one column per sample: a general polygon fill
        // of a jagged history costs five times as much and looks no different.
        QPolygonF outline;
        outline.reserve(n);
        QList<QRectF> area;
        area.reserve(n);
        for (int i = n - 1; i >= 0; --i) {
            const QPointF point(R - (n - i), SampleY(m_values[size_t(i)]));
            outline << point;
            area << QRectF(point.x(), point.y(), 1, B - point.y());
        }
        pDC->setPen(Qt::NoPen);
        pDC->setBrush(argb(kPlotRed));
        pDC->drawRects(area.constData(), int(area.size()));
        pDC->setBrush(Qt::NoBrush);
        pDC->setPen(QPen(argb(kCursorColour), 1));
        pDC->drawPolyline(outline);
    }

    if (!m_bHover || R - m_ptMouse.x > n || m_ptMouse.x >= R) return;
    const int x = m_ptMouse.x;
    QPen dashDot(argb(kCursorColour), 1);
    dashDot.setStyle(Qt::DashDotLine);
    pDC->setPen(dashDot);
    pDC->drawLine(x, T, x, B);
    const int i = n - (R - x);
    // Value and time beside the line, on the side with more room, inside the plot.
    const bool onLeft = x - L > R - x;
    const double left = onLeft ? L : x + kCursorGap;
    const double width = std::max(0, onLeft ? x - kCursorGap - L : R - x - kCursorGap);
    const int align = onLeft ? skin::AlignFar : skin::AlignNear;
    skin::drawSkinLine(pDC, QRectF(left, B - 20, width, 10), number(m_values[size_t(i)]), 8, kCursorColour,
                       align);
    skin::drawSkinLine(pDC, QRectF(left, B - 10, width, 10), m_times[i], 8, kCursorColour, align);
}
