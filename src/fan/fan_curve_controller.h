// One fan-curve step: read the GPU temperature, write the curve's level.
#pragma once

#include <cstdint>

#include "fan/fan_curve.h"

namespace fan {

// The three GPU operations the controller needs, so it runs without a card in tests.
class FanIo {
  public:
    virtual ~FanIo() = default;
    // Current GPU temperature in out[0]; negative result on failure.
    virtual int32_t readGpuTemperature(int32_t out[3]) = 0;
    virtual void setFanLevel(int32_t percent) = 0;
    virtual bool restoreFanDefault() = 0;
    // At the program's end: every fan the program set, not only the GPU in use.
    virtual bool restoreEveryFan() { return restoreFanDefault(); }
    // False for a GPU whose coolers the driver does not let anyone set.
    virtual bool fanControllable() { return true; }
    // The coolers' own level range {default minimum, default maximum} in percent;
    // false when it cannot be read.
    virtual bool readFanRange(int32_t range[2]) {
        (void)range;
        return false;
    }
};

class FanCurveController {
  public:
    // Failed reads in a row after which the fan goes back to the driver.
    static constexpr int kFailuresBeforeHandBack = 3;

    explicit FanCurveController(FanIo& io) : m_io(io) {}

    void setCurve(const FanCurve& curve) { m_curve = curve; }
    const FanCurve& curve() const { return m_curve; }

    // FanCurveStep: writes the level, within the coolers' range, on every tick,
    // changed or not; nothing on a GPU without fan control. A tick whose
    // read fails writes nothing; after three in a row the driver gets the fan
    // back until a read succeeds again.
    void step();

    // Forgets earlier failures (the curve is being started afresh).
    void resetFailures();

    int failedTicks() const { return m_failedTicks; }
    bool handedBack() const { return m_handedBack; }

  private:
    FanIo& m_io;
    FanCurve m_curve;
    int m_failedTicks = 0;
    bool m_handedBack = false;
};

// Fan levels are percentages within the coolers' range (when known); a
// hand-edited curve must not send anything else to the card.
int32_t clampFanLevel(int32_t level, int32_t lowest = 0, int32_t highest = 100);

}  // namespace fan
