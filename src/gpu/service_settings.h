// What a command line that writes needs of the GPU in use: the ranges every value is checked
// against before the first write, and the service's kept settings (vantreld alone keeps them).
#pragma once

#include <cstdint>

#include "nvapi_contract.h"

namespace gpu {

// A closed range of whole units; known false where the card does not report it.
struct ValueRange {
    bool known = false;
    int32_t min = 0;
    int32_t max = 0;
    bool holds(int64_t v) const { return known && v >= min && v <= max; }
};

struct TuningRanges {
    ValueRange gpuOffsetMhz, memOffsetMhz;  // P0's graphics and memory clock deltas
    ValueRange powerPercent;                // the power policy's range
    ValueRange tempTargetC;                 // the thermal policy's range
    ValueRange fanPercent;                  // the coolers' own level range; unknown without fan control
    int32_t baseClockMhz[2] = {};           // {graphics, memory} without offset; 0 when unknown
    bool temperaturePriority = false;       // the priority flag the target runs with now
};

TuningRanges readTuningRanges();

// Keeps settings in the service for the GPU in use: the driver's status (NO_IMPLEMENTATION
// when no service answers, INVALID_ARGUMENT when it found a value outside the card's range).
int32_t keepSettings(const nvapi::KeptSettings& kept);
int32_t readServiceStatus(nvapi::ServiceStatus& status);

}  // namespace gpu
