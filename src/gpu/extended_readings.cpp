#include "gpu/extended_readings.h"

#include <cstring>

#include "gpu/driver_structs.h"

namespace gpu {

using namespace detail;

namespace {

// The driver's text up to its first NUL or the end of the array, whichever comes
// first; nothing when it is empty.
template <std::size_t N>
std::optional<std::string> boundedText(const char (&text)[N]) {
    const std::size_t n = strnlen(text, N);
    if (n == 0) return std::nullopt;
    return std::string(text, n);
}

}  // namespace

IdentityValues identityValues(NvPhysicalGpuHandle gpu) {
    nvapi::GpuIdentity identity;
    if (nvCall<nvapi::ID_VT_GPU_GetIdentity>(gpu, &prepare(identity, nvapi::GPU_IDENTITY_VER)) != nvapi::OK)
        return {};
    return {boundedText(identity.uuid), boundedText(identity.pciBusId)};
}

PowerWattValues powerWattValues(NvPhysicalGpuHandle gpu) {
    nvapi::PowerWatts power;
    if (nvCall<nvapi::ID_VT_GPU_GetPowerWatts>(gpu, &prepare(power, nvapi::POWER_WATTS_VER)) != nvapi::OK)
        return {};
    auto watts = [&](uint32_t flag, uint32_t mw) {
        return power.flags & flag ? std::optional<double>(mw / 1000.0) : std::nullopt;
    };
    PowerWattValues values{watts(nvapi::POWER_WATTS_DRAW, power.drawMw),
                           watts(nvapi::POWER_WATTS_LIMIT, power.limitMw),
                           watts(nvapi::POWER_WATTS_DEFAULT, power.defaultMw), std::nullopt, std::nullopt};
    // A range upside down is no range.
    if (power.flags & nvapi::POWER_WATTS_RANGE && power.minMw <= power.maxMw) {
        values.minimumW = power.minMw / 1000.0;
        values.maximumW = power.maxMw / 1000.0;
    }
    return values;
}

}  // namespace gpu
