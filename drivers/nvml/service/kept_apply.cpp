#include "kept_apply.h"

#include <cstdio>

#include "bridge.h"
#include "interfaces.h"
#include "kept_file.h"
#include "request_check.h"

namespace vantreld {
namespace {

using namespace nvapi;

NvPhysicalGpuHandle handle(unsigned position) {
    return nvml_bridge::Bridge::handleOf(position);
}

// The P0 offsets of k in one table; numClocks 0 when k has none.
Pstates20Info offsetTable(const KeptSettings& k) {
    Pstates20Info t{};
    t.version = PSTATES20_VER1;
    t.numPstates = 1;
    t.pstates[0].pstateId = 0;
    auto add = [&t](int domain, int32_t khz) {
        Pstates20Clock& c = t.pstates[0].clocks[t.numClocks++];
        c.domainId = static_cast<uint32_t>(domain);
        c.freqDelta_kHz.value = khz;
    };
    if (k.fields & KEPT_GPU_OFFSET) add(CLOCK_DOMAIN_GRAPHICS, k.gpuOffsetKHz);
    if (k.fields & KEPT_MEM_OFFSET) add(CLOCK_DOMAIN_MEMORY, k.memOffsetKHz);
    return t;
}

PowerPolicyStatus powerStatus(const KeptSettings& k) {
    PowerPolicyStatus s{};
    s.version = POWER_POLICY_STATUS_VER;
    s.count = 1;
    s.entry[0] = {0, 0, k.power, 0};
    return s;
}

ThermalPolicyStatus thermalStatus(const KeptSettings& k) {
    ThermalPolicyStatus s{};
    s.version = THERMAL_POLICY_STATUS_VER;
    s.count = 1;
    s.entry[0] = {THERMAL_CONTROLLER_GPU, k.tempTargetC * 256, 0};
    return s;
}

CoolerLevels manualLevel(uint32_t percent) {
    CoolerLevels l{};
    l.version = COOLER_LEVELS_VER;
    l.cooler[0] = {percent, COOLER_POLICY_MANUAL};
    return l;
}

bool accepted(unsigned position, uint32_t id, uint32_t arg, const void* payload, const char* what,
              std::string& why) {
    const Verdict v = checkWrite(handle(position), id, arg, payload);
    if (v.status == OK) return true;
    why = std::string(what) + (v.bad ? " is outside the card's range" : " cannot be set on this card") +
          " (status " + std::to_string(v.status) + ")";
    return false;
}

}  // namespace

int positionOf(uint32_t nvmlIndex) {
    const auto& devices = nvml_bridge::bridge().devices();
    for (std::size_t i = 0; i < devices.size(); ++i)
        if (devices[i].index == nvmlIndex) return static_cast<int>(i);
    return -1;
}

std::string gpuId(unsigned position) {
    GpuIdentity id{};
    id.version = GPU_IDENTITY_VER;
    if (nvml_bridge::getIdentity(handle(position), &id) != OK) return {};
    id.uuid[sizeof id.uuid - 1] = id.pciBusId[sizeof id.pciBusId - 1] = '\0';
    return id.uuid[0] ? id.uuid : id.pciBusId;
}

bool checkKeptOnCard(unsigned position, const KeptSettings& k, std::string& why) {
    if (!plausibleKept(k, why)) return false;
    if (k.fields & (KEPT_GPU_OFFSET | KEPT_MEM_OFFSET)) {
        Pstates20Info t = offsetTable(k);
        if (!accepted(position, ID_GPU_SetPstates20, 0, &t, "the clock offset", why)) return false;
    }
    if (k.fields & KEPT_POWER) {
        PowerPolicyStatus s = powerStatus(k);
        if (!accepted(position, ID_GPU_PowerPoliciesSetStatus, 0, &s, "the power target", why)) return false;
    }
    if (k.fields & KEPT_TEMP_TARGET) {
        ThermalPolicyStatus s = thermalStatus(k);
        if (!accepted(position, ID_GPU_ThermalPoliciesSetStatus, 0, &s, "the temperature target", why))
            return false;
    }
    if ((k.fields & KEPT_FAN) && k.fanMode != KEPT_FAN_DRIVER) {
        CoolerLevels l = manualLevel(k.fanMode == KEPT_FAN_FIXED ? k.fanLevel : 0);
        if (!accepted(position, ID_GPU_SetCoolerLevels, COOLER_TARGET_ALL, &l, "the fan level", why))
            return false;
        if (nvml_bridge::bridge().devices()[position].fanCount == 0) {
            why = "the GPU has no fan the driver lets anyone set";
            return false;
        }
    }
    return true;
}

bool applyKeptTuning(unsigned position, const KeptSettings& k, const char* label) {
    const unsigned index = nvml_bridge::bridge().devices()[position].index;
    bool all = true;
    auto note = [&](int32_t status, const char* what, long value, const char* unit) {
        std::fprintf(stderr, "vantreld: GPU %u: %s %ld %s %s (%s)\n", index, what, value, unit,
                     status == OK ? "applied" : "could not be applied", label);
        all = all && status == OK;
    };
    if (k.fields & (KEPT_GPU_OFFSET | KEPT_MEM_OFFSET)) {
        Pstates20Info t = offsetTable(k);
        const int32_t status = nvml_bridge::setPstates20(handle(position), &t);
        if (k.fields & KEPT_GPU_OFFSET) note(status, "GPU clock offset", k.gpuOffsetKHz / 1000, "MHz");
        if (k.fields & KEPT_MEM_OFFSET) note(status, "memory clock offset", k.memOffsetKHz / 1000, "MHz");
    }
    if (k.fields & KEPT_POWER) {
        PowerPolicyStatus s = powerStatus(k);
        note(nvml_bridge::powerPoliciesSetStatus(handle(position), &s), "power target", long(k.power / 1000),
             "%");
    }
    if (k.fields & KEPT_TEMP_TARGET) {
        ThermalPolicyStatus s = thermalStatus(k);
        note(nvml_bridge::thermalPoliciesSetStatus(handle(position), &s), "temperature target", k.tempTargetC,
             "°C");
    }
    return all;
}

int32_t writeFanLevel(unsigned position, uint32_t percent) {
    CoolerLevels l = manualLevel(percent > 100 ? 100 : percent);
    return nvml_bridge::setCoolerLevels(handle(position), COOLER_TARGET_ALL, &l);
}

int32_t giveBackToDriver(unsigned position) {
    CoolerLevels levels{};
    levels.version = COOLER_LEVELS_VER;
    levels.cooler[0] = {0, 0};
    return nvml_bridge::setCoolerLevels(handle(position), COOLER_TARGET_ALL, &levels);
}

}  // namespace vantreld
