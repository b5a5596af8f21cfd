// The ten monitored quantities, in the order shared by the settings elements,
// the graph assignment and the log columns.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace monitor {

enum SensorKind : int32_t {
    GPUClock = 0,
    MemoryClock,
    GPUTemperature,
    GPUUsage,
    MemoryUsage,
    GPUVoltage,
    FanSpeed,
    FanTachometer,
    PowerTarget,
    ShaderClock,
};
constexpr int kSensorCount = 10;
// A graph slot that holds no quantity (fewer than four active in the document).
constexpr int32_t kNoSensor = -1;

struct SensorInfo {
    const char* caption;    // graph caption
    const char* logHeader;  // header word of the log column
    int logColumn;          // first character of the log column
};

const SensorInfo& sensorInfo(int kind);
inline bool isSensorKind(int32_t kind) {
    return kind >= 0 && kind < kSensorCount;
}

// One value per quantity, indexed by SensorKind.
using SensorValues = std::array<int32_t, kSensorCount>;

}  // namespace monitor
