#include "gpu/service_settings.h"

#include <array>

#include "gpu/driver_structs.h"
#include "gpu/readings.h"
#include "gpu/tuning.h"

namespace gpu {

using namespace detail;

namespace {

ValueRange deltaRange(const nvapi::Pstates20Entry& p0, int clocks, int domain) {
    for (int c = 0; c < clocks; ++c) {
        const nvapi::Pstates20Clock& clock = p0.clocks[c];
        if (int(clock.domainId) != domain) continue;
        // Whole MHz inside the kHz range: a value in range in MHz is in range in kHz.
        const int32_t lo = clock.freqDelta_kHz.min / 1000 + (clock.freqDelta_kHz.min % 1000 > 0 ? 1 : 0);
        const int32_t hi = clock.freqDelta_kHz.max / 1000 - (clock.freqDelta_kHz.max % 1000 < 0 ? 1 : 0);
        return {lo <= hi, lo, hi};
    }
    return {};
}

}  // namespace

TuningRanges readTuningRanges() {
    TuningRanges r;
    const NvPhysicalGpuHandle gpu = gpuInUse();
    nvapi::Pstates20Info table;
    if (readPstates20(gpu, table) == nvapi::OK) {
        if (const nvapi::Pstates20Entry* p0 = findP0(table)) {
            const int clocks = bounded(table.numClocks, 8);
            r.gpuOffsetMhz = deltaRange(*p0, clocks, nvapi::CLOCK_DOMAIN_GRAPHICS);
            r.memOffsetMhz = deltaRange(*p0, clocks, nvapi::CLOCK_DOMAIN_MEMORY);
        }
    }
    nvapi::PowerPolicyInfo power;
    if (nvCall<nvapi::ID_GPU_PowerPoliciesGetInfo>(gpu, &prepare(power, nvapi::POWER_POLICY_INFO_VER)) ==
            nvapi::OK &&
        power.valid) {
        for (int i = 0; i < bounded(power.count, 4); ++i) {
            const nvapi::PowerPolicyInfoEntry& e = power.entry[i];
            if (e.policyId != 0) continue;
            // Whole percent within the thousandths the policy takes.
            r.powerPercent = {true, int32_t((e.minPower + 999) / 1000), int32_t(e.maxPower / 1000)};
            r.powerPercent.known = r.powerPercent.min <= r.powerPercent.max;
        }
    }
    std::array<int32_t, 5> thermal{};
    if (readThermalPolicy(thermal)) {
        r.tempTargetC = {true, thermal[0], thermal[2]};
        r.temperaturePriority = thermal[4] != 0;
    }
    std::array<int32_t, 2> fan{};
    if (fanControllable())
        r.fanPercent = readFanLevelRange(fan) ? ValueRange{true, fan[0], fan[1]} : ValueRange{true, 0, 100};
    std::array<int32_t, 3> base{};
    if (readClocks(globalContext(), base, 1)) r.baseClockMhz[0] = base[0], r.baseClockMhz[1] = base[1];
    return r;
}

int32_t keepSettings(const nvapi::KeptSettings& kept) {
    nvapi::KeptSettings copy = kept;
    copy.version = nvapi::KEPT_SETTINGS_VER;
    return nvCall<nvapi::ID_VT_GPU_KeepSettings>(gpuInUse(), &copy);
}

int32_t readServiceStatus(nvapi::ServiceStatus& status) {
    return nvCall<nvapi::ID_VT_GPU_GetServiceStatus>(gpuInUse(), &prepare(status, nvapi::SERVICE_STATUS_VER));
}

}  // namespace gpu
