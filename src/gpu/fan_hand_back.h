// Handing the fan back to the driver: the cooler settings are read with the same
// version fallback as the readings (the last table kept when the read fails), and
// every cooler listed gets its own default level and policy. The steps take the two driver calls as
// arguments, so the ordinary path and the crash path (fixed function pointers, no resolution) share them.
#pragma once

#include <cstdint>

#include "gpu/kept_coolers.h"
#include "nvapi_contract.h"

namespace gpu::detail {

// Cooler settings: version 3, then 1, then 2 while the driver answers -9.
// versionNo receives the version of the last attempt.
template <typename Read>
int32_t readCoolerSettings(Read read, nvapi::CoolerSettings& coolers, uint32_t& versionNo) {
    int32_t status = nvapi::INCOMPATIBLE_STRUCT_VERSION;
    const uint32_t versions[] = {nvapi::COOLER_SETTINGS_VER3, nvapi::COOLER_SETTINGS_VER1,
                                 nvapi::COOLER_SETTINGS_VER2};
    for (uint32_t version : versions) {
        versionNo = nvapi::versionNumber(version);
        for (uint32_t& w : coolers.words) w = 0;
        coolers.version = version;
        coolers.count = 0;
        status = read(nvapi::COOLER_TARGET_ALL, &coolers);
        if (status != nvapi::INCOMPATIBLE_STRUCT_VERSION) break;
    }
    return status;
}

// The level and policy that give cooler i back to the driver: its default level
// and default policy. A default level outside 0..100 is unknown and a default
// policy of a fixed level is no hand-back, so those become level 0 with the
// driver's policy (the bridge turns any non-fixed policy into NVML's restore call).
inline nvapi::CoolerLevel driverControlOf(const nvapi::CoolerSettings& coolers, uint32_t versionNo, int i) {
    const uint32_t level = nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_DEFAULT_MIN_LEVEL);
    const uint32_t policy = nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_DEFAULT_POLICY);
    if (level > 100 || policy == nvapi::COOLER_POLICY_MANUAL) return {0, nvapi::COOLER_POLICY_DRIVER};
    return {level, policy};
}

// Without any cooler table: the driver's policy at level 0, for all coolers,
// else the first cooler's usual target.
template <typename Write>
int32_t writeDriverControlBlind(Write write) {
    nvapi::CoolerLevels levels = {};
    levels.version = nvapi::COOLER_LEVELS_VER;
    levels.cooler[0] = {0, nvapi::COOLER_POLICY_DRIVER};
    const int32_t status = write(nvapi::COOLER_TARGET_ALL, &levels);
    if (status == nvapi::OK || meansNoFanControl(status)) return status;
    return write(nvapi::COOLER_TARGET_FIRST, &levels);
}

// Entry i of the write carries cooler i's default level and default policy,
// from a fresh read of the cooler settings or, when that read fails, from the
// GPU's last successful one. The write goes to all coolers at once; when the
// driver refuses that, each cooler is tried on its own target. No allocation,
// no locks, no output.
template <typename Read, typename Write>
int32_t handFanBack(NvPhysicalGpuHandle gpu, Read read, Write write) {
    nvapi::CoolerSettings coolers;
    uint32_t versionNo = 3;
    int32_t status = readCoolerSettings(read, coolers, versionNo);
    noteCoolerStatus(gpu, status);
    if (status == nvapi::OK)
        keepCoolerTable(gpu, coolers, versionNo);
    else if (!keptCoolerTable(gpu, coolers, versionNo))
        return meansNoFanControl(status) ? status : writeDriverControlBlind(write);
    const int n = int(coolers.count < uint32_t(nvapi::coolerMaxEntries(versionNo))
                          ? coolers.count
                          : nvapi::coolerMaxEntries(versionNo));
    if (n < 1) return writeDriverControlBlind(write);

    nvapi::CoolerLevels levels = {};
    levels.version = nvapi::COOLER_LEVELS_VER;
    for (int i = 0; i < n; ++i) levels.cooler[i] = driverControlOf(coolers, versionNo, i);
    status = write(nvapi::COOLER_TARGET_ALL, &levels);
    if (status == nvapi::OK || meansNoFanControl(status)) return status;

    int32_t worst = nvapi::OK;
    for (int i = 0; i < n; ++i) {
        nvapi::CoolerLevels one = {};
        one.version = nvapi::COOLER_LEVELS_VER;
        one.cooler[0] = levels.cooler[i];
        const int32_t s = write(nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_TARGET), &one);
        if (s != nvapi::OK) worst = s;
    }
    return worst;
}

}  // namespace gpu::detail
