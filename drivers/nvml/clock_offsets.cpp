#include "clock_offsets.h"

#include "clock_ranges.h"

namespace nvml_bridge {

nvmlReturn_t readClockOffset(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, ClockOffset& out) {
    nvmlReturn_t r = nvml::ERROR_FUNCTION_NOT_FOUND;
    if (f.getClockOffsets) {
        nvmlClockOffset_t o{nvml::CLOCK_OFFSET_V1, type, nvml::PSTATE_0, 0, 0, 0};
        r = f.getClockOffsets(dev, &o);
        if (r == nvml::SUCCESS) out = {o.clockOffsetMHz, o.minClockOffsetMHz, o.maxClockOffsetMHz};
        if (!isMissingCall(r)) return r;
    }
    const bool mem = type == nvml::CLOCK_MEM;
    const nvml::GetIntFn get = mem ? f.getMemClkVfOffset : f.getGpcClkVfOffset;
    const nvml::GetIntPairFn range = mem ? f.getMemClkMinMaxVfOffset : f.getGpcClkMinMaxVfOffset;
    if (!get) return r;
    ClockOffset o;
    r = get(dev, &o.value);
    if (r != nvml::SUCCESS) return r;
    if (range) {
        const nvmlReturn_t rr = range(dev, &o.min, &o.max);
        if (rr != nvml::SUCCESS && !isUnsupported(rr)) return rr;
        if (rr != nvml::SUCCESS || o.min > o.max) o.min = o.max = 0;
    }
    out = o;
    return nvml::SUCCESS;
}

nvmlReturn_t writeClockOffset(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, int offset) {
    nvmlReturn_t r = nvml::ERROR_FUNCTION_NOT_FOUND;
    if (f.setClockOffsets) {
        nvmlClockOffset_t o{nvml::CLOCK_OFFSET_V1, type, nvml::PSTATE_0, offset, 0, 0};
        r = f.setClockOffsets(dev, &o);
        // INVALID_ARGUMENT is the driver refusing the value: never retried by another path.
        if (!isMissingCall(r)) return r;
    }
    const nvml::SetIntFn set = type == nvml::CLOCK_MEM ? f.setMemClkVfOffset : f.setGpcClkVfOffset;
    return set ? set(dev, offset) : r;
}

}  // namespace nvml_bridge
