#include "skin/skin_font.h"

#include <QFontDatabase>
#include <QPainter>

namespace skin {
namespace {
int g_fontId = -1;
QString g_family;
}  // namespace

bool loadSkinFont(const QString& path) {
    if (g_fontId >= 0) return true;
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0) return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        QFontDatabase::removeApplicationFont(id);
        return false;
    }
    g_fontId = id;
    g_family = families.first();
    return true;
}

void unloadSkinFont() {
    if (g_fontId < 0) return;
    QFontDatabase::removeApplicationFont(g_fontId);
    g_fontId = -1;
    g_family.clear();
}

QString skinFontFamily() {
    return g_fontId >= 0 ? g_family : QStringLiteral("sans-serif");
}

QFont skinFont(double points) {
    QFont font(skinFontFamily());
    if (g_fontId < 0) font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points > 0 ? points : 1);
    return font;
}

void drawSkinText(QPainter* painter, const QRectF& box, const QString& text, double points, QRgb argb,
                  int align) {
    if (text.isEmpty()) return;
    int flags = Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextDontClip;
    switch (align) {
        case AlignNear:
            flags |= Qt::AlignLeft;
            break;
        case AlignFar:
            flags |= Qt::AlignRight;
            break;
        default:
            flags |= Qt::AlignHCenter;
            break;
    }
    painter->setFont(skinFont(points));
    painter->setPen(QColor::fromRgba(argb));
    painter->drawText(box, flags, text);
}

}  // namespace skin
