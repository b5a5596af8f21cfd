#include "tuning_faces.h"

#include <QLinearGradient>

namespace {

const QColor kCaption(0xB4, 0xB4, 0xB4);
const QColor kRule(0xC8, 0x00, 0x00, 110);

QFont captionFont(const QString& family, int pixels) {
    QFont f(family);
    f.setPixelSize(pixels);
    return f;
}

// The groove a slider's fill bar and thumb run in, for a slider whose
// rectangle starts at (left, top): the fill lies at (left + 13, top + 15), 241 × 9.
void drawTrack(QPainter& p, int left, int top) {
    const QRectF groove(left + 12, top + 14, 243, 11);
    QLinearGradient g(groove.topLeft(), groove.bottomLeft());
    g.setColorAt(0, QColor(0x08, 0x08, 0x09));
    g.setColorAt(1, QColor(0x1E, 0x1F, 0x22));
    p.setPen(QPen(QColor(0x50, 0x52, 0x56), 1));
    p.setBrush(g);
    p.drawRoundedRect(groove.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.setBrush(Qt::NoBrush);
    // Quarter marks under the groove.
    p.setPen(QPen(QColor(0x60, 0x62, 0x66), 1));
    for (int i = 0; i <= 4; ++i) {
        const double x = left + 13 + 4.5 + i * 60.25;
        p.drawLine(QPointF(x, top + 26.5), QPointF(x, top + 28.5));
    }
}

void drawRule(QPainter& p, int y, int left, int right) {
    p.setPen(QPen(kRule, 1));
    p.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));
}

void drawCaption(QPainter& p, const QString& family, const QRectF& r, const QString& text) {
    p.setFont(captionFont(family, 12));
    p.setPen(kCaption);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
}

// A dim frame around a group of controls.
void drawFrame(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(0x00, 0x00, 0x00, 120), 1));
    p.setBrush(QColor(0x00, 0x00, 0x00, 40));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    p.setBrush(Qt::NoBrush);
}

}  // namespace

void drawClockPanelFace(QPainter& p, const QString& family) {
    // Clocks: the GPU and memory sliders. The voltage button stands in the left
    // margin, outside every frame.
    drawFrame(p, QRectF(42, 33, 323, 181));
    for (int top : {55, 160}) drawTrack(p, 54, top);
    drawRule(p, 124, 56, 340);

    // Fan: slider and mode.
    drawFrame(p, QRectF(42, 242, 323, 116));
    drawTrack(p, 54, 266);
    drawCaption(p, family, QRectF(48, 298, 200, 20), "Fan mode");

    // Power and temperature targets, with the link between their tracks.
    drawFrame(p, QRectF(42, 375, 323, 212));
    drawTrack(p, 54, 399);
    drawTrack(p, 54, 506);
    p.setPen(QPen(QColor(0x70, 0x72, 0x76), 1));
    p.drawLine(QPointF(333, 418.5), QPointF(348.5, 418.5));
    p.drawLine(QPointF(348.5, 418.5), QPointF(348.5, 456));
    p.drawLine(QPointF(348.5, 483), QPointF(348.5, 525.5));
    p.drawLine(QPointF(348.5, 525.5), QPointF(333, 525.5));
    drawCaption(p, family, QRectF(48, 553, 156, 27), "Temperature priority");

    // Profiles under the buttons.
    drawRule(p, 628, 30, 349);
    drawCaption(p, family, QRectF(48, 636, 64, 16), "Profile");
}

void drawVoltagePanelFace(QPainter& p, const QString& family) {
    // Over-voltage at the top: slider and its on/off guard.
    drawFrame(p, QRectF(14, 14, 338, 120));
    drawTrack(p, 54, 42);
    drawCaption(p, family, QRectF(54, 97, 150, 27), "Over-voltage");
    // Core voltage below, its caption inside its frame under the slider as the
    // over-voltage one is.
    drawFrame(p, QRectF(14, 160, 338, 116));
    drawTrack(p, 54, 190);
    drawCaption(p, family, QRectF(54, 243, 150, 27), "Core voltage");
}
