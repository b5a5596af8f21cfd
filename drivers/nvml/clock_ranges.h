// Clock facts NVML gives under several names depending on card and driver age.
#pragma once

#include "bridge.h"

namespace nvml_bridge {

struct ClockRange {
    unsigned minMhz = 0, maxMhz = 0;
};

// The P0 range of a clock (GRAPHICS or MEM), else 0 to its maximum clock.
nvmlReturn_t p0Range(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, ClockRange& out);

// The base clock: the default application clock where the driver reports one, else the top of
// P0, which on most cards is the boost clock: an estimate that keeps offsets and targets consistent.
nvmlReturn_t baseClock(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, unsigned& mhz);

// NVML returns that mean "this driver does not have that call": an older or newer call for the
// same thing may answer instead.
bool isMissingCall(nvmlReturn_t r);

// Returns of a read that mean "this card or driver cannot", as opposed to a failing GPU.
bool isUnsupported(nvmlReturn_t r);

}  // namespace nvml_bridge
