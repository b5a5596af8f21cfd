#include "fan/fan_curve.h"

#include <cmath>
#include <cstdlib>

#include "platform/truncate.h"

namespace fan {

using platform::truncateToInt;

namespace {

// Differences in 64 bits: the points come from a document anyone can edit.
float absDiff(int32_t a, int32_t b) {
    return static_cast<float>(std::llabs(int64_t(a) - int64_t(b)));
}
float diff(int32_t a, int32_t b) {
    return static_cast<float>(int64_t(a) - int64_t(b));
}

}  // namespace

int32_t steppedLevel(const FanPoints& p, int32_t t) {
    if (t < p[1].x) return p[0].y;
    // Where several points share a temperature the last of them decides, as the
    // editor's staircase shows: the earlier ones are only its vertical edge.
    for (int k = 1; k <= 6; ++k)
        if (p[k].x <= t && t < p[k + 1].x) return p[k].y;
    // Only t >= x7 gets here: a run of points that starts at or below t and ends
    // above it always holds a step that brackets t, whatever their order.
    return p[7].y;
}

int32_t interpolatedLevel(const FanPoints& p, int32_t t) {
    if (t <= p[0].x) return p[1].x == p[0].x ? p[1].y : p[0].y;
    for (int k = 0; k <= 6; ++k) {
        const FanPoint& a = p[k];
        const FanPoint& b = p[k + 1];
        if (!(a.x < t && t <= b.x)) continue;
        // The next two points share a temperature: the curve jumps straight up
        // (or down) there, and the whole segment takes the level after the jump.
        if (k <= 5 && p[k + 1].x == p[k + 2].x) return p[k + 2].y;
        const float slope = absDiff(b.y, a.y) / absDiff(b.x, a.x);
        const float level = a.y < b.y ? diff(t, a.x) * slope + static_cast<float>(a.y)
                                      : diff(b.x, t) * slope + static_cast<float>(b.y);
        return truncateToInt(level);
    }
    return p[7].y;
}

int32_t levelForTemperature(const FanCurve& curve, int32_t t) {
    if (curve.stepped()) return steppedLevel(curve.points, t);
    return interpolatedLevel(curve.points, t);
}

}  // namespace fan
