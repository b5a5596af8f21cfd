#include "gauge_scale.h"

#include <QPainter>

namespace {

// The gauges draw their value and scale labels in translucent red (0xCCC80000)
// at 7 pt, which no dark metal lets anyone read: they get near-white plates.
const QColor kPlate(0xFA, 0xFA, 0xF8);
const QColor kPlateRim(0x8C, 0x8E, 0x92);
constexpr int kLabelTops[5] = {319, 255, 192, 132, 69};  // the main window's 30 x 10 label boxes

// A tube along the bar: the value rides on top of the bar, anywhere from the
// bottom of the track to 10 px above its top.
void tube(QPainter& p, double barLeft) {
    p.setPen(QPen(kPlateRim, 1));
    p.setBrush(kPlate);
    p.drawRoundedRect(QRectF(barLeft - 11.5, 60.5, 33, 272), 4, 4);
}

void labels(QPainter& p, double left) {
    p.setPen(QPen(kPlateRim, 1));
    p.setBrush(kPlate);
    for (int top : kLabelTops) p.drawRoundedRect(QRectF(left - 1.5, top - 1.5, 33, 13), 2, 2);
}

}  // namespace

void drawGaugeScalePlates(QPainter& p) {
    p.save();
    tube(p, 51);
    tube(p, 415);
    labels(p, 74);
    labels(p, 372);
    p.restore();
}
