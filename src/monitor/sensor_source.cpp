#include "monitor/sensor_source.h"

#include "gpu/gpu_context.h"
#include "gpu/readings.h"
#include "monitor/sensor_kind.h"

namespace monitor {

int32_t readSensor(int32_t kind) {
    switch (kind) {
        case GPUClock:
        case MemoryClock:
        case ShaderClock: {
            int32_t clocks[3] = {};
            // The GPU the information panel chose, at the time of this read.
            gpu::readClocks(gpu::globalContext(), clocks, 0);
            return clocks[kind == GPUClock ? 0 : kind == MemoryClock ? 1 : 2];
        }
        case GPUTemperature: {
            int32_t temperature[3] = {};
            gpu::readGpuTemperature(temperature);
            return temperature[0];
        }
        case GPUUsage: {
            int32_t usage[2] = {};
            gpu::readGpuUsage(usage);
            return usage[0];
        }
        case MemoryUsage: {
            int32_t memory[3] = {};
            gpu::readMemoryUsage(memory);
            return memory[0] / 1024;
        }
        case GPUVoltage: {
            int32_t voltage[4] = {};
            gpu::readVoltage(voltage);
            return voltage[3] / 1000;
        }
        case FanSpeed:
        case FanTachometer: {
            int32_t fan[4] = {};
            gpu::readFanStatus(fan);
            return fan[kind == FanSpeed ? 2 : 3];
        }
        case PowerTarget: {
            int32_t power[5] = {};
            gpu::readPowerStatus(power);
            return power[4];
        }
        default:
            return 0;
    }
}

}  // namespace monitor
