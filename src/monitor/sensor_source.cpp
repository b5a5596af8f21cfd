#include "monitor/sensor_source.h"

#include "gpu/gpu_context.h"
#include "gpu/readings.h"
#include "monitor/sensor_kind.h"

namespace monitor {

std::optional<int32_t> readSensorValue(int32_t kind) {
    switch (kind) {
        case GPUClock:
        case MemoryClock:
        case ShaderClock: {
            // The GPU the information panel chose, at the time of this read.
            const gpu::ClockValues clocks = gpu::clockValues(gpu::globalContext(), 0);
            return kind == GPUClock      ? clocks.gpuMhz
                   : kind == MemoryClock ? clocks.memoryMhz
                                         : clocks.shaderMhz;
        }
        case GPUTemperature:
            return gpu::temperatureValues().currentC;
        case GPUUsage:
            return gpu::usageValues().gpuPercent;
        case MemoryUsage: {
            const std::optional<int32_t> used = gpu::memoryValues().usedKb;
            return used ? std::optional<int32_t>(*used / 1024) : std::nullopt;
        }
        case GPUVoltage: {
            const std::optional<int32_t> current = gpu::voltageValues().currentUv;
            return current ? std::optional<int32_t>(*current / 1000) : std::nullopt;
        }
        case FanSpeed:
        case FanTachometer: {
            const gpu::FanValues fan = gpu::fanValues();
            return kind == FanSpeed ? fan.levelPercent : fan.rpm;
        }
        case PowerTarget:
            return gpu::powerValues().drawPercent;
        default:
            return std::nullopt;
    }
}

int32_t readSensor(int32_t kind) {
    return readSensorValue(kind).value_or(0);
}

}  // namespace monitor
