#include "profile_buttons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

constexpr int kFrames = 3;  // normal, hover, pressed or checked
// The digits fill the 16-pixel row: about 10 pixels of ink, where the
// ordinary button face's caption would give 6.
constexpr int kDigitPixels = 14;
constexpr int kLabelPixels = 12;

QFont buttonFont(const QString& family, int pixels) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(true);
    return f;
}

QImage strip(int w, int h, const std::function<void(QPainter&, const QRectF&, int)>& draw) {
    QImage image(kFrames * w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int f = 0; f < kFrames; ++f) draw(p, QRectF(f * w, 0, w, h), f);
    return image;
}

// A disk's outline: a rounded square whose top right corner is cut off.
QPainterPath diskShape(const QRectF& r, double cut, double radius) {
    QPainterPath path;
    path.moveTo(r.left() + radius, r.top());
    path.lineTo(r.right() - cut, r.top());
    path.lineTo(r.right(), r.top() + cut);
    path.lineTo(r.right(), r.bottom() - radius);
    path.quadTo(r.bottomRight(), QPointF(r.right() - radius, r.bottom()));
    path.lineTo(r.left() + radius, r.bottom());
    path.quadTo(r.bottomLeft(), QPointF(r.left(), r.bottom() - radius));
    path.lineTo(r.left(), r.top() + radius);
    path.quadTo(r.topLeft(), QPointF(r.left() + radius, r.top()));
    path.closeSubpath();
    return path;
}

// The red face every save button shares, brighter under the pointer and when pressed.
void fillSaveFace(QPainter& p, const QPainterPath& shape, const QRectF& r, int frame) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    if (frame == 2) {
        g.setColorAt(0, QColor(0xD8, 0x20, 0x10));
        g.setColorAt(1, QColor(0x80, 0x00, 0x00));
    } else {
        const int lift = frame == 1 ? 0x30 : 0;
        g.setColorAt(0, QColor(0x6A + lift, 0x12 + lift / 3, 0x0E));
        g.setColorAt(1, QColor(0x30 + lift, 0x06, 0x04));
    }
    p.fillPath(shape, g);
    p.setPen(QPen(frame == 0 ? QColor(0x10, 0x10, 0x10) : QColor(0xFF, 0x60, 0x40), 1));
    p.drawPath(shape);
}

void drawDigit(QPainter& p, const QRectF& r, const QString& family, const QString& digit, const QColor& ink) {
    p.setFont(buttonFont(family, kDigitPixels));
    p.setPen(ink);
    p.drawText(r, Qt::AlignCenter, digit);
}

// A small disk: outline, shutter at the top, label at the bottom.
void drawDiskMark(QPainter& p, const QRectF& r, const QColor& ink) {
    p.setPen(QPen(ink, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(diskShape(r, 2.5, 1));
    p.fillRect(QRectF(r.left() + 2.5, r.top(), r.width() - 6, r.height() * 0.3), ink);
    p.fillRect(QRectF(r.left() + 2, r.bottom() - r.height() * 0.4, r.width() - 4, r.height() * 0.4), ink);
}

}  // namespace

QImage profileLoadButton(const QString& family, int w, int h, const QString& digit) {
    return strip(w, h, [&](QPainter& p, const QRectF& r, int f) {
        const QRectF face = r.adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient g(face.topLeft(), face.bottomLeft());
        if (f == 2) {
            g.setColorAt(0, QColor(0x70, 0x00, 0x00));
            g.setColorAt(1, QColor(0xC8, 0x10, 0x08));
        } else {
            const int lift = f == 1 ? 0x18 : 0;
            g.setColorAt(0, QColor(0x4A + lift, 0x4C + lift, 0x50 + lift));
            g.setColorAt(1, QColor(0x22 + lift, 0x23 + lift, 0x26 + lift));
        }
        p.setPen(QPen(f == 0 ? QColor(0x10, 0x10, 0x10) : QColor(0xC8, 0x00, 0x00), 1));
        p.setBrush(g);
        p.drawRoundedRect(face, 3, 3);
        p.setBrush(Qt::NoBrush);
        drawDigit(p, face, family, digit, f == 0 ? QColor(0xD0, 0xD0, 0xD0) : QColor(0xFF, 0xFF, 0xFF));
    });
}

QImage profileSaveButton(const QString& family, int w, int h, const QString& digit) {
    return strip(w, h, [&](QPainter& p, const QRectF& r, int f) {
        const QRectF face = r.adjusted(0.5, 0.5, -0.5, -0.5);
        fillSaveFace(p, diskShape(face, 4, 2), face, f);
        drawDigit(p, face.adjusted(0, 0, -1, 0), family, digit, QColor(0xFF, 0xFF, 0xFF));
    });
}

QImage profileSaveLabel(const QString& family, int w, int h) {
    return strip(w, h, [&](QPainter& p, const QRectF& r, int f) {
        const QRectF face = r.adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath shape;
        shape.addRoundedRect(face, 3, 3);
        fillSaveFace(p, shape, face, f);
        const QColor ink(0xFF, 0xFF, 0xFF);
        const double mark = h - 6;
        drawDiskMark(p, QRectF(face.left() + 4, face.top() + 2.5, mark, mark), ink);
        p.setFont(buttonFont(family, kLabelPixels));
        p.setPen(ink);
        p.drawText(face.adjusted(mark + 6, 0, 0, 0), Qt::AlignCenter, QStringLiteral("Save"));
    });
}
