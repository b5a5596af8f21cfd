// Whether a new fan-curve level goes out: a hysteresis that keeps the fan from hunting while
// the temperature wanders around a curve step, and a least time between two changes.
#pragma once

#include <cstdint>

#include "fan/fan_curve.h"

namespace fan {

class FanLevelGate {
  public:
    // hysteresisC: how far the temperature must move from the last change before another;
    // stepPercent: a level farther than this from the last one goes out anyway (a fast rise);
    // minChangeMs: the least time between two changes.
    FanLevelGate(int32_t hysteresisC, int32_t stepPercent, int64_t minChangeMs)
        : m_hysteresis(hysteresisC), m_step(stepPercent), m_minChangeMs(minChangeMs) {}

    // True when level, the curve's level at temperature, is to be written at nowMs; it then
    // counts as the last change. The first level after reset() always goes out.
    bool pass(int32_t temperature, int32_t level, int64_t nowMs);
    void reset() { m_changed = false; }

  private:
    int32_t m_hysteresis;
    int32_t m_step;
    int64_t m_minChangeMs;
    bool m_changed = false;
    int32_t m_temperature = 0;
    int32_t m_level = 0;
    int64_t m_atMs = 0;
};

// The largest level difference between two neighbouring points: one step of the curve.
int32_t largestStep(const FanPoints& points);

}  // namespace fan
