#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace platform {

// Truncation toward zero as a C cast does, but defined for every float: NaN
// gives 0 and values beyond the int range saturate (hand-edited settings and
// slider arithmetic can produce both).
inline int truncateToInt(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0f) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return int(v);
}

}  // namespace platform
