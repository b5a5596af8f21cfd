// Clock offsets through whichever NVML interface the driver has: the per-P-state
// nvmlDevice{Get,Set}ClockOffsets of newer drivers, else the older VF-offset calls.
// Values are NVML's own: MHz for graphics, transfer-rate MHz for memory.
#pragma once

#include "nvml_library.h"

namespace nvml_bridge {

// The current offset and the range the card allows; a range the driver cannot report is 0..0.
struct ClockOffset {
    int value = 0, min = 0, max = 0;
};

// type is nvml::CLOCK_GRAPHICS or nvml::CLOCK_MEM. The older calls are tried only when the newer
// one is absent or this driver does not have it (isMissingCall); any other answer stands.
nvmlReturn_t readClockOffset(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, ClockOffset& out);
// Writes without checking: callers check the offset against readClockOffset's range first.
nvmlReturn_t writeClockOffset(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, int offset);

}  // namespace nvml_bridge
