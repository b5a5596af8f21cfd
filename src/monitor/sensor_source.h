// Reads one monitored quantity of the GPU in use through the GPU layer, in the
// unit the graphs and the log show. A failed read gives 0.
#pragma once

#include <cstdint>

namespace monitor {

int32_t readSensor(int32_t kind);

}  // namespace monitor
