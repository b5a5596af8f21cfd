// Clock offsets through whichever NVML interface the driver has: the per-P-state
// nvmlDevice{Get,Set}ClockOffsets of newer drivers, else the older VF-offset calls.
// Values are NVML's own: MHz for graphics, transfer-rate MHz for memory.
#pragma once

#include "nvml_library.h"

namespace nvml_bridge {

struct ClockOffset {
    int value = 0, min = 0, max = 0;
};

// type is nvml::CLOCK_GRAPHICS or nvml::CLOCK_MEM.
nvmlReturn_t readClockOffset(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, ClockOffset& out);
nvmlReturn_t writeClockOffset(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, int offset);

}  // namespace nvml_bridge
