#include "request_check.h"

#include "interfaces.h"

namespace vantreld {
namespace {

using namespace nvapi;

constexpr Verdict kAccepted{};

Verdict bad() {
    return {INVALID_ARGUMENT, true};
}
Verdict answer(int32_t status) {
    return {status, false};
}

const Pstates20Clock* findClock(const Pstates20Entry& e, uint32_t count, uint32_t domain) {
    for (uint32_t i = 0; i < count && i < 8; ++i)
        if (e.clocks[i].domainId == domain) return &e.clocks[i];
    return nullptr;
}

const Pstates20Voltage* findVoltage(const Pstates20Voltage* list, uint32_t count, uint32_t domain) {
    for (uint32_t i = 0; i < count && i < 4; ++i)
        if (list[i].domainId == domain) return &list[i];
    return nullptr;
}

bool within(int32_t v, const Pstates20Delta& range) {
    return v >= range.min && v <= range.max;
}

// A voltage delta the card has no entry for can only be 0 (what it already runs at).
Verdict checkVoltage(const Pstates20Voltage& wanted, const Pstates20Voltage* now) {
    if (!now) return wanted.voltDelta_uV.value == 0 ? kAccepted : answer(NOT_SUPPORTED);
    return within(wanted.voltDelta_uV.value, now->voltDelta_uV) ? kAccepted : bad();
}

Verdict checkPstates(NvPhysicalGpuHandle gpu, const Pstates20Info& in) {
    const bool v2 = in.version == PSTATES20_VER2;
    if (in.numPstates > 16 || in.numClocks > 8 || in.numBaseVoltages > 4 ||
        (v2 && in.overVoltage.numVoltages > 4))
        return bad();
    Pstates20Info table{};
    table.version = PSTATES20_VER2;
    if (const int32_t s = nvml_bridge::getPstates20(gpu, &table); s != OK) return answer(s);
    for (uint32_t p = 0; p < in.numPstates; ++p) {
        const Pstates20Entry& want = in.pstates[p];
        const Pstates20Entry* now = nullptr;
        for (uint32_t i = 0; i < table.numPstates && i < 16; ++i)
            if (table.pstates[i].pstateId == want.pstateId) now = &table.pstates[i];
        if (!now) return answer(NOT_SUPPORTED);
        for (uint32_t c = 0; c < in.numClocks; ++c) {
            const Pstates20Clock* clock = findClock(*now, table.numClocks, want.clocks[c].domainId);
            if (!clock) return answer(NOT_SUPPORTED);
            if (!within(want.clocks[c].freqDelta_kHz.value, clock->freqDelta_kHz)) return bad();
        }
        for (uint32_t v = 0; v < in.numBaseVoltages; ++v) {
            const Pstates20Voltage& wanted = want.baseVoltages[v];
            const Verdict verdict =
                checkVoltage(wanted, findVoltage(now->baseVoltages, table.numBaseVoltages, wanted.domainId));
            if (verdict.status != OK) return verdict;
        }
    }
    for (uint32_t v = 0; v2 && v < in.overVoltage.numVoltages; ++v) {
        const Pstates20Voltage& wanted = in.overVoltage.voltages[v];
        const Verdict verdict = checkVoltage(
            wanted, findVoltage(table.overVoltage.voltages, table.overVoltage.numVoltages, wanted.domainId));
        if (verdict.status != OK) return verdict;
    }
    return kAccepted;
}

Verdict checkPower(NvPhysicalGpuHandle gpu, const PowerPolicyStatus& in) {
    if (in.count < 1 || in.count > 4) return bad();
    PowerPolicyInfo info{};
    info.version = POWER_POLICY_INFO_VER;
    if (const int32_t s = nvml_bridge::powerPoliciesGetInfo(gpu, &info); s != OK) return answer(s);
    for (uint32_t i = 0; i < in.count; ++i) {
        const PowerPolicyInfoEntry* policy = nullptr;
        for (uint32_t j = 0; j < info.count && j < 4; ++j)
            if (info.entry[j].policyId == in.entry[i].policyId) policy = &info.entry[j];
        if (!policy || in.entry[i].power < policy->minPower || in.entry[i].power > policy->maxPower)
            return bad();
    }
    return kAccepted;
}

Verdict checkThermal(NvPhysicalGpuHandle gpu, const ThermalPolicyStatus& in) {
    if (in.count < 1 || in.count > 4) return bad();
    ThermalPolicyInfo info{};
    info.version = THERMAL_POLICY_INFO_VER;
    if (const int32_t s = nvml_bridge::thermalPoliciesGetInfo(gpu, &info); s != OK) return answer(s);
    for (uint32_t i = 0; i < in.count; ++i) {
        const ThermalPolicyStatusEntry& e = in.entry[i];
        const ThermalPolicyInfoEntry* policy = nullptr;
        for (uint32_t j = 0; j < info.count && j < 4; ++j)
            if (info.entry[j].controller == e.controller) policy = &info.entry[j];
        if (!policy || e.targetTemp < policy->minTemp || e.targetTemp > policy->maxTemp || e.flags > 1)
            return bad();
    }
    return kAccepted;
}

// Levels are percentages; below the card's minimum the bridge raises them to it. The policy is
// the manual one or the driver's own, as the cooler table names it.
Verdict checkCoolers(NvPhysicalGpuHandle gpu, uint32_t target, const CoolerLevels& in) {
    if (target != COOLER_TARGET_ALL) return bad();
    CoolerSettings table{};
    table.version = COOLER_SETTINGS_VER3;
    if (const int32_t s = nvml_bridge::getCoolerSettings(gpu, target, &table); s != OK) return answer(s);
    const uint32_t driverPolicy = coolerWord(table, 3, 0, COOLER_DEFAULT_POLICY);
    for (int i = 0; i < 20; ++i) {
        const CoolerLevel& c = in.cooler[i];
        const bool knownPolicy =
            c.policy == COOLER_POLICY_MANUAL || c.policy == driverPolicy || (i > 0 && c.policy == 0);
        if (c.level > 100 || !knownPolicy) return bad();
    }
    return kAccepted;
}

}  // namespace

Verdict checkWrite(NvPhysicalGpuHandle gpu, uint32_t interfaceId, uint32_t arg, const void* payload) {
    if (interfaceId != ID_GPU_SetCoolerLevels && arg != 0) return bad();
    switch (interfaceId) {
        case ID_GPU_SetPstates20:
            return checkPstates(gpu, *static_cast<const Pstates20Info*>(payload));
        case ID_GPU_PowerPoliciesSetStatus:
            return checkPower(gpu, *static_cast<const PowerPolicyStatus*>(payload));
        case ID_GPU_ThermalPoliciesSetStatus:
            return checkThermal(gpu, *static_cast<const ThermalPolicyStatus*>(payload));
        case ID_GPU_SetCoolerLevels:
            return checkCoolers(gpu, arg, *static_cast<const CoolerLevels*>(payload));
        default:
            return {NO_IMPLEMENTATION, true};
    }
}

}  // namespace vantreld
