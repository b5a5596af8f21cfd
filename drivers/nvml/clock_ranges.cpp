#include "clock_ranges.h"

namespace nvml_bridge {

bool isMissingCall(nvmlReturn_t r) {
    return r == nvml::ERROR_NOT_SUPPORTED || r == nvml::ERROR_FUNCTION_NOT_FOUND ||
           r == nvml::ERROR_ARGUMENT_VERSION_MISMATCH || r == nvml::ERROR_DEPRECATED;
}

bool isUnsupported(nvmlReturn_t r) {
    return isMissingCall(r) || r == nvml::ERROR_INVALID_ARGUMENT;
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
    // The default application clock, asked for by clock id on current drivers, by the older
    // dedicated call otherwise. Consumer cards often answer neither, or 0.
    unsigned v = 0;
    nvmlReturn_t r = nvml::ERROR_FUNCTION_NOT_FOUND;
    if (f.getClock) r = f.getClock(dev, type, nvml::CLOCK_ID_APP_CLOCK_DEFAULT, &v);
    if (isUnsupported(r) && f.getDefaultApplicationsClock) r = f.getDefaultApplicationsClock(dev, type, &v);
    if (r == nvml::SUCCESS && v > 0) {
        mhz = v;
        return r;
    }
    if (r != nvml::SUCCESS && !isUnsupported(r)) return r;
    ClockRange range;
    r = p0Range(f, dev, type, range);
    if (r == nvml::SUCCESS) mhz = range.maxMhz;
    return r;
}

}  // namespace nvml_bridge
