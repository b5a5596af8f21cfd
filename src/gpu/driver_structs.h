// Helpers the GPU layer's operations share: the GPU in use, zeroed versioned
// structures, and the driver reads with their version fallbacks.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"

namespace gpu::detail {

inline NvPhysicalGpuHandle gpuInUse() {
    return globalContext().selectedHandle();
}

// Zero-fills s and sets its version word.
template <typename T>
T& prepare(T& s, uint32_t version) {
    std::memset(&s, 0, sizeof s);
    s.version = version;
    return s;
}

// A count the driver reports, bounded by the entries the structure holds.
inline int bounded(uint32_t count, int capacity) {
    return int(std::min<uint32_t>(count, uint32_t(capacity)));
}

// P-state 2.0 table: version 2, and version 1 when the driver answers -9.
inline int32_t readPstates20(NvPhysicalGpuHandle gpu, nvapi::Pstates20Info& info) {
    int32_t status = nvCall<nvapi::ID_GPU_GetPstates20>(gpu, &prepare(info, nvapi::PSTATES20_VER2));
    if (status == nvapi::INCOMPATIBLE_STRUCT_VERSION)
        status = nvCall<nvapi::ID_GPU_GetPstates20>(gpu, &prepare(info, nvapi::PSTATES20_VER1));
    return status;
}

// µV of the first voltage-status entry; 0 when the call fails.
inline uint32_t currentMicrovolts(NvPhysicalGpuHandle gpu) {
    nvapi::VoltageStatus status;
    if (nvCall<nvapi::ID_GPU_GetVoltageStatus>(gpu, &prepare(status, nvapi::VOLTAGE_STATUS_VER)) != nvapi::OK)
        return 0;
    return status.entry[0].microvolts;
}

// The P0 entry of a table, or null.
inline const nvapi::Pstates20Entry* findP0(const nvapi::Pstates20Info& info) {
    int n = bounded(info.numPstates, 16);
    for (int p = 0; p < n; ++p)
        if (info.pstates[p].pstateId == 0) return &info.pstates[p];
    return nullptr;
}

// Calls f for each base voltage entry of the first P0 entry, in order.
template <typename F>
void forEachP0BaseVoltage(const nvapi::Pstates20Info& info, F f) {
    const nvapi::Pstates20Entry* p0 = findP0(info);
    if (!p0) return;
    int n = bounded(info.numBaseVoltages, 4);
    for (int j = 0; j < n; ++j) f(p0->baseVoltages[j]);
}

// Signed sum of a voltage and its delta, as the 32-bit value the windows use.
inline int32_t addDelta(uint32_t microvolts, int32_t delta) {
    return int32_t(int64_t(microvolts) + delta);
}

}  // namespace gpu::detail
