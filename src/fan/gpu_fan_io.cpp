#include "fan/gpu_fan_io.h"

#include "gpu/readings.h"
#include "gpu/tuning.h"

namespace fan {

int32_t GpuFanIo::readGpuTemperature(int32_t out[3]) {
    return gpu::readGpuTemperature(std::span<int32_t, 3>(out, 3));
}
void GpuFanIo::setFanLevel(int32_t percent) {
    gpu::setFanLevel(percent);
}
bool GpuFanIo::restoreFanDefault() {
    return gpu::restoreFanDefault();
}

bool GpuFanIo::restoreEveryFan() {
    return gpu::restoreEveryFan();
}
bool GpuFanIo::fanControllable() {
    return gpu::fanControllable();
}

bool GpuFanIo::readFanRange(int32_t range[2]) {
    return gpu::readFanLevelRange(std::span<int32_t, 2>(range, 2));
}

}  // namespace fan
