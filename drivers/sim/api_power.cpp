// Power topology, power policies and thermal policies (reads).
#include "api.h"
#include "api_util.h"

namespace sim::api {

int32_t powerTopologyGetInfo(NvPhysicalGpuHandle handle, PowerTopologyInfo* info) {
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_GPU_PowerTopologyGetInfo, handle, info, gpu)) return status;
    const PowerTopology& t = gpu->desc().topology;
    if (!t.supported) return NOT_SUPPORTED;
    PowerTopologyInfo out{};
    out.version = info->version;
    out.valid = t.valid ? 1 : 0;
    if (t.valid) {
        for (const TopologyDomain& d : t.domains) out.domain[out.count++] = d.id;
    }
    copyOut(info, out);
    return OK;
}

int32_t powerTopologyGetStatus(NvPhysicalGpuHandle handle, PowerTopologyStatus* status) {
    SimGpu* gpu = nullptr;
    if (int32_t s = enterStructCall(ID_GPU_PowerTopologyGetStatus, handle, status, gpu)) return s;
    const PowerTopology& t = gpu->desc().topology;
    if (!t.supported || !t.valid) return NOT_SUPPORTED;
    PowerTopologyStatus out{};
    out.version = status->version;
    for (const TopologyDomain& d : t.domains) {
        out.entry[out.count++] = {d.id, 0, gpu->draw(d.id), 0};
    }
    copyOut(status, out);
    return OK;
}

int32_t powerPoliciesGetInfo(NvPhysicalGpuHandle handle, PowerPolicyInfo* info) {
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_GPU_PowerPoliciesGetInfo, handle, info, gpu)) return status;
    const PowerPolicies& p = gpu->desc().power;
    if (!p.supported) return NOT_SUPPORTED;
    PowerPolicyInfo out{};
    out.version = info->version;
    out.valid = p.valid ? 1 : 0;
    if (p.valid) {
        for (const PowerPolicyDesc& d : p.policies) {
            PowerPolicyInfoEntry& e = out.entry[out.count++];
            e.policyId = d.id;
            e.domain = d.domain;
            e.minPower = d.min;
            e.defaultPower = d.def;
            e.maxPower = d.max;
        }
    }
    copyOut(info, out);
    return OK;
}

int32_t powerPoliciesGetStatus(NvPhysicalGpuHandle handle, PowerPolicyStatus* status) {
    SimGpu* gpu = nullptr;
    if (int32_t s = enterStructCall(ID_GPU_PowerPoliciesGetStatus, handle, status, gpu)) return s;
    const PowerPolicies& p = gpu->desc().power;
    if (!p.supported || !p.valid) return NOT_SUPPORTED;
    PowerPolicyStatus out{};
    out.version = status->version;
    for (const PowerPolicyDesc& d : p.policies) out.entry[out.count++] = {d.id, 0, d.limit, 0};
    copyOut(status, out);
    return OK;
}

int32_t thermalPoliciesGetInfo(NvPhysicalGpuHandle handle, ThermalPolicyInfo* info) {
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_GPU_ThermalPoliciesGetInfo, handle, info, gpu)) return status;
    const ThermalPolicies& t = gpu->desc().thermal;
    if (!t.supported) return NOT_SUPPORTED;
    ThermalPolicyInfo out{};
    out.version = info->version;
    out.flags = t.valid ? 1 : 0;
    if (t.valid) {
        for (const ThermalPolicyDesc& d : t.policies) {
            out.entry[out.count++] = {d.controller, 0, d.min, d.def, d.max, 0};
        }
    }
    copyOut(info, out);
    return OK;
}

int32_t thermalPoliciesGetStatus(NvPhysicalGpuHandle handle, ThermalPolicyStatus* status) {
    SimGpu* gpu = nullptr;
    if (int32_t s = enterStructCall(ID_GPU_ThermalPoliciesGetStatus, handle, status, gpu)) return s;
    const ThermalPolicies& t = gpu->desc().thermal;
    if (!t.supported || !t.valid) return NOT_SUPPORTED;
    ThermalPolicyStatus out{};
    out.version = status->version;
    for (const ThermalPolicyDesc& d : t.policies) {
        out.entry[out.count++] = {d.controller, d.target, d.flags};
    }
    copyOut(status, out);
    return OK;
}

}  // namespace sim::api
