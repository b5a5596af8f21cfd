// Tuning operations on the GPU in use: clock offsets and voltages through the
// P-state 2.0 table, power and temperature targets through the policies, the fan
// level through the coolers. Refusals are a false result plus one diagnostic
// line on the diagnostic stream; nothing throws or shows a message box.
#pragma once

#include <cstdint>
#include <span>

#include "gpu/gpu_context.h"

namespace gpu {

// Prints the P-state table of the context's GPU and fills out: deltas = false
// gives {effective GPU clock MHz, memory clock MHz}, deltas = true the delta
// maxima of the first two clocks in MHz. False when the table cannot be read.
bool readPstateClocks(std::span<int32_t, 2> out, const GpuContext& context, bool deltas);

// The offsets P0's graphics and memory clocks run with now, in MHz: {graphics, memory}.
// False when the table cannot be read or P0 lists neither clock.
bool readClockOffsets(std::span<int32_t, 2> out);

bool setGpuClockOffset(int32_t mhz);
bool setMemoryClockOffset(int32_t mhz);
bool setCoreVoltageOffset(int32_t microvolts);

// out = {lowest µV, highest µV, base µV, |delta minimum| µV, current µV}.
bool readVoltageRange(std::span<int32_t, 5> out);

bool setOverVoltage(int32_t microvolts);
// out = {delta minimum, delta maximum, delta value} µV of the over-voltage entry.
bool readOverVoltage(std::span<int32_t, 3> out);

// Refused (nothing written) outside the power policy's range.
bool setPowerTarget(uint32_t percent);

// out = {minimum °C, default °C, maximum °C, current target °C, priority flag}.
bool readThermalPolicy(std::span<int32_t, 5> out);
// Refused (nothing written) outside the thermal policy's range.
bool setTemperatureTarget(float celsius, bool flag);
void clearTemperaturePriority();

// Partner values of the linked power and temperature targets; nothing written.
// out = {percent, °C}.
bool temperatureForPowerTarget(float percent, std::span<float, 2> out);
bool powerForTemperatureTarget(float celsius, float currentPercent, std::span<float, 2> out);

// A level in percent with the fixed-level policy; a negative level hands the fan
// back to the driver's control.
// Nothing is written to a GPU without fan control.
void setFanLevel(int32_t level);
// True also when the GPU has no fan to give back. Needs no successful read.
bool restoreFanDefault();
// Every fan the program set to a fixed level, and the GPU in use, back to the
// driver, each outcome printed; true when every hand-back was taken.
bool restoreEveryFan();
// False once the GPU in use answered "not supported" to its cooler calls.
bool fanControllable();
// Clock deltas 0, default power, driver fan control. True when the fan write succeeded.
bool restoreDefaultTuning();

}  // namespace gpu
