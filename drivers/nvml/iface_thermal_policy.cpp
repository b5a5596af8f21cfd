// The GPU temperature target (thermal policy, controller 1) as NVML's acoustic threshold.
#include <algorithm>

#include "bridge.h"
#include "interfaces.h"
#include "units.h"

namespace nvml_bridge {

int32_t thermalPoliciesGetInfo(NvPhysicalGpuHandle h, ThermalPolicyInfo* info) {
    return onDeviceStruct(h, info, THERMAL_POLICY_INFO_VER, [&](Bridge& b, Device& d) {
        if (!d.hasAcousticRange) return b.own(NOT_SUPPORTED);
        ThermalPolicyInfo out{};
        out.version = info->version;
        out.flags = 1;
        out.count = 1;
        out.entry[0] = {THERMAL_CONTROLLER_GPU,         0,
                        celsiusToPolicy(d.acousticMin), celsiusToPolicy(d.acousticDefault),
                        celsiusToPolicy(d.acousticMax), 0};
        *info = out;
        return int32_t{OK};
    });
}

int32_t thermalPoliciesGetStatus(NvPhysicalGpuHandle h, ThermalPolicyStatus* st) {
    return onDeviceStruct(h, st, THERMAL_POLICY_STATUS_VER, [&](Bridge& b, Device& d) {
        if (!d.hasAcousticRange) return b.own(NOT_SUPPORTED);
        unsigned celsius = 0;
        const nvmlReturn_t r =
            b.fn().getTemperatureThreshold(d.nvml, nvml::THRESHOLD_ACOUSTIC_CURR, &celsius);
        if (r != nvml::SUCCESS) return b.check(r);
        ThermalPolicyStatus out{};
        out.version = st->version;
        out.count = 1;
        out.entry[0] = {THERMAL_CONTROLLER_GPU, celsiusToPolicy(static_cast<int>(celsius)),
                        d.thermalPriority ? 1u : 0u};
        *st = out;
        return int32_t{OK};
    });
}

int32_t thermalPoliciesSetStatus(NvPhysicalGpuHandle h, ThermalPolicyStatus* st) {
    return onDeviceStruct(h, st, THERMAL_POLICY_STATUS_VER, [&](Bridge& b, Device& d) {
        if (int32_t s = OK; forwarded(b, d, ID_GPU_ThermalPoliciesSetStatus, 0, st, sizeof *st, s)) return s;
        if (st->count < 1 || st->count > 4) return b.own(INVALID_ARGUMENT);
        if (!d.hasAcousticRange || !b.fn().setTemperatureThreshold) return b.own(NOT_SUPPORTED);
        const ThermalPolicyStatusEntry* e = std::find_if(st->entry, st->entry + st->count, [](const auto& x) {
            return x.controller == THERMAL_CONTROLLER_GPU;
        });
        if (e == st->entry + st->count) return b.own(INVALID_ARGUMENT);
        int celsius = policyToCelsius(e->targetTemp);
        if (celsius < d.acousticMin || celsius > d.acousticMax) return b.own(INVALID_ARGUMENT);
        unsigned current = 0;
        const bool same = b.fn().getTemperatureThreshold(d.nvml, nvml::THRESHOLD_ACOUSTIC_CURR, &current) ==
                              nvml::SUCCESS &&
                          static_cast<int>(current) == celsius;
        if (!same) {  // an unchanged target needs no privileged write
            const nvmlReturn_t r =
                b.fn().setTemperatureThreshold(d.nvml, nvml::THRESHOLD_ACOUSTIC_CURR, &celsius);
            if (r != nvml::SUCCESS) return b.check(r);
        }
        d.thermalPriority = (e->flags & 1u) != 0;
        return int32_t{OK};
    });
}

}  // namespace nvml_bridge
