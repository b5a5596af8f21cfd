#include "fan/static_fan_ctl.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "skin/skin_font.h"

namespace {

constexpr int kHalf = 3;  // half the side of a point square

bool isEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT unite(const RECT& a, const RECT& b) {
    if (isEmpty(a)) return b;
    if (isEmpty(b)) return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

QRect toQRect(const RECT& r) {
    return QRect(r.left, r.top, RectWidth(r), RectHeight(r));
}

RECT square(int cx, int cy) {
    return RECT{cx - kHalf, cy - kHalf, cx + kHalf, cy + kHalf};
}

// 100 x the fraction of the span, rounded half up; a degenerate span reads 0.
int32_t percentOf(int offset, int span) {
    if (span <= 0) return 0;
    return int32_t(std::trunc((double(offset) / span * 1000 + 5) / 10));
}

// The pixel of `value` (0 to 100) on an axis of `span` pixels from its start,
// as the points are placed: the grid stands where the values are drawn.
int offsetOf(int value, double span) {
    return int(std::trunc(value * span / 100 + 0.5));
}

QFont gridFont() {
    QFont f;
    f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                   QStringLiteral("DejaVu Sans")});
    f.setPixelSize(12);  // 9 points at 96 dpi
    return f;
}

}  // namespace

CStaticFanCtl::CStaticFanCtl(QWidget* parent) : Window(parent, Placement::Child) {
    SetWantsDoubleClicks(true);
}

void CStaticFanCtl::SetFanMap(const fan::FanPoint points[fan::kFanPointCount]) {
    const RECT client = GetClientRect();
    const int L = 20 + 3, T = 30, R = client.right - 20 - 2, B = client.bottom - 30 - 10;
    m_rcGrid = RECT{L, T, R, B};
    const double spanX = R - L, spanY = B - T;
    for (int k = 0; k < fan::kFanPointCount; ++k) {
        const int x = L + offsetOf(points[k].x, spanX);
        const int y = B - offsetOf(points[k].y, spanY);
        m_ptLine[k + 1] = POINT{x, y};
        m_rcPoint[k] = square(x, y);
    }
    m_ptLine[0] = POINT{L, m_ptLine[1].y};
    m_ptLine[9] = POINT{R, m_ptLine[8].y};
    if (m_bStepped) fillStepFromLine();
    m_rcDirty = client;
}

void CStaticFanCtl::GetFanMap(fan::FanPoint points[fan::kFanPointCount]) const {
    for (int k = 0; k < fan::kFanPointCount; ++k) {
        const POINT c = centre(m_rcPoint[k]);
        points[k] = valueAt(c.x, c.y);
    }
}

fan::FanPoint CStaticFanCtl::valueAt(int cx, int cy) const {
    const RECT& g = m_rcGrid;
    return fan::FanPoint{percentOf(cx - g.left, g.right - g.left),
                         percentOf(g.bottom - cy, g.bottom - g.top)};
}

void CStaticFanCtl::fillStepFromLine() {
    m_ptStep[0] = m_ptLine[0];
    for (int k = 0; k < fan::kFanPointCount; ++k) {
        m_ptStep[2 * k + 1] = m_ptLine[k + 1];
        if (k < fan::kFanPointCount - 1) m_ptStep[2 * k + 2] = POINT{m_ptLine[k + 2].x, m_ptLine[k + 1].y};
    }
    m_ptStep[16] = POINT{m_rcGrid.right, m_ptLine[8].y};
}

// Above the square, 30 pixels wide unless the text needs more: one line,
// moved left where it would run past the control's right edge.
void CStaticFanCtl::setLabel(int k) {
    const RECT& sq = m_rcPoint[k];
    const POINT c = centre(sq);
    const fan::FanPoint v = valueAt(c.x, c.y);
    m_strLabel = QStringLiteral("x:%1 y:%2").arg(v.x).arg(v.y);
    const int width = std::max(30, QFontMetrics(skin::skinFont(7)).horizontalAdvance(m_strLabel) + 1);
    const int left = std::max(0, std::min<int>(sq.left, GetClientRect().right - width));
    m_rcLabel = RECT{left, sq.top - 25, left + width, sq.top};
}

LRESULT CStaticFanCtl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_ERASEBKGND:
            drawBackground();
            return 1;
        case WM_PAINT:
            drawForeground();
            return 0;
        case WM_SIZE:
            m_rcDirty = GetClientRect();
            break;
        case WM_LBUTTONDOWN:
            SetCapture();
            onButtonDown(x, y);
            break;
        case WM_MOUSEMOVE:
            if (std::find(m_bSelected.begin(), m_bSelected.end(), true) != m_bSelected.end())
                onMouseMove(x, y);
            break;
        case WM_LBUTTONUP:
            ReleaseCapture();
            onButtonUp();
            break;
        case WM_LBUTTONDBLCLK:
            onDoubleClick();
            break;
        default:
            break;
    }
    return Window::WindowProc(message, wParam, lParam);
}

