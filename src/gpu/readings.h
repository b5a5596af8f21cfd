// Read-only sensor operations on the GPU in use. Each builds its driver
// structures on the stack, makes one to four driver calls and returns; nothing
// is cached. No reading allocates on its success path.
//
// Two forms: the *Values functions give each value with its own validity (an
// empty optional is a value the driver did not give); the read* functions fill
// a caller-zeroed array, leave what failed as it was unless said otherwise and
// return one success flag, which is what the windows show.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "gpu/gpu_context.h"

namespace gpu {

struct TemperatureValues {
    std::optional<int32_t> currentC, defaultMinC, defaultMaxC;
};
struct ClockValues {
    std::optional<int32_t> gpuMhz, memoryMhz, shaderMhz;
};
struct UsageValues {
    std::optional<int32_t> gpuPercent, frameBufferPercent;
};
struct MemoryValues {
    std::optional<int32_t> usedKb, freeKb, totalKb;
};
struct VoltageValues {
    std::optional<int32_t> baseUv, lowestUv, highestUv, currentUv;
};
struct FanValues {
    std::optional<int32_t> lowestPercent, highestPercent, levelPercent, rpm;
    std::optional<bool> driverControlled;  // no listed cooler on a fixed (manual) level
};
// Percent of the board's default power.
struct PowerValues {
    std::optional<int32_t> minimumPercent, maximumPercent, defaultPercent, limitPercent, drawPercent;
};

// result, when given, is what readGpuTemperature returns.
TemperatureValues temperatureValues(int32_t* result = nullptr);
ClockValues clockValues(const GpuContext& context, int clockType);
UsageValues usageValues();
MemoryValues memoryValues();
VoltageValues voltageValues();
// Shows the cooler-read boxes as readFanStatus does.
FanValues fanValues();
PowerValues powerValues();

// out = {current °C, default minimum, default maximum} of the GPU sensor.
// Returns the current temperature, a negative driver status, or -1 (GPUs not
// enumerable, or no sensor with the GPU target).
int32_t readGpuTemperature(std::span<int32_t, 3> out);

// out = {graphics MHz, memory MHz, processor (shader) MHz} of the GPU at the
// context's selectedIndex. clockType: 0 current, 1 base.
bool readClocks(const GpuContext& context, std::span<int32_t, 3> out, int clockType);

// out = {GPU usage %, frame-buffer usage %}; true when either is reported.
bool readGpuUsage(std::span<int32_t, 2> out);

// out = {used KB, free KB, total KB} of the driver's default GPU (handle 0),
// whichever GPU is selected.
bool readMemoryUsage(std::span<int32_t, 3> out);

// out = {base µV, lowest µV, highest µV, current µV}.
bool readVoltage(std::span<int32_t, 4> out);

// out = {lowest level %, highest level %, current level %, speed RPM}. out[3] is
// written whatever happens; cooler errors are shown in message boxes.
bool readFanStatus(std::span<int32_t, 4> out);

// out = {lowest, highest} level % that every listed cooler takes (the largest
// default minimum, the smallest default maximum). Silent: no box, no output.
bool readFanLevelRange(std::span<int32_t, 2> out);

// out = {minimum %, maximum %, default %, current limit %, current draw %} of
// the board's default power. Writes progress lines on the diagnostic stream.
bool readPowerStatus(std::span<int32_t, 5> out);

}  // namespace gpu
