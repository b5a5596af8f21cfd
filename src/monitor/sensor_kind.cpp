#include "monitor/sensor_kind.h"

namespace monitor {

const SensorInfo& sensorInfo(int kind) {
    static constexpr std::array<SensorInfo, kSensorCount> kInfo = {{
        {"GPUClock", "GPU Clock,MHz", "GPU clock", 20},
        {"MemoryClock", "Memory Clock,MHz", "Memory clock", 37},
        {"GPUTemperature", "GPU Temperature,C", "GPU temperature", 57},
        {"GPUUsage", "GPU Usage,%", "GPU usage", 80},
        {"MemoryUsage", "Memory Usage,MB", "Memory usage", 97},
        {"GPUVoltage", "GPU Voltage,mV", "GPU voltage", 117},
        {"FanSpeed", "Fan Speed,%", "Fan speed", 136},
        {"FanTachometer", "Fan Tachometer,RPM", "Fan tachometer", 153},
        {"PowerTarget", "Power Target,%", "PowerTarget", 175},
        {"ShaderClock", "Shader Clock,MHz", "Shader clock", 194},
    }};
    return kInfo[size_t(isSensorKind(kind) ? kind : 0)];
}

}  // namespace monitor
