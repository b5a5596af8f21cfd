#include "monitor/sensor_kind.h"

namespace monitor {

const SensorInfo& sensorInfo(int kind) {
    static constexpr std::array<SensorInfo, kSensorCount> kInfo = {{
        {"GPU Clock,MHz", "GPU clock", 20},
        {"Memory Clock,MHz", "Memory clock", 37},
        {"GPU Temperature,C", "GPU temperature", 57},
        {"GPU Usage,%", "GPU usage", 80},
        {"Memory Usage,MB", "Memory usage", 97},
        {"GPU Voltage,mV", "GPU voltage", 117},
        {"Fan Speed,%", "Fan speed", 136},
        {"Fan Tachometer,RPM", "Fan tachometer", 153},
        {"Power Target,%", "PowerTarget", 175},
        {"Shader Clock,MHz", "Shader clock", 194},
    }};
    return kInfo[size_t(isSensorKind(kind) ? kind : 0)];
}

}  // namespace monitor
