#include "clock_ranges.h"

namespace nvml_bridge {

bool isUnsupported(nvmlReturn_t r) {
    return r == nvml::ERROR_NOT_SUPPORTED || r == nvml::ERROR_FUNCTION_NOT_FOUND ||
           r == nvml::ERROR_ARGUMENT_VERSION_MISMATCH || r == nvml::ERROR_DEPRECATED ||
           r == nvml::ERROR_INVALID_ARGUMENT;
}

nvmlReturn_t p0Range(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, ClockRange& out) {
    nvmlReturn_t r = nvml::ERROR_FUNCTION_NOT_FOUND;
    if (f.getMinMaxClockOfPState) {
        r = f.getMinMaxClockOfPState(dev, type, nvml::PSTATE_0, &out.minMhz, &out.maxMhz);
        if (r == nvml::SUCCESS || !isUnsupported(r)) return r;
    }
    if (!f.getMaxClockInfo) return r;
    out.minMhz = 0;
    return f.getMaxClockInfo(dev, type, &out.maxMhz);
}

nvmlReturn_t baseClock(const nvml::Functions& f, nvmlDevice_t dev, unsigned type, unsigned& mhz) {
    if (f.getDefaultApplicationsClock) {
        const nvmlReturn_t r = f.getDefaultApplicationsClock(dev, type, &mhz);
        if (r == nvml::SUCCESS || !isUnsupported(r)) return r;
    }
    ClockRange range;
    const nvmlReturn_t r = p0Range(f, dev, type, range);
    mhz = range.maxMhz;
    return r;
}

}  // namespace nvml_bridge
