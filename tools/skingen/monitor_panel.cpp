// The monitor panel's background: a framed bay per graph with a dark well behind
// the plot, room above it for the caption and the lowest/highest values, left of
// it for the range and right of it for the current value.
#include "monitor_panel.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

// Plot rectangles of the four graphs (left, top, right, bottom).
constexpr int kPlots[4][4] = {
    {55, 73, 303, 154}, {55, 213, 303, 294}, {55, 363, 303, 444}, {55, 503, 303, 584}};

}  // namespace

void drawMonitorBays(QPainter& p) {
    for (const auto& plot : kPlots) {
        const QRectF r(plot[0], plot[1], plot[2] - plot[0], plot[3] - plot[1]);
        // The bay: caption row above, range column left, current value right.
        const QRectF bay(r.left() - 38, r.top() - 26, r.width() + 38 + 58, r.height() + 26 + 12);
        QLinearGradient shade(bay.topLeft(), bay.bottomLeft());
        shade.setColorAt(0, QColor(0x2C, 0x2E, 0x32, 200));
        shade.setColorAt(1, QColor(0x16, 0x17, 0x19, 200));
        p.setPen(QPen(QColor(0x4A, 0x4C, 0x50), 1));
        p.setBrush(shade);
        p.drawRoundedRect(bay.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        // A red rule along the bay's top edge.
        p.setPen(QPen(QColor(0xC8, 0x00, 0x00, 140), 1));
        p.drawLine(QPointF(bay.left() + 10, bay.top() + 0.5), QPointF(bay.right() - 10, bay.top() + 0.5));
        // The well behind the plot, one pixel wider all round.
        p.setPen(QPen(QColor(0x5A, 0x5C, 0x60), 1));
        p.setBrush(QColor(0x08, 0x08, 0x09));
        p.drawRect(r.adjusted(-1.5, -1.5, 1.5, 1.5));
        p.setBrush(Qt::NoBrush);
        // Ticks at the range labels and at the current value.
        p.setPen(QPen(QColor(0x70, 0x72, 0x76), 1));
        p.drawLine(QPointF(r.left() - 5, r.top() + 0.5), QPointF(r.left() - 2, r.top() + 0.5));
        p.drawLine(QPointF(r.left() - 5, r.bottom() - 0.5), QPointF(r.left() - 2, r.bottom() - 0.5));
        const double mid = r.top() + int(r.height() / 2) + 10;
        p.drawLine(QPointF(r.right() + 2, mid), QPointF(r.right() + 5, mid));
    }
}
