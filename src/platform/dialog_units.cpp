#include "platform/dialog_units.h"

#include <QFontMetrics>
#include <cmath>

namespace platform {
namespace {
int mulDiv(int value, int numerator, int denominator) {
    return int(std::lround(double(value) * numerator / denominator));
}
}  // namespace

QRect dialogUnitsToPixels(const QFont& font, int x, int y, int width, int height) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (letters / 26 + 1) / 2;
    const int baseY = metrics.height();
    return QRect(mulDiv(x, baseX, 4), mulDiv(y, baseY, 8), mulDiv(width, baseX, 4), mulDiv(height, baseY, 8));
}

}  // namespace platform
