// This program's own interfaces: the GPU's identity and its power in watts.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "api.h"
#include "api_util.h"

namespace sim::api {
namespace {

// Thousandths of a percent of the default power, in milliwatts.
uint32_t milliwatts(uint32_t thousandths, double defaultW) {
    const double mw = std::round(double(thousandths) * defaultW / 100.0);
    return uint32_t(std::clamp(mw, 0.0, 4294967295.0));
}

}  // namespace

int32_t getIdentity(NvPhysicalGpuHandle handle, GpuIdentity* identity) {
    SimGpu* gpu = nullptr;
    int index = -1;
    if (int32_t status = enterGpuCall(ID_VT_GPU_GetIdentity, handle, gpu, index)) return status;
    if (!identity) return INVALID_ARGUMENT;
    if (int32_t status = checkVersion(ID_VT_GPU_GetIdentity, index, identity->version)) return status;
    GpuIdentity out{};
    out.version = identity->version;
    const GpuDesc& g = gpu->desc();
    if (g.uuid.empty())
        std::snprintf(out.uuid, sizeof out.uuid, "GPU-5a1d0c4e-0000-4000-8000-%012x", unsigned(index));
    else
        nvapi::copyText(out.uuid, sizeof out.uuid, g.uuid);
    std::snprintf(out.pciBusId, sizeof out.pciBusId, "00000000:%02X:00.0", g.busLocation & 0xFFu);
    copyOut(identity, out);
    return OK;
}

// The draw and the limits are the percentages the other power calls answer, scaled by the
// default power; the draw only while the topology answers, the limits while the policies do.
int32_t getPowerWatts(NvPhysicalGpuHandle handle, PowerWatts* power) {
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_VT_GPU_GetPowerWatts, handle, power, gpu)) return status;
    const GpuDesc& g = gpu->desc();
    if (!(g.defaultPowerW > 0)) return NOT_SUPPORTED;
    PowerWatts out{};
    out.version = power->version;
    out.flags = POWER_WATTS_DEFAULT;
    out.defaultMw = milliwatts(100000, g.defaultPowerW);
    if (g.topology.supported && g.topology.valid) {
        const uint32_t domain = g.topology.domains.empty() ? 0 : g.topology.domains.front().id;
        out.drawMw = milliwatts(gpu->draw(domain), g.defaultPowerW);
        out.flags |= POWER_WATTS_DRAW;
    }
    if (g.power.supported && g.power.valid && !g.power.policies.empty()) {
        const PowerPolicyDesc& p = g.power.policies.front();
        out.limitMw = milliwatts(p.limit, g.defaultPowerW);
        out.minMw = milliwatts(p.min, g.defaultPowerW);
        out.maxMw = milliwatts(p.max, g.defaultPowerW);
        out.flags |= POWER_WATTS_LIMIT | POWER_WATTS_RANGE;
    }
    copyOut(power, out);
    return OK;
}

}  // namespace sim::api
