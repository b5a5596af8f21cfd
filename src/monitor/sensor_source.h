// Reads one monitored quantity of the GPU in use through the GPU layer, in the
// unit the graphs and the log show.
#pragma once

#include <cstdint>
#include <optional>

namespace monitor {

// Empty when the driver did not give the value (or the kind is unknown).
std::optional<int32_t> readSensorValue(int32_t kind);
// What the graphs and the log show: a failed read gives 0.
int32_t readSensor(int32_t kind);

}  // namespace monitor
