#include "gpuinfo_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kCaption(0x8C, 0x8E, 0x92);
const QColor kTitle(0xB4, 0xB4, 0xB4);
const QColor kRule(0xC8, 0x00, 0x00);

// The value rows as the panel places its labels: two columns, five rows.
constexpr int kRowTops[6] = {76, 95, 114, 133, 152, 172};
constexpr double kLeftValueX = 90, kLeftValueRight = 216;
constexpr double kRightValueX = 234, kRightValueRight = 340;

const char* const kLeftCaptions[5] = {"Memory size", "Memory type", "GPU clock", "Base clock", "Driver"};
const char* const kRightCaptions[5] = {"Bus width", "Bandwidth", "Memory clock", "Memory clock limit",
                                       "BIOS version"};

QFont font(const QString& family, int pixels, bool bold = false) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A dark well behind one column of values, with faint lines between the rows.
void drawValueWell(QPainter& p, double left, double right) {
    const QRectF well(left - 2.5, kRowTops[0] - 2.5, right - left + 5, kRowTops[5] - kRowTops[0] + 5);
    QLinearGradient g(well.topLeft(), well.bottomLeft());
    g.setColorAt(0, QColor(0x0C, 0x0C, 0x0D));
    g.setColorAt(1, QColor(0x1A, 0x1B, 0x1D));
    p.setPen(QPen(QColor(0x50, 0x52, 0x56), 1));
    p.setBrush(g);
    p.drawRoundedRect(well, 4, 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x2E, 0x30, 0x33), 1));
    for (int row = 1; row < 5; ++row)
        p.drawLine(QPointF(left + 4, kRowTops[row]), QPointF(right - 4, kRowTops[row]));
}

}  // namespace

QImage gpuInfoBackground(const QString& family, const std::function<void(QPainter&, const QRectF&)>& panel) {
    QImage image(475, 238, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    panel(p, QRectF(0, 0, 475, 238));

    // Title on the GPU list's line, the list in a well of its own, the rule under both.
    p.setFont(font(family, 14, true));
    p.setPen(kTitle);
    p.drawText(QRectF(22, 18, 86, 22), Qt::AlignVCenter | Qt::AlignLeft, "GPU");
    p.setPen(QPen(QColor(0x50, 0x52, 0x56), 1));
    p.setBrush(QColor(0x0C, 0x0C, 0x0D));
    p.drawRoundedRect(QRectF(110.5, 15.5, 222, 27), 4, 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRule, 1.5));
    p.drawLine(QPointF(14, 56), QPointF(461, 56));

    drawValueWell(p, kLeftValueX, kLeftValueRight);
    drawValueWell(p, kRightValueX, kRightValueRight);
    // Captions beside their values: right-aligned before the left column,
    // left-aligned after the right one.
    p.setFont(font(family, 11));
    p.setPen(kCaption);
    for (int row = 0; row < 5; ++row) {
        const double top = kRowTops[row], height = kRowTops[row + 1] - kRowTops[row];
        p.drawText(QRectF(10, top, kLeftValueX - 18, height), Qt::AlignVCenter | Qt::AlignRight,
                   kLeftCaptions[row]);
        p.drawText(QRectF(kRightValueRight + 8, top, 475 - 12 - kRightValueRight - 8, height),
                   Qt::AlignVCenter | Qt::AlignLeft, kRightCaptions[row]);
    }

    p.setPen(QPen(QColor(0xC8, 0, 0, 120), 1));
    p.drawLine(QPointF(14, 192), QPointF(461, 192));
    return image;
}

QImage gpuListHead(int w, int h) {
    QImage image(3 * w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int frame = 0; frame < 3; ++frame) {
        const QRectF face = QRectF(frame * w, 0, w, h).adjusted(0.5, 0.5, -0.5, -0.5);
        const int lift = frame == 1 ? 0x14 : 0;
        QLinearGradient g(face.topLeft(), face.bottomLeft());
        g.setColorAt(0,
                     frame == 2 ? QColor(0xE8, 0xC8, 0xC4) : QColor(0xD2 + lift, 0xD3 + lift, 0xD6 + lift));
        g.setColorAt(1,
                     frame == 2 ? QColor(0xA8, 0x88, 0x84) : QColor(0x90 + lift, 0x92 + lift, 0x96 + lift));
        p.setPen(QPen(frame == 0 ? QColor(0x10, 0x10, 0x10) : kRule, 1));
        p.setBrush(g);
        p.drawRoundedRect(face, 4, 4);
        // A small arrow at the right end: the list opens downwards.
        const double x = face.right() - 12, y = face.center().y();
        QPainterPath arrow;
        arrow.moveTo(x - 4, y - 2);
        arrow.lineTo(x + 4, y - 2);
        arrow.lineTo(x, y + 3);
        arrow.closeSubpath();
        p.fillPath(arrow, QColor(0x60, 0x10, 0x10));
    }
    return image;
}
