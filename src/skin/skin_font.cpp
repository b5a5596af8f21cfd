#include "skin/skin_font.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <map>

#include "platform/program_file.h"
#include "skin/text_cache.h"

namespace skin {
namespace {
int g_fontId = -1;
QString g_family;
// The file's own face: its family name alone may match another face of the
// family installed on the system (the regular one beside a condensed file).
QString g_style;
// One font object per size: a painter handed the font it already resolved skips
// resolving it again, which counts at every paint. Emptied when the family changes.
std::map<double, QFont> g_fonts;
bool g_dropRegistered = false;
int g_generation = 0;

// Fonts must not outlive the application's font cache.
void dropFonts() {
    g_fonts.clear();
    g_dropRegistered = false;
}
}  // namespace

bool loadSkinFont(const QString& path) {
    if (g_fontId >= 0) return true;
    const QString file = platform::programFile(path);
    const int id = QFontDatabase::addApplicationFont(file);
    if (id < 0) return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        QFontDatabase::removeApplicationFont(id);
        return false;
    }
    g_fontId = id;
    g_family = families.first();
    g_style = QRawFont(file, 12).styleName();
    g_fonts.clear();
    ++g_generation;
    return true;
}

void unloadSkinFont() {
    if (g_fontId < 0) return;
    QFontDatabase::removeApplicationFont(g_fontId);
    g_fontId = -1;
    g_family.clear();
    g_style.clear();
    g_fonts.clear();
    ++g_generation;
}

int skinFontGeneration() {
    return g_generation;
}

QString skinFontFamily() {
    return g_fontId >= 0 ? g_family : QStringLiteral("sans-serif");
}

QFont skinFont(double points) {
    if (!(points > 0)) points = 1;
    auto it = g_fonts.find(points);
    if (it != g_fonts.end()) return it->second;
    QFont font(skinFontFamily());
    if (g_fontId < 0) font.setStyleHint(QFont::SansSerif);
    if (g_fontId >= 0 && !g_style.isEmpty()) font.setStyleName(g_style);
    font.setPointSizeF(points);
    if (g_fonts.size() >= 64) g_fonts.clear();  // sizes computed at run time must not pile up
    if (!g_dropRegistered) {
        qAddPostRoutine(dropFonts);
        g_dropRegistered = true;
    }
    return g_fonts.emplace(points, font).first->second;
}

namespace {

int horizontalFlag(int align) {
    switch (align) {
        case AlignNear:
            return Qt::AlignLeft;
        case AlignFar:
            return Qt::AlignRight;
        default:
            return Qt::AlignHCenter;
    }
}

// What the skin's windows are composed at.
const QPaintDevice* skinDevice() {
    static const QImage probe = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return &probe;
}

int skinTextFlags(int align) {
    return Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextDontClip | horizontalFlag(align);
}

}  // namespace

void drawSkinText(QPainter* painter, const QRectF& box, const QString& text, double points, QRgb argb,
                  int align) {
    if (text.isEmpty()) return;
    drawText(painter, box, skinTextFlags(align), text, points, argb);
}

TextPlace placeSkinText(const QRectF& box, const QString& text, double points, QRgb argb, int align) {
    return placeText(box, skinTextFlags(align), text, points, argb, skinDevice()->logicalDpiY());
}

void drawSkinLine(QPainter* painter, const QRectF& box, const QString& text, double points, QRgb argb,
                  int align) {
    if (text.isEmpty()) return;
    const QPaintDevice* device = painter->device() ? painter->device() : skinDevice();
    const QString shown =
        QFontMetricsF(skinFont(points), device).elidedText(text, Qt::ElideRight, box.width());
    drawText(painter, box, Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip | horizontalFlag(align),
             shown, points, argb);
}

bool fitsSkinLine(const QString& text, double points, double width) {
    return QFontMetricsF(skinFont(points), skinDevice()).elidedText(text, Qt::ElideRight, width) == text;
}

}  // namespace skin
