// Draws every picture of the skin into OUTDIR: window backgrounds, three-frame
// button strips (normal, hover, pressed/checked), the 13-frame eye, slider parts
// and the application icon. Run at build time; needs no display.
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cstdio>
#include <functional>

#include "gauge_scale.h"
#include "gpuinfo_picture.h"
#include "monitor_panel.h"
#include "profile_buttons.h"
#include "tuning_faces.h"

namespace {

const QColor kRed(0xC8, 0x00, 0x00);
const QColor kRedBright(0xFF, 0x30, 0x20);
const QColor kText(0xB4, 0xB4, 0xB4);
QString g_family = QStringLiteral("sans-serif");
QString g_out;

QFont skinFont(double pixels, bool bold = false) {
    QFont f(g_family);
    f.setPixelSize(qMax(1, int(pixels)));
    f.setBold(bold);
    return f;
}

bool save(const QImage& image, const QString& name) {
    if (image.save(g_out + "/" + name)) return true;
    std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(name));
    return false;
}

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Brushed dark metal with a thin red rim and rounded corners.
void drawPanel(QPainter& p, const QRectF& r, double radius) {
    QLinearGradient metal(r.topLeft(), r.bottomLeft());
    metal.setColorAt(0, QColor(0x3A, 0x3C, 0x40));
    metal.setColorAt(0.5, QColor(0x24, 0x26, 0x29));
    metal.setColorAt(1, QColor(0x17, 0x18, 0x1A));
    QPainterPath shape;
    shape.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.fillPath(shape, metal);
    p.save();
    p.setClipPath(shape);
    for (int y = int(r.top()); y < int(r.bottom()); y += 2) {  // brushed lines
        p.setPen(QColor(255, 255, 255, (y * 37 % 7) + 3));
        p.drawLine(QPointF(r.left(), y + 0.5), QPointF(r.right(), y + 0.5));
    }
    p.restore();
    p.setPen(QPen(QColor(0xC8, 0, 0, 200), 1.5));
    p.drawPath(shape);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.drawRoundedRect(r.adjusted(3, 3, -3, -3), radius - 2, radius - 2);
}

void drawRecess(QPainter& p, const QRectF& r, double radius) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0x0C, 0x0C, 0x0D));
    g.setColorAt(1, QColor(0x1C, 0x1D, 0x1F));
    p.setPen(QPen(QColor(0x50, 0x52, 0x56), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    p.setBrush(Qt::NoBrush);
}

// One frame of a button: 0 normal, 1 hover, 2 pressed or checked.
void drawButtonFace(QPainter& p, const QRectF& r, int frame, const QString& caption) {
    const QRectF face = r.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    if (frame == 2) {
        g.setColorAt(0, QColor(0x70, 0x00, 0x00));
        g.setColorAt(1, QColor(0xC8, 0x10, 0x08));
    } else {
        const int lift = frame == 1 ? 0x18 : 0;
        g.setColorAt(0, QColor(0x4A + lift, 0x4C + lift, 0x50 + lift));
        g.setColorAt(1, QColor(0x22 + lift, 0x23 + lift, 0x26 + lift));
    }
    const double radius = qMin(4.0, face.height() / 3);
    p.setPen(QPen(frame == 0 ? QColor(0x10, 0x10, 0x10) : kRed, 1));
    p.setBrush(g);
    p.drawRoundedRect(face, radius, radius);
    p.setBrush(Qt::NoBrush);
    if (caption.isEmpty()) return;
    p.setFont(skinFont(qMin(face.height() * 0.52, 14.0), true));
    p.setPen(frame == 0 ? kText : QColor(0xF2, 0xF2, 0xF2));
    p.drawText(face, Qt::AlignCenter, caption);
}

using FrameDraw = std::function<void(QPainter&, const QRectF&, int)>;

// A horizontal strip of three frames, each w × h.
bool strip(const QString& name, int w, int h, const FrameDraw& draw) {
    QImage image = blank(3 * w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int f = 0; f < 3; ++f) draw(p, QRectF(f * w, 0, w, h), f);
    return save(image, name);
}

bool button(const QString& name, int w, int h, const QString& caption) {
    return strip(name, w, h, [&](QPainter& p, const QRectF& r, int f) { drawButtonFace(p, r, f, caption); });
}

// Caption-bar glyphs: close, minimise, settings.
bool glyphButton(const QString& name, int size, char glyph) {
    return strip(name, size, size, [&](QPainter& p, const QRectF& r, int f) {
        const QColor ink = f == 0 ? kText : f == 1 ? QColor(0xFF, 0xFF, 0xFF) : kRedBright;
        if (f > 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xC8, 0, 0, f == 1 ? 90 : 160));
            p.drawEllipse(r.adjusted(4, 4, -4, -4));
            p.setBrush(Qt::NoBrush);
        }
        const QPointF c = r.center();
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
        if (glyph == 'x') {
            p.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
            p.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
        } else if (glyph == '-') {
            p.drawLine(c + QPointF(-6, 3), c + QPointF(6, 3));
        } else {
            p.drawEllipse(c, 3.0, 3.0);
            for (int i = 0; i < 8; ++i) {
                const double a = i * M_PI / 4;
                p.drawLine(c + QPointF(5 * qCos(a), 5 * qSin(a)), c + QPointF(7.5 * qCos(a), 7.5 * qSin(a)));
            }
        }
    });
}

