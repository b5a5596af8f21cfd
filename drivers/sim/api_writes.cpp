// The writes: each is traced with the values passed and the status answered.
#include <string>

#include "api.h"
#include "api_util.h"
#include "trace.h"

namespace sim::api {

namespace {

// The shared checks of a write, plus whether the structure can be read at all (for the trace).
struct WriteCall {
    SimGpu* gpu = nullptr;
    int index = -1;
    int32_t status = OK;
    bool readable = false;

    template <typename S>
    WriteCall(uint32_t id, NvPhysicalGpuHandle handle, const S* s) {
        status = enterGpuCall(id, handle, gpu, index);
        readable = s && checkVersion(id, index, s->version) == OK;
        if (status == OK && !s) status = INVALID_ARGUMENT;
        if (status == OK && !readable) status = INCOMPATIBLE_STRUCT_VERSION;
    }
};

void tracePstates(TraceLine& line, const Pstates20Info& info, bool withOverVoltage) {
    line.add("version", versionNumber(info.version));
    line.add("numPstates", info.numPstates);
    line.add("numClocks", info.numClocks);
    line.add("numBaseVol", info.numBaseVoltages);
    for (uint32_t i = 0; i < std::min(info.numPstates, 16u); ++i) {
        const Pstates20Entry& e = info.pstates[i];
        const std::string p = "p" + std::to_string(i);
        line.add(p + ".id", e.pstateId);
        for (uint32_t j = 0; j < std::min(info.numClocks, 8u); ++j) {
            const std::string c = p + ".clock" + std::to_string(j);
            line.add(c + ".domain", e.clocks[j].domainId);
            line.add(c + ".delta", e.clocks[j].freqDelta_kHz.value);
        }
        for (uint32_t k = 0; k < std::min(info.numBaseVoltages, 4u); ++k) {
            const std::string v = p + ".volt" + std::to_string(k);
            line.add(v + ".domain", e.baseVoltages[k].domainId);
            line.add(v + ".delta", e.baseVoltages[k].voltDelta_uV.value);
        }
    }
    if (!withOverVoltage) return;
    line.add("numOverVol", info.overVoltage.numVoltages);
    for (uint32_t o = 0; o < std::min(info.overVoltage.numVoltages, 4u); ++o) {
        const std::string v = "ov" + std::to_string(o);
        line.add(v + ".domain", info.overVoltage.voltages[o].domainId);
        line.add(v + ".delta", info.overVoltage.voltages[o].voltDelta_uV.value);
    }
}

}  // namespace

int32_t setPstates20(NvPhysicalGpuHandle handle, Pstates20Info* info) {
    WriteCall call(ID_GPU_SetPstates20, handle, info);
    TraceLine line("GPU_SetPstates20", call.index);
    // Version 1 ends before the over-voltage section: never read past it.
    const bool withOverVoltage = call.readable && versionNumber(info->version) >= 2;
    if (call.readable) tracePstates(line, *info, withOverVoltage);
    if (call.status == OK) call.status = call.gpu->setPstates(*info, withOverVoltage);
    return line.finish(call.status);
}

int32_t enableOverclockedPstates(NvPhysicalGpuHandle handle, uint32_t enable) {
    SimGpu* gpu = nullptr;
    int index = -1;
    int32_t status = enterGpuCall(ID_GPU_EnableOverclockedPstates, handle, gpu, index);
    TraceLine line("GPU_EnableOverclockedPstates", index);
    line.add("enable", enable);
    if (status == OK && enable > 1) status = INVALID_ARGUMENT;
    if (status == OK) gpu->enableOverclocking(enable == 1);
    return line.finish(status);
}

int32_t powerPoliciesSetStatus(NvPhysicalGpuHandle handle, PowerPolicyStatus* status) {
    WriteCall call(ID_GPU_PowerPoliciesSetStatus, handle, status);
    TraceLine line("GPU_PowerPoliciesSetStatus", call.index);
    if (call.readable) {
        line.add("count", status->count);
        for (uint32_t i = 0; i < std::min(status->count, 4u); ++i) {
            line.add("policy" + std::to_string(i), status->entry[i].policyId);
            line.add("power" + std::to_string(i), status->entry[i].power);
        }
    }
    if (call.status == OK) call.status = call.gpu->setPowerLimits(*status);
    return line.finish(call.status);
}

int32_t thermalPoliciesSetStatus(NvPhysicalGpuHandle handle, ThermalPolicyStatus* status) {
    WriteCall call(ID_GPU_ThermalPoliciesSetStatus, handle, status);
    TraceLine line("GPU_ThermalPoliciesSetStatus", call.index);
    if (call.readable) {
        line.add("count", status->count);
        for (uint32_t i = 0; i < std::min<uint32_t>(status->count, 4u); ++i) {
            const std::string n = std::to_string(i);
            line.add("controller" + n, status->entry[i].controller);
            line.add("target" + n, status->entry[i].targetTemp);
            line.add("flags" + n, status->entry[i].flags);
        }
    }
    if (call.status == OK) call.status = call.gpu->setThermalTargets(*status);
    return line.finish(call.status);
}

int32_t setCoolerLevels(NvPhysicalGpuHandle handle, uint32_t coolerTarget, CoolerLevels* levels) {
    WriteCall call(ID_GPU_SetCoolerLevels, handle, levels);
    TraceLine line("GPU_SetCoolerLevels", call.index);
    if (call.readable) {
        line.add("target", coolerTarget);
        line.add("level0", levels->cooler[0].level);
        line.add("policy0", levels->cooler[0].policy);
    }
    if (call.status == OK) {
        call.status =
            call.gpu->setCoolerLevel(coolerTarget, levels->cooler[0].level, levels->cooler[0].policy);
    }
    return line.finish(call.status);
}

}  // namespace sim::api
