#include "fan/fan_level_gate.h"

#include <algorithm>
#include <cstdlib>

namespace fan {

bool FanLevelGate::pass(int32_t temperature, int32_t level, int64_t nowMs) {
    if (m_changed) {
        if (level == m_level || nowMs - m_atMs < m_minChangeMs) return false;
        const bool moved = std::llabs(int64_t(temperature) - m_temperature) > m_hysteresis;
        const bool farAway = std::llabs(int64_t(level) - m_level) > m_step;
        if (!moved && !farAway) return false;
    }
    m_changed = true;
    m_temperature = temperature;
    m_level = level;
    m_atMs = nowMs;
    return true;
}

int32_t largestStep(const FanPoints& points) {
    int64_t step = 0;
    for (int k = 0; k + 1 < kFanPointCount; ++k)
        step = std::max<int64_t>(step, std::llabs(int64_t(points[k + 1].y) - points[k].y));
    return int32_t(std::min<int64_t>(step, 100));
}

}  // namespace fan