// Small radio/check style buttons: an LED that lights when checked.
bool ledButton(const QString& name, int w, int h, const QString& caption) {
    return strip(name, w, h, [&](QPainter& p, const QRectF& r, int f) {
        drawButtonFace(p, r, f == 2 ? 0 : f, QString());
        const double d = qMin(8.0, r.height() - 6);
        const QRectF led(r.left() + 5, r.center().y() - d / 2, d, d);
        QRadialGradient g(led.center(), d / 2);
        g.setColorAt(0, f == 2 ? QColor(0xFF, 0x60, 0x40) : QColor(0x40, 0x10, 0x10));
        g.setColorAt(1, f == 2 ? kRed : QColor(0x20, 0x08, 0x08));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(led);
        p.setBrush(Qt::NoBrush);
        p.setFont(skinFont(qMin(r.height() * 0.5, 12.0), true));
        p.setPen(f == 0 ? kText : QColor(0xF2, 0xF2, 0xF2));
        p.drawText(r.adjusted(d + 6, 0, 0, 0), Qt::AlignCenter, caption);
    });
}

bool eye() {
    const int w = 174, h = 148, frames = 13;
    QImage image = blank(w * frames, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int f = 0; f < frames; ++f) {
        const QPointF c(f * w + w / 2.0, h / 2.0);
        const double phase = 2 * M_PI * f / frames;
        const double pulse = 0.5 + 0.5 * qSin(phase);
        QRadialGradient glow(c, 70);
        glow.setColorAt(0, QColor(0xFF, 0x30, 0x10, int(120 + 100 * pulse)));
        glow.setColorAt(0.45, QColor(0xC8, 0x00, 0x00, int(90 + 60 * pulse)));
        glow.setColorAt(1, QColor(0xC8, 0x00, 0x00, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, 72.0, 72.0);
        p.setBrush(QColor(0x0A, 0x0A, 0x0B));
        p.drawEllipse(c, 40.0, 40.0);
        p.setBrush(Qt::NoBrush);
        // Rotating iris segments.
        for (int s = 0; s < 12; ++s) {
            const double a = phase / 2 + s * M_PI / 6;
            p.setPen(QPen(QColor(0xFF, 0x40 + 8 * (s % 3), 0x20, s % 2 ? 230 : 150), 3, Qt::SolidLine,
                          Qt::FlatCap));
            p.drawArc(QRectF(c.x() - 34, c.y() - 34, 68, 68), int(a * 180 / M_PI * 16), 18 * 16);
        }
        QRadialGradient pupil(c, 18 + 4 * pulse);
        pupil.setColorAt(0, QColor(0xFF, 0xE0, 0xC0));
        pupil.setColorAt(0.3, QColor(0xFF, 0x40, 0x10));
        pupil.setColorAt(1, QColor(0x60, 0x00, 0x00, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(pupil);
        p.drawEllipse(c, 22.0, 22.0);
        p.setBrush(Qt::NoBrush);
    }
    return save(image, "main_eye.png");
}

bool mainBackground() {
    QImage image = blank(475, 440);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawPanel(p, QRectF(0, 0, 475, 440), 18);
    p.setFont(skinFont(17, true));
    p.setPen(kText);
    p.drawText(QRectF(22, 6, 200, 28), Qt::AlignVCenter | Qt::AlignLeft, "VANTREL");
    p.setPen(QPen(kRed, 2));
    p.drawLine(QPointF(22, 36), QPointF(453, 36));
    // The eye's socket and the two gauge tracks.
    p.setPen(QPen(QColor(0x55, 0x57, 0x5B), 2));
    p.setBrush(QColor(0x0E, 0x0E, 0x10));
    p.drawEllipse(QPointF(236, 206), 92.0, 86.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xC8, 0, 0, 120), 1));
    p.drawEllipse(QPointF(236, 206), 98.0, 92.0);
    drawRecess(p, QRectF(48, 70, 16, 262), 4);
    drawRecess(p, QRectF(412, 70, 16, 262), 4);
    p.setPen(QPen(QColor(0x60, 0x62, 0x66), 1));
    for (int i = 0; i <= 4; ++i) {  // ticks beside the scale labels
        const double y = 329 - i * 64;
        p.drawLine(QPointF(65, y), QPointF(71, y));
        p.drawLine(QPointF(405, y), QPointF(411, y));
    }
    drawGaugeScalePlates(p);
    p.setPen(QPen(QColor(0xC8, 0, 0, 160), 1));
    p.drawLine(QPointF(33, 347), QPointF(443, 347));
    return save(image, "main.png");
}

bool panelBackground(const QString& name, int w, int h, const QString& title,
                     const std::function<void(QPainter&)>& extra = {}) {
    QImage image = blank(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawPanel(p, QRectF(0, 0, w, h), 12);
    p.setFont(skinFont(14, true));
    p.setPen(kText);
    p.drawText(QRectF(66, 4, w - 80, 24), Qt::AlignVCenter | Qt::AlignLeft, title);
    p.setPen(QPen(kRed, 1.5));
    p.drawLine(QPointF(14, 32), QPointF(w - 14, 32));
    if (extra) extra(p);
    return save(image, name);
}

bool plain(const QString& name, int w, int h, const std::function<void(QPainter&)>& draw) {
    QImage image = blank(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return save(image, name);
}

void drawIcon(QPainter& p, double s) {
    QRadialGradient g(QPointF(s / 2, s / 2), s / 2);
    g.setColorAt(0, QColor(0xFF, 0x50, 0x20));
    g.setColorAt(0.35, kRed);
    g.setColorAt(0.36, QColor(0x20, 0x21, 0x24));
    g.setColorAt(1, QColor(0x3A, 0x3C, 0x40));
    p.setPen(QPen(kRed, s / 32));
    p.setBrush(g);
    p.drawEllipse(QRectF(s / 32, s / 32, s - s / 16, s - s / 16));
    p.setPen(QPen(QColor(0xE0, 0xE0, 0xE0), s / 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath v;
    v.moveTo(s * 0.30, s * 0.30);
    v.lineTo(s * 0.50, s * 0.72);
    v.lineTo(s * 0.70, s * 0.30);
    p.drawPath(v);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: skingen OUTDIR [FONT.ttf]\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    if (argc > 2) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[2]));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty()) g_family = families.first();
    }

    bool ok = mainBackground() && eye();
    ok = ok && glyphButton("main_close.png", 30, 'x') && glyphButton("main_min.png", 30, '-') &&
         glyphButton("main_set.png", 30, '*');
    ok = ok && ledButton("main_clock.png", 194, 28, "Clock Lock") &&
         button("main_gpu.png", 194, 28, "GPU Info") && button("main_custmize.png", 194, 28, "Overclock") &&
         button("main_monitor.png", 194, 28, "Monitor");
    for (const char* gauge : {"main_probarleft.png", "main_probargight.png"})
        ok = ok && plain(gauge, 10, 256, [](QPainter& p) {
                 QLinearGradient g(0, 0, 0, 256);
                 g.setColorAt(0, kRedBright);
                 g.setColorAt(1, QColor(0x60, 0, 0));
                 p.fillRect(QRect(0, 0, 10, 256), g);
             });

    // Clock tuning panel and its controls.
    ok = ok && panelBackground("lockset_main.png", 379, 671, "Overclocking",
                               [](QPainter& p) { drawClockPanelFace(p, g_family); });
    ok = ok && glyphButton("lockset_close.png", 30, 'x') && button("lockset_apply.png", 80, 27, "Apply") &&
         button("lockset_default.png", 80, 27, "Default") && button("lockset_cancel.png", 80, 27, "Cancel") &&
         ledButton("lockset_no.png", 52, 27, "On") && ledButton("lockset_off.png", 52, 27, "Off") &&
         ledButton("lockset_auto.png", 78, 27, "Auto") && ledButton("lockset_manual.png", 77, 27, "Manual") &&
         ledButton("lockset_userdefine.png", 78, 27, "User") && button("lockset_voltage.png", 19, 93, "V");
    // The profile row: load 1, 2, 3; then, after an Apply, Save and save into 1, 2, 3.
    const char* const digits[3] = {"1", "2", "3"};
    const char* const loads[3] = {"lockset_one.png", "lockset_two.png", "lockset_three.png"};
    const char* const saves[3] = {"lockset_saveone.png", "lockset_savetwo.png", "lockset_savethree.png"};
    for (int i = 0; i < 3; ++i)
        ok = ok && save(profileLoadButton(g_family, 17, 16, digits[i]), loads[i]) &&
             save(profileSaveButton(g_family, 17, 16, digits[i]), saves[i]);
    ok = ok && save(profileSaveLabel(g_family, 50, 16), "lockset_save.png");
    ok = ok && strip("lockset_link.png", 13, 27, [](QPainter& p, const QRectF& r, int f) {
             p.setPen(QPen(f == 2 ? kRedBright : kText, 2));
             p.drawRoundedRect(QRectF(r.left() + 3, r.top() + 3, 7, 11), 3, 3);
             p.drawRoundedRect(QRectF(r.left() + 3, r.top() + 13, 7, 11), 3, 3);
         });
    ok = ok && button("lockset_subfive.png", 19, 19, "-5") && button("lockset_subten.png", 23, 19, "-10") &&
         button("lockset_addten.png", 24, 19, "+10") && button("lockset_addfive.png", 19, 19, "+5");
    for (const char* arrow : {"lockset_arrowleft.png", "lockset_arrowright.png"}) {
        const bool left = QString(arrow).contains("left");
        ok = ok && strip(arrow, 12, 12, [left](QPainter& p, const QRectF& r, int f) {
                 QPainterPath tri;
                 const double x0 = left ? r.right() - 3 : r.left() + 3,
                              x1 = left ? r.left() + 3 : r.right() - 3;
                 tri.moveTo(x0, r.top() + 2);
                 tri.lineTo(x1, r.center().y());
                 tri.lineTo(x0, r.bottom() - 2);
                 tri.closeSubpath();
                 p.fillPath(tri, f == 0 ? kText : kRedBright);
             });
    }
    ok = ok && plain("lockset_sliderfill.png", 241, 9, [](QPainter& p) {
             QLinearGradient g(0, 0, 241, 0);
             g.setColorAt(0, QColor(0x60, 0, 0));
             g.setColorAt(1, kRedBright);
             p.fillRect(QRect(0, 0, 241, 9), g);
         });
    ok = ok && plain("lockset_slider.png", 9, 15, [](QPainter& p) {
             QLinearGradient g(0, 0, 9, 0);
             g.setColorAt(0, QColor(0xE8, 0xE8, 0xE8));
             g.setColorAt(1, QColor(0x80, 0x82, 0x86));
             p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
             p.setBrush(g);
             p.drawRoundedRect(QRectF(0.5, 0.5, 8, 14), 2, 2);
         });

    ok = ok && plain("voltagesetdlg_main.png", 366, 288, [](QPainter& p) {
             drawPanel(p, QRectF(0, 0, 366, 288), 12);
             drawVoltagePanelFace(p, g_family);
         });
    ok = ok && panelBackground("monitor_main.png", 379, 672, "Monitor", drawMonitorBays);
    ok = ok && save(gpuInfoBackground(g_family, [](QPainter& p, const QRectF& r) { drawPanel(p, r, 12); }),
                    "gpuinfo_main.png");
    ok = ok && button("gpuinfo_back.png", 102, 21, "Back") &&
         save(gpuListHead(217, 22), "gpuinfo_tessaril.png");
    ok = ok && plain("Browse1.png", 200, 120, [](QPainter& p) {
             drawPanel(p, QRectF(0, 0, 200, 120), 8);
             p.setFont(skinFont(12, true));
             p.setPen(kText);
             p.drawText(QRectF(0, 0, 200, 120), Qt::AlignCenter, "Vantrel.bmp");
         });
    ok = ok && plain("vantrel.png", 64, 64, [](QPainter& p) { drawIcon(p, 64); });
    return ok ? 0 : 1;
}
