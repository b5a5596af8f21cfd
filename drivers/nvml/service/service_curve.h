// A kept fan curve the service runs itself on one GPU while no client holds its fans: the
// program's own curve arithmetic and fail-safe (three failed temperature reads hand the fan to
// the driver until a read succeeds), with a hysteresis and a least time between two changes.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "fan/fan_curve_controller.h"
#include "fan/fan_level_gate.h"
#include "nvapi_contract.h"

namespace vantreld {

class ServiceCurve {
  public:
    using Clock = std::chrono::steady_clock;

    ServiceCurve(unsigned position, const nvapi::KeptFanCurve& curve);

    // One tick: read, decide, maybe write. The next is due one period later.
    void tick(Clock::time_point now);
    Clock::time_point due() const { return due_; }
    // The next tick writes the curve's level whatever the last one was (a client held the fan).
    void restart(Clock::time_point now);

    int32_t lastTemperature() const { return io_.lastTemperature; }
    int32_t lastLevel() const { return io_.lastLevel; }

  private:
    // The controller's three operations on the bridge, the level passing through the gate.
    struct Io : fan::FanIo {
        Io(unsigned position, const nvapi::KeptFanCurve& curve);
        int32_t readGpuTemperature(int32_t out[3]) override;
        void setFanLevel(int32_t percent) override;
        bool restoreFanDefault() override;
        bool fanControllable() override;
        bool readFanRange(int32_t range[2]) override;

        unsigned position;
        fan::FanLevelGate gate;
        int64_t nowMs = 0;
        int32_t lastTemperature = -1;
        int32_t lastLevel = -1;
    };

    Io io_;
    fan::FanCurveController controller_;
    Clock::duration period_;
    Clock::time_point due_;
};

// The program's curve from the kept one.
fan::FanCurve fanCurveOf(const nvapi::KeptFanCurve& curve);

}  // namespace vantreld