void CStaticFanCtl::onButtonDown(int x, int y) {
    for (int k = 0; k < fan::kFanPointCount; ++k) {
        if (PtInRect(m_rcPoint[k], x, y)) {
            setLabel(k);
            m_bTracking = true;
            m_bSelected[k] = true;
            break;
        }
    }
    m_ptLastMove = POINT{x, y};
    if (m_bTracking) redraw(withLabel(m_rcGrid), true);
}

void CStaticFanCtl::onMouseMove(int x, int y) {
    const int k = int(std::find(m_bSelected.begin(), m_bSelected.end(), true) - m_bSelected.begin());
    constexpr int last = fan::kFanPointCount - 1;
    const RECT& g = m_rcGrid;
    RECT sq = square(x, y);
    // Temperature: never past a neighbour; the outer points stop at the grid.
    if (k == last && sq.right > g.right) {
        sq.left = g.right - kHalf, sq.right = g.right + kHalf;
    } else if (k < last && sq.left > m_rcPoint[k + 1].left) {
        sq.left = m_rcPoint[k + 1].left, sq.right = m_rcPoint[k + 1].right;
    } else if (k == 0 && sq.left < g.left) {
        sq.left = g.left - kHalf, sq.right = g.left + kHalf;
    } else if (k > 0 && sq.left < m_rcPoint[k - 1].left) {
        sq.left = m_rcPoint[k - 1].left, sq.right = m_rcPoint[k - 1].right;
    }
    if (sq.top < g.top)
        sq.top = g.top - kHalf, sq.bottom = g.top + kHalf;
    else if (sq.bottom > g.bottom)
        sq.top = g.bottom - kHalf, sq.bottom = g.bottom + kHalf;
    m_rcPoint[k] = sq;
    setLabel(k);

    const POINT c = centre(sq);
    if (m_bStepped) {
        m_ptStep[2 * k + 1] = c;
        if (k == 0)
            m_ptStep[0].y = c.y;
        else
            m_ptStep[2 * k] = POINT{c.x, centre(m_rcPoint[k - 1]).y};
        m_ptStep[2 * k + 2] = k == last ? POINT{g.right, c.y} : POINT{centre(m_rcPoint[k + 1]).x, c.y};
    } else {
        m_ptLine[k + 1] = c;
        if (k == 0) m_ptLine[0].y = c.y;
        if (k == last) m_ptLine[9] = POINT{g.right, c.y};
    }

    const int thr = (g.right - g.left) / 100;
    if (std::abs(x - m_ptLastMove.x) < thr && std::abs(y - m_ptLastMove.y) < thr) return;
    m_ptLastMove = POINT{x, y};
    RECT band{0, g.top - 25, 0, g.bottom + 3};
    if (m_bStepped) {
        band.left = k == 0 ? g.left - 3 : m_rcPoint[k - 1].left;
        band.right = k == last ? g.right + 30 : m_rcPoint[k + 1].right + 30;
    } else {
        band.left = m_ptLine[k].x - 3;
        band.right = m_ptLine[k + 2].x + 30;
    }
    // Coalesced: a burst of moves ends in one paint from the event loop.
    redraw(withLabel(band), false);
}

void CStaticFanCtl::onButtonUp() {
    m_bTracking = false;
    if (std::find(m_bSelected.begin(), m_bSelected.end(), true) == m_bSelected.end()) return;
    redraw(m_rcGrid, true);
    m_bSelected.fill(false);
}

void CStaticFanCtl::onDoubleClick() {
    if (m_bStepped) {
        m_ptLine[0] = m_ptStep[0];
        m_ptLine[9] = m_ptStep[16];
        for (int k = 0; k < fan::kFanPointCount; ++k) m_ptLine[k + 1] = centre(m_rcPoint[k]);
        m_bStepped = false;
    } else {
        fillStepFromLine();
        m_bStepped = true;
    }
    const RECT& g = m_rcGrid;
    redraw(RECT{g.left - 3, g.top - 3, g.right + 3, g.bottom + 3}, true);
}

RECT CStaticFanCtl::withLabel(const RECT& r) {
    const RECT united = unite(r, unite(m_rcLabelDrawn, m_rcLabel));
    m_rcLabelDrawn = m_rcLabel;
    return united;
}

