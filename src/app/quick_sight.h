// The main window's two quick-sight readouts: which reading each choice shows
// and the gauge range that fits it.
#pragma once

#include <cstdint>

namespace app {

enum QuickSightChoice : int {
    kSightGpuClock = 0,
    kSightMemoryClock = 1,
    kSightFanSpeed = 2,
    kSightGpuLoad = 3,
    kSightPowerTarget = 4,
    kSightGpuVoltage = 5,
};

inline bool isQuickSightChoice(int choice) {
    return choice >= kSightGpuClock && choice <= kSightGpuVoltage;
}

// What a choice shows and its unit, for assistive technology (the caption is a
// source text of the "QuickSight" translations); empty for an unknown choice.
const char* quickSightCaption(int choice);
const char* quickSightUnit(int choice);

// Top of the gauge for a choice: MHz, percent or mV. 0 for an unknown choice.
int32_t quickSightRange(int choice);

// One reading of the GPU in use for a choice; 0 when the reading fails or the
// choice is unknown.
int32_t sampleQuickSight(int choice);

}  // namespace app
