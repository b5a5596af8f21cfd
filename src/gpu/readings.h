// Read-only sensor operations on the GPU in use. Each builds its driver
// structures on the stack, makes one to four driver calls and returns; nothing
// is cached. Callers zero the output array; a failing reading leaves it as it
// was unless said otherwise. No reading allocates on its success path.
#pragma once

#include <cstdint>
#include <span>

#include "gpu/gpu_context.h"

namespace gpu {

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

// The fan tachometer of the GPU in use; false (rpm untouched) when the driver
// does not give it.
bool readTachometer(int32_t& rpm);

// out = {lowest, highest} level % that every listed cooler takes (the largest
// default minimum, the smallest default maximum). Silent: no box, no output.
bool readFanLevelRange(std::span<int32_t, 2> out);

// out = {minimum %, maximum %, default %, current limit %, current draw %} of
// the board's default power. Writes progress lines on standard output.
bool readPowerStatus(std::span<int32_t, 5> out);

}  // namespace gpu
