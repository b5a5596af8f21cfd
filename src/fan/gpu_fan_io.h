// The fan-curve controller's operations on the GPU in use, through the GPU layer.
#pragma once

#include "fan/fan_curve_controller.h"

namespace fan {

class GpuFanIo : public FanIo {
  public:
    int32_t readGpuTemperature(int32_t out[3]) override;
    void setFanLevel(int32_t percent) override;
    bool restoreFanDefault() override;
    bool restoreEveryFan() override;
    bool fanControllable() override;
    bool readFanRange(int32_t range[2]) override;
};

}  // namespace fan
