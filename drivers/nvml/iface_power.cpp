// Power: one GPU domain, and one policy whose limits are percentages of the default limit.
#include <algorithm>

#include "bridge.h"
#include "interfaces.h"
#include "units.h"

namespace nvml_bridge {
namespace {

constexpr uint32_t kDomainGpu = 0;
constexpr uint32_t kPolicyId = 0;
constexpr uint32_t kHundredPercent = 100000;

}  // namespace

int32_t powerTopologyGetInfo(NvPhysicalGpuHandle h, PowerTopologyInfo* info) {
    return onDeviceStruct(h, info, POWER_TOPOLOGY_INFO_VER, [&](Bridge& b, Device& d) {
        if (d.defaultLimitMw == 0 || !b.fn().getPowerUsage) return b.own(NOT_SUPPORTED);
        *info = PowerTopologyInfo{info->version, 1, 1, {}, {kDomainGpu}};
        return int32_t{OK};
    });
}

int32_t powerTopologyGetStatus(NvPhysicalGpuHandle h, PowerTopologyStatus* st) {
    return onDeviceStruct(h, st, POWER_TOPOLOGY_STATUS_VER, [&](Bridge& b, Device& d) {
        if (d.defaultLimitMw == 0 || !b.fn().getPowerUsage) return b.own(NOT_SUPPORTED);
        unsigned mw = 0;
        const nvmlReturn_t r = b.fn().getPowerUsage(d.nvml, &mw);
        if (r != nvml::SUCCESS) return b.check(r);
        PowerTopologyStatus out{};
        out.version = st->version;
        out.count = 1;
        out.entry[0] = {kDomainGpu, 0, powerToThousandths(mw, d.defaultLimitMw), 0};
        *st = out;
        return int32_t{OK};
    });
}

int32_t powerPoliciesGetInfo(NvPhysicalGpuHandle h, PowerPolicyInfo* info) {
    return onDeviceStruct(h, info, POWER_POLICY_INFO_VER, [&](Bridge& b, Device& d) {
        if (!d.hasPowerLimits) return b.own(NOT_SUPPORTED);
        PowerPolicyInfo out{};
        out.version = info->version;
        out.valid = 1;
        out.count = 1;
        out.entry[0].policyId = kPolicyId;
        out.entry[0].domain = kDomainGpu;
        out.entry[0].minPower = minLimitToThousandths(d.minLimitMw, d.defaultLimitMw);
        out.entry[0].defaultPower = kHundredPercent;
        out.entry[0].maxPower = maxLimitToThousandths(d.maxLimitMw, d.defaultLimitMw);
        *info = out;
        return int32_t{OK};
    });
}

int32_t powerPoliciesGetStatus(NvPhysicalGpuHandle h, PowerPolicyStatus* st) {
    return onDeviceStruct(h, st, POWER_POLICY_STATUS_VER, [&](Bridge& b, Device& d) {
        if (d.defaultLimitMw == 0 || !b.fn().getPowerLimit) return b.own(NOT_SUPPORTED);
        unsigned mw = 0;
        const nvmlReturn_t r = b.fn().getPowerLimit(d.nvml, &mw);
        if (r != nvml::SUCCESS) return b.check(r);
        PowerPolicyStatus out{};
        out.version = st->version;
        out.count = 1;
        out.entry[0] = {kPolicyId, 0, powerToThousandths(mw, d.defaultLimitMw), 0};
        *st = out;
        return int32_t{OK};
    });
}

int32_t powerPoliciesSetStatus(NvPhysicalGpuHandle h, PowerPolicyStatus* st) {
    return onDeviceStruct(h, st, POWER_POLICY_STATUS_VER, [&](Bridge& b, Device& d) {
        if (int32_t s = OK; forwarded(b, d, ID_GPU_PowerPoliciesSetStatus, 0, st, sizeof *st, s)) return s;
        if (st->count < 1 || st->count > 4) return b.own(INVALID_ARGUMENT);
        if (!d.hasPowerLimits || !b.fn().setPowerLimit) return b.own(NOT_SUPPORTED);
        const PowerPolicyStatusEntry* e = std::find_if(st->entry, st->entry + st->count,
                                                       [](const auto& x) { return x.policyId == kPolicyId; });
        if (e == st->entry + st->count) return b.own(INVALID_ARGUMENT);
        if (e->power < minLimitToThousandths(d.minLimitMw, d.defaultLimitMw) ||
            e->power > maxLimitToThousandths(d.maxLimitMw, d.defaultLimitMw))
            return b.own(INVALID_ARGUMENT);
        const auto mw = static_cast<unsigned>(std::clamp<uint64_t>(
            thousandthsToMilliwatts(e->power, d.defaultLimitMw), d.minLimitMw, d.maxLimitMw));
        unsigned current = 0;
        if (b.fn().getPowerLimit && b.fn().getPowerLimit(d.nvml, &current) == nvml::SUCCESS && current == mw)
            return int32_t{OK};  // nothing to change: no privileged write
        const nvmlReturn_t r = b.fn().setPowerLimit(d.nvml, mw);
        return r == nvml::SUCCESS ? int32_t{OK} : b.check(r);
    });
}

}  // namespace nvml_bridge
