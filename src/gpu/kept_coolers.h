// What the GPU layer remembers of each GPU's coolers, so that giving a fan back
// to the driver never depends on a read succeeding at that moment: the cooler
// table of the last successful read, whether the program set the fan to a fixed
// level, and whether the GPU has a fan the driver lets anyone control.
//
// The store is fixed-size and lock-free: the crash handler reads it. It is
// written from one thread (the program's); each GPU's table is double-buffered,
// so a reader interrupting a write still sees the previous complete table.
#pragma once

#include <cstdint>

#include "nvapi_contract.h"

namespace gpu::detail {

// Whether a cooler call's status says the GPU has no fan the driver lets
// anyone control (laptops, passively cooled boards).
constexpr bool meansNoFanControl(int32_t status) {
    return status == nvapi::NOT_SUPPORTED || status == nvapi::NO_IMPLEMENTATION;
}

// Records a successful cooler read of gpu; also learns that the GPU has a fan.
void keepCoolerTable(NvPhysicalGpuHandle gpu, const nvapi::CoolerSettings& table,
                     uint32_t versionNo) noexcept;
// The kept table of gpu; false when none was ever read.
bool keptCoolerTable(NvPhysicalGpuHandle gpu, nvapi::CoolerSettings& table, uint32_t& versionNo) noexcept;

// A cooler call of gpu answered status: not-supported statuses mark the GPU as
// one without fan control.
void noteCoolerStatus(NvPhysicalGpuHandle gpu, int32_t status) noexcept;
// False only once a cooler call of gpu answered "not supported" and none ever succeeded.
bool fanControllable(NvPhysicalGpuHandle gpu) noexcept;

// A fixed level was sent to gpu (whatever the driver answered) / the driver has it back.
void noteFanManual(NvPhysicalGpuHandle gpu, bool manual) noexcept;
bool fanManual(NvPhysicalGpuHandle gpu) noexcept;

// Calls f(handle) for every GPU whose fan is marked manual. Safe in a signal handler.
template <typename F>
void forEachManualFan(F f) noexcept;

// The driver is going away: its handles may mean other GPUs after the next load.
void forgetKeptCoolers() noexcept;

// The store itself, for forEachManualFan.
constexpr int kKeptGpus = nvapi::MAX_PHYSICAL_GPUS;
NvPhysicalGpuHandle keptHandle(int slot) noexcept;

template <typename F>
void forEachManualFan(F f) noexcept {
    for (int i = 0; i < kKeptGpus; ++i) {
        NvPhysicalGpuHandle h = keptHandle(i);
        if (h && fanManual(h)) f(h);
    }
}

}  // namespace gpu::detail
