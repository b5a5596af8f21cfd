#include "fan/fan_curve_controller.h"

#include <algorithm>

namespace fan {

int32_t clampFanLevel(int32_t level, int32_t lowest, int32_t highest) {
    lowest = std::clamp<int32_t>(lowest, 0, 100);
    highest = std::clamp<int32_t>(highest, 0, 100);
    if (lowest > highest) return std::clamp<int32_t>(level, 0, 100);  // a range that makes no sense
    return std::clamp<int32_t>(level, lowest, highest);
}

void FanCurveController::step() {
    if (!m_io.fanControllable()) return;
    int32_t out[3] = {0, 0, 0};
    if (m_io.readGpuTemperature(out) < 0) {
        if (m_failedTicks < kFailuresBeforeHandBack) ++m_failedTicks;
        // Keep trying until the driver has really taken the fan back.
        if (m_failedTicks >= kFailuresBeforeHandBack && !m_handedBack)
            m_handedBack = m_io.restoreFanDefault();
        return;
    }
    resetFailures();
    int32_t range[2] = {0, 100};
    if (!m_io.readFanRange(range)) range[0] = 0, range[1] = 100;
    m_io.setFanLevel(clampFanLevel(levelForTemperature(m_curve, out[0]), range[0], range[1]));
}

void FanCurveController::resetFailures() {
    m_failedTicks = 0;
    m_handedBack = false;
}

}  // namespace fan
