// The contrast ratio of two opaque colours, as readability guidelines define it:
// (lighter luminance + 0.05) / (darker luminance + 0.05), from 1 to 21.
#pragma once

#include <QRgb>
#include <algorithm>
#include <cmath>

namespace testsupport {

inline double relativeLuminance(QRgb c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

inline double contrastRatio(QRgb a, QRgb b) {
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace testsupport