void CStaticFanCtl::redraw(const RECT& r, bool now) {
    const RECT client = GetClientRect();
    const RECT clipped{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, client.right),
                       std::min(r.bottom, client.bottom)};
    if (isEmpty(clipped)) return;
    m_rcDirty = unite(m_rcDirty, clipped);
    RedrawWindow(&clipped, RDW_INVALIDATE | RDW_ERASE | (now ? RDW_UPDATENOW : 0));
    if (now) UpdateWindow();
}

void CStaticFanCtl::ensureSurface() {
    if (m_surface.size() == size()) return;
    m_surface = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_surface.fill(Qt::black);
    m_rcDirty = GetClientRect();
    drawBackground();  // the first paint of a new surface has nothing under it
}

void CStaticFanCtl::drawBackground() {
    if (m_surface.size() != size()) return ensureSurface();
    if (isEmpty(m_rcDirty)) m_rcDirty = GetClientRect();  // asked for from outside: all of it
    QPainter p(&m_surface);
    p.setClipRect(toQRect(m_rcDirty));
    p.fillRect(m_surface.rect(), Qt::black);
    const RECT& g = m_rcGrid;
    if (isEmpty(g)) return;
    const int L = g.left, T = g.top, R = g.right, B = g.bottom;
    // Line k stands at the value 10k: x of 10k degrees, y of 100 - 10k percent.
    const auto lineX = [&](int k) { return L + offsetOf(10 * k, R - L); };
    const auto lineY = [&](int k) { return B - offsetOf(100 - 10 * k, B - T); };
    const QPen gridPen(QColor(150, 0, 0), 1), accentPen(QColor(200, 100, 0), 1);
    for (int i = 0; i <= 10; ++i) {
        p.setPen(i == 0 || i == 6 ? accentPen : gridPen);
        p.drawLine(L, lineY(i), R, lineY(i));
    }
    p.setPen(gridPen);
    for (int j = 0; j <= 10; ++j) p.drawLine(lineX(j), T, lineX(j), B);

    p.setFont(gridFont());
    p.setPen(Qt::white);
    const auto text = [&p](int l, int t, int r, int b, int align, const QString& s) {
        p.drawText(QRect(l, t, r - l, b - t),
                   align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, s);
    };
    text(L, T - 30, R, T, Qt::AlignLeft, QCoreApplication::translate("CStaticFanCtl", "Fan speed,%"));
    text(L, B, L + 10, B + 10, Qt::AlignLeft, QStringLiteral("0"));
    // Its 19 pixels start at the control's left edge: a wider font grows the
    // box toward the grid, never past that edge.
    const int w100 = p.fontMetrics().horizontalAdvance(QStringLiteral("100"));
    text(L - 23, T - 5, std::min(L, std::max(L - 4, L - 23 + w100)), T + 5, Qt::AlignRight,
         QStringLiteral("100"));
    for (int k = 1; k <= 10; ++k)
        text(lineX(k) - 10, B + 5, lineX(k) + 10, B + 15, Qt::AlignHCenter, QString::number(k * 10));
    for (int k = 1; k <= 9; ++k)
        text(L - 20, lineY(k) - 5, L - 5, lineY(k) + 5, Qt::AlignRight, QString::number(100 - k * 10));
    text(R - 100, B + 20, R, B + 30, Qt::AlignRight,
         QCoreApplication::translate("CStaticFanCtl", "Teperature,℃"));
}

void CStaticFanCtl::drawForeground() {
    ensureSurface();
    if (isEmpty(m_rcDirty)) return;  // an expose: the surface still holds the picture
    const RECT dirty = m_rcDirty;
    m_rcDirty = RECT{};
    if (isEmpty(m_rcGrid)) return;
    QPainter p(&m_surface);
    p.setClipRect(toQRect(dirty));
    p.setPen(QPen(QColor(200, 200, 200), 1));
    QPolygon curve;
    if (m_bStepped)
        for (const POINT& v : m_ptStep) curve << QPoint(v.x, v.y);
    else
        for (const POINT& v : m_ptLine) curve << QPoint(v.x, v.y);
    p.drawPolyline(curve);
    for (const RECT& sq : m_rcPoint) p.fillRect(sq.left, sq.top, 6, 6, QColor(150, 150, 150));
    if (m_rcLabel.left || m_rcLabel.top || m_rcLabel.right || m_rcLabel.bottom) {
        p.setFont(skin::skinFont(7));
        p.setPen(QColor(255, 255, 0));
        p.drawText(toQRect(m_rcLabel), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                   m_strLabel);
    }
}
