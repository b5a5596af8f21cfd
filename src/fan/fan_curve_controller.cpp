#include "fan/fan_curve_controller.h"

#include <algorithm>

namespace fan {

int32_t clampFanLevel(int32_t level) {
    return std::clamp<int32_t>(level, 0, 100);
}

void FanCurveController::step() {
    int32_t out[3] = {0, 0, 0};
    if (m_io.readGpuTemperature(out) < 0) {
        if (m_failedTicks < kFailuresBeforeHandBack) ++m_failedTicks;
        // Keep trying until the driver has really taken the fan back.
        if (m_failedTicks >= kFailuresBeforeHandBack && !m_handedBack)
            m_handedBack = m_io.restoreFanDefault();
        return;
    }
    resetFailures();
    m_io.setFanLevel(clampFanLevel(levelForTemperature(m_curve, out[0])));
}

void FanCurveController::resetFailures() {
    m_failedTicks = 0;
    m_handedBack = false;
}

}  // namespace fan
