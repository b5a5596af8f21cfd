#include "gpu/tuning.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gpu/diagnostics.h"
#include "gpu/driver_structs.h"
#include "gpu/fan_hand_back.h"
#include "gpu/kept_coolers.h"
#include "gpu/readings.h"

namespace gpu {

using namespace detail;

namespace {

void printFailure(int32_t status) {
    diagnostic("API call failed with error %d\n", status);
}

// Rounds a kHz value to MHz the way the table printout does (half up).
int32_t roundedMhz(int32_t khz) {
    return int32_t(khz / 1000.0 + 0.5);
}

int32_t writeClockDelta(uint32_t domain, int32_t mhz) {
    nvapi::Pstates20Info table;
    prepare(table, nvapi::PSTATES20_VER1);
    table.numPstates = 1;
    table.numClocks = 1;
    table.pstates[0].pstateId = 0;
    table.pstates[0].clocks[0].domainId = domain;
    table.pstates[0].clocks[0].freqDelta_kHz.value = int32_t(int64_t(mhz) * 1000);
    return nvCall<nvapi::ID_GPU_SetPstates20>(gpuInUse(), &table);
}

// Hands the fan back to the driver: each cooler's default level and policy.
// A GPU without fan control gets no write; one that reads no longer still gets
// the kept table (or the driver's policy at level 0).
int32_t writeDriverFanControl(NvPhysicalGpuHandle gpu) {
    if (!fanControllable(gpu)) return nvapi::OK;
    const int32_t status = handFanBack(
        gpu,
        [gpu](uint32_t target, nvapi::CoolerSettings* s) {
            return nvCall<nvapi::ID_GPU_GetCoolerSettings>(gpu, target, s);
        },
        [gpu](uint32_t target, nvapi::CoolerLevels* l) {
            return nvCall<nvapi::ID_GPU_SetCoolerLevels>(gpu, target, l);
        });
    noteCoolerStatus(gpu, status);
    if (status == nvapi::OK || meansNoFanControl(status)) {
        noteFanManual(gpu, false);
        return nvapi::OK;
    }
    return status;
}

// The first fixed level of a GPU comes after one cooler read, so that a later
// hand-back has the coolers' own defaults even when the driver stops answering.
void learnCoolers(NvPhysicalGpuHandle gpu) {
    nvapi::CoolerSettings kept;
    uint32_t versionNo = 3;
    if (keptCoolerTable(gpu, kept, versionNo)) return;
    const int32_t status = readCoolerSettings(
        [gpu](uint32_t target, nvapi::CoolerSettings* s) {
            return nvCall<nvapi::ID_GPU_GetCoolerSettings>(gpu, target, s);
        },
        kept, versionNo);
    noteCoolerStatus(gpu, status);
    if (status == nvapi::OK) keepCoolerTable(gpu, kept, versionNo);
}

int32_t writePowerLimit(NvPhysicalGpuHandle gpu, uint32_t power) {
    nvapi::PowerPolicyStatus status;
    prepare(status, nvapi::POWER_POLICY_STATUS_VER).count = 1;
    status.entry[0] = {0, 0, power, 0};
    return nvCall<nvapi::ID_GPU_PowerPoliciesSetStatus>(gpu, &status);
}

// The power policy entry with identifier 0, printing why when there is none.
const nvapi::PowerPolicyInfoEntry* readPowerPolicy(NvPhysicalGpuHandle gpu, nvapi::PowerPolicyInfo& info) {
    int32_t status =
        nvCall<nvapi::ID_GPU_PowerPoliciesGetInfo>(gpu, &prepare(info, nvapi::POWER_POLICY_INFO_VER));
    if (status != nvapi::OK) {
        printFailure(status);
        return nullptr;
    }
    if (info.valid == 0) {
        diagnostic("Power policies are not supported!\n");
        return nullptr;
    }
    int n = bounded(info.count, 4);
    for (int i = 0; i < n; ++i)
        if (info.entry[i].policyId == 0) return &info.entry[i];
    diagnostic("Requested power policy is not supported!\n");
    return nullptr;
}

// The thermal policy entry of controller 1; invalidText is printed for an
// information without the valid bit.
const nvapi::ThermalPolicyInfoEntry* readThermalPolicyInfo(NvPhysicalGpuHandle gpu,
                                                           nvapi::ThermalPolicyInfo& info,
                                                           const char* invalidText) {
    int32_t status =
        nvCall<nvapi::ID_GPU_ThermalPoliciesGetInfo>(gpu, &prepare(info, nvapi::THERMAL_POLICY_INFO_VER));
    if (status != nvapi::OK) {
        printFailure(status);
        return nullptr;
    }
    if ((info.flags & 1u) == 0) {
        diagnostic("%s", invalidText);
        return nullptr;
    }
    int n = bounded(info.count, 4);
    for (int i = 0; i < n; ++i)
        if (info.entry[i].controller == nvapi::THERMAL_CONTROLLER_GPU) return &info.entry[i];
    diagnostic("Requested thermal policy is not supported!\n");
    return nullptr;
}

// Reads the thermal policy status for the controllers the information lists.
int32_t readThermalStatus(NvPhysicalGpuHandle gpu, const nvapi::ThermalPolicyInfo& info,
                          nvapi::ThermalPolicyStatus& status) {
    int n = bounded(info.count, 4);
    prepare(status, nvapi::THERMAL_POLICY_STATUS_VER).count = uint8_t(n);
    for (int i = 0; i < n; ++i) status.entry[i].controller = info.entry[i].controller;
    return nvCall<nvapi::ID_GPU_ThermalPoliciesGetStatus>(gpu, &status);
}

// The two policy ranges the linked targets interpolate between.
struct LinkedRanges {
    float pMin, pDef, pMax;  // thousandths of a percent
    float tMin, tDef, tMax;  // °C
};

bool readLinkedRanges(LinkedRanges& r) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    nvapi::PowerPolicyInfo powerInfo;
    const nvapi::PowerPolicyInfoEntry* power = readPowerPolicy(gpu, powerInfo);
    if (!power) return false;
    nvapi::ThermalPolicyInfo thermalInfo;
    const nvapi::ThermalPolicyInfoEntry* thermal =
        readThermalPolicyInfo(gpu, thermalInfo, "Thermal Policies are not supported!\n");
    if (!thermal) return false;
    r = {float(power->minPower),    float(power->defaultPower),    float(power->maxPower),
         thermal->minTemp / 256.0f, thermal->defaultTemp / 256.0f, thermal->maxTemp / 256.0f};
    return true;
}

void printPstateHeader(const nvapi::Pstates20Info& t) {
    diagnostic("API call succeeded\n\n------------------------------------------------------\n");
    diagnostic("ps20Info.bIsEditable = %d\n", int(t.flags & 1u));
    diagnostic("ps20Info.numPstates  = %d\n", int(t.numPstates));
    diagnostic("ps20Info.numClocks   = %d\n", int(t.numClocks));
    diagnostic("ps20Info.numBaseVol  = %d\n", int(t.numBaseVoltages));
}

}  // namespace

bool readPstateClocks(std::span<int32_t, 2> out, const GpuContext& context, bool deltas) {
    nvapi::Pstates20Info table;
    int32_t status = readPstates20(context.selectedHandle(), table);
    if (status != nvapi::OK) {
        printFailure(status);
        return false;
    }
    printPstateHeader(table);
    int pstates = bounded(table.numPstates, 16);
    int clocks = bounded(table.numClocks, 8);
    int k = 0;
    for (int p = 0; p < pstates; ++p) {
        for (int c = 0; c < clocks; ++c) {
            const nvapi::Pstates20Clock& clock = table.pstates[p].clocks[c];
            if (deltas) {
                const nvapi::Pstates20Delta& d = clock.freqDelta_kHz;
                diagnostic("ps20Info.pstates[%d].clocks[%d].freqDelta_kHz            = %d [%d, %d]\n", p, c,
                           d.value, d.min, d.max);
                if (k > 1) break;
                out[k] = c == 0 ? d.max / 1000 : roundedMhz(d.max);
                ++k;
            } else if (clock.typeId == nvapi::PSTATE_CLOCK_SINGLE) {
                diagnostic("ps20Info.pstates[%d].clocks[%d].data.single.freq_kHz     = %d\n", p, c,
                           int(clock.data.single.freq_kHz));
                if (k <= 1) {
                    int32_t khz = int32_t(clock.data.single.freq_kHz);
                    out[k] = k == 0 ? khz / 1000 : roundedMhz(khz);
                    ++k;
                }
            } else if (clock.typeId == nvapi::PSTATE_CLOCK_RANGE) {
                const auto& range = clock.data.range;
                diagnostic("ps20Info.pstates[%d].clocks[%d].data.range.minFreq_kHz   = %d\n", p, c,
                           int(range.minFreq_kHz));
                diagnostic("ps20Info.pstates[%d].clocks[%d].data.range.maxFreq_kHz   = %d\n", p, c,
                           int(range.maxFreq_kHz));
                diagnostic("ps20Info.pstates[%d].clocks[%d].data.range.domainId      = %u\n", p, c,
                           range.domainId);
                diagnostic("ps20Info.pstates[%d].clocks[%d].data.range.minVoltage_uV = %d\n", p, c,
                           int(range.minVoltage_uV));
                diagnostic("ps20Info.pstates[%d].clocks[%d].data.range.maxVoltage_uV = %d\n", p, c,
                           int(range.maxVoltage_uV));
                int32_t base[3] = {};
                bool haveBase = readClocks(context, base, 1);
                if (k <= 1) {
                    out[k] = haveBase ? clock.freqDelta_kHz.value / 1000 + base[0]
                                      : int32_t(range.maxFreq_kHz / 1000);
                    ++k;
                }
            } else {
                diagnostic("Invalid clock type\n");
            }
        }
    }
    return true;
}

bool setGpuClockOffset(int32_t mhz) {
    nvCall<nvapi::ID_GPU_EnableOverclockedPstates>(gpuInUse(), 1u);
    return writeClockDelta(nvapi::CLOCK_DOMAIN_GRAPHICS, mhz) == nvapi::OK;
}

bool setMemoryClockOffset(int32_t mhz) {
    return writeClockDelta(nvapi::CLOCK_DOMAIN_MEMORY, mhz) == nvapi::OK;
}

bool setCoreVoltageOffset(int32_t microvolts) {
    nvapi::Pstates20Info table;
    prepare(table, nvapi::PSTATES20_VER1);
    table.numPstates = 1;
    table.numBaseVoltages = 1;
    table.pstates[0].baseVoltages[0].domainId = 0;
    table.pstates[0].baseVoltages[0].voltDelta_uV.value = microvolts;
    return nvCall<nvapi::ID_GPU_SetPstates20>(gpuInUse(), &table) == nvapi::OK;
}

bool readVoltageRange(std::span<int32_t, 5> out) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    uint32_t current = currentMicrovolts(gpu);
    nvapi::Pstates20Info table;
    if (readPstates20(gpu, table) != nvapi::OK) return false;
    out[0] = 10000;
    out[1] = 0;
    forEachP0BaseVoltage(table, [&](const nvapi::Pstates20Voltage& v) {
        if (v.domainId == 0) out[2] = int32_t(v.volt_uV);
        out[0] = addDelta(v.volt_uV, v.voltDelta_uV.min);
        out[1] = addDelta(v.volt_uV, v.voltDelta_uV.max);
        out[3] = int32_t(std::llabs(int64_t(v.voltDelta_uV.min)));
    });
    out[4] = int32_t(current);
    return true;
}

bool setOverVoltage(int32_t microvolts) {
    nvapi::Pstates20Info table;
    prepare(table, nvapi::PSTATES20_VER2);
    table.overVoltage.numVoltages = 1;
    table.overVoltage.voltages[0].domainId = 0;
    table.overVoltage.voltages[0].voltDelta_uV.value = microvolts;
    int32_t status = nvCall<nvapi::ID_GPU_SetPstates20>(gpuInUse(), &table);
    if (status != nvapi::OK) {
        printFailure(status);
        return false;
    }
    return true;
}

bool readOverVoltage(std::span<int32_t, 3> out) {
    nvapi::Pstates20Info table;
    int32_t status = readPstates20(gpuInUse(), table);
    if (status != nvapi::OK) {
        printFailure(status);
        return false;
    }
    int n = bounded(table.overVoltage.numVoltages, 4);
    for (int i = 0; i < n; ++i) {
        const nvapi::Pstates20Delta& d = table.overVoltage.voltages[i].voltDelta_uV;
        out[0] = d.min;
        out[1] = d.max;
        out[2] = d.value;
    }
    return true;
}

bool setPowerTarget(uint32_t percent) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    nvapi::PowerPolicyInfo info;
    const nvapi::PowerPolicyInfoEntry* policy = readPowerPolicy(gpu, info);
    if (!policy) return false;
    uint64_t v = uint64_t(percent) * 1000;
    if (v > policy->maxPower || v < policy->minPower) {
        diagnostic("Requested power policy limit exceeds max allowed value!\n");
        return false;
    }
    return writePowerLimit(gpu, uint32_t(v)) == nvapi::OK;
}

bool readThermalPolicy(std::span<int32_t, 5> out) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    diagnostic("Thermal policy info:\n");
    nvapi::ThermalPolicyInfo info;
    int32_t status =
        nvCall<nvapi::ID_GPU_ThermalPoliciesGetInfo>(gpu, &prepare(info, nvapi::THERMAL_POLICY_INFO_VER));
    if (status != nvapi::OK) {
        printFailure(status);
        return false;
    }
    if ((info.flags & 1u) == 0) {
        diagnostic("  ... not available!\n");
        return false;
    }
    int n = bounded(info.count, 4);
    for (int i = 0; i < n; ++i) {
        out[0] = info.entry[i].minTemp / 256;
        out[1] = info.entry[i].defaultTemp / 256;
        out[2] = info.entry[i].maxTemp / 256;
    }
    diagnostic("Thermal policy status:\n");
    nvapi::ThermalPolicyStatus policy;
    status = readThermalStatus(gpu, info, policy);
    if (status != nvapi::OK) {
        printFailure(status);
        return false;
    }
    int listed = bounded(policy.count, 4);
    for (int i = 0; i < listed; ++i) {
        out[3] = policy.entry[i].targetTemp / 256;
        out[4] = int32_t(policy.entry[i].flags & 1u);
    }
    return listed > 0;
}

bool setTemperatureTarget(float celsius, bool flag) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    nvapi::ThermalPolicyInfo info;
    const nvapi::ThermalPolicyInfoEntry* policy =
        readThermalPolicyInfo(gpu, info, "Thermal policies are not supported!\n");
    if (!policy) return false;
    // A value no 32-bit target can hold (or not a number) is out of any range.
    double scaled = std::trunc(double(celsius) * 256.0);
    if (!(scaled >= policy->minTemp && scaled <= policy->maxTemp)) {
        diagnostic("Requested thermal policy limit exceeds max allowed value!\n");
        return false;
    }
    nvapi::ThermalPolicyStatus status;
    prepare(status, nvapi::THERMAL_POLICY_STATUS_VER).count = 1;
    status.entry[0] = {nvapi::THERMAL_CONTROLLER_GPU, int32_t(scaled), flag ? 1u : 0u};
    int32_t result = nvCall<nvapi::ID_GPU_ThermalPoliciesSetStatus>(gpu, &status);
    if (result != nvapi::OK) {
        printFailure(result);
        return false;
    }
    diagnostic("Requested policy limit applied successfully\n");
    return true;
}

void clearTemperaturePriority() {
    NvPhysicalGpuHandle gpu = gpuInUse();
    nvapi::ThermalPolicyInfo info;
    if (!readThermalPolicyInfo(gpu, info, "Thermal policies are not supported!\n")) return;
    nvapi::ThermalPolicyStatus status;
    int32_t result = readThermalStatus(gpu, info, status);
    if (result != nvapi::OK) {
        diagnostic("NvAPI_GPU_ClientThermalPoliciesGetStatus call failed with error %d\n", result);
        return;
    }
    status.count = 1;
    status.entry[0].controller = nvapi::THERMAL_CONTROLLER_GPU;
    status.entry[0].flags &= ~1u;
    result = nvCall<nvapi::ID_GPU_ThermalPoliciesSetStatus>(gpu, &status);
    if (result != nvapi::OK)
        diagnostic("NvAPI_GPU_ClientThermalPoliciesSetStatus call failed with error %d\n", result);
    else
        diagnostic("Requested policy limit applied successfully\n");
}

bool temperatureForPowerTarget(float percent, std::span<float, 2> out) {
    LinkedRanges r;
    if (!readLinkedRanges(r)) return false;
    float g = percent * 1000.0f;
    if (!(g <= r.pMax && g >= r.pMin)) {
        diagnostic("Requested power policy limit exceeds allowed range!\n");
        return false;
    }
    float t;
    if (g > r.pDef) {
        t = r.tDef + (g - r.pDef) / (r.pMax - r.pDef) * (r.tMax - r.tDef);
        if (t > r.tMax) t = r.tMax;
    } else {
        if (r.pDef == r.pMin) return false;  // a flat lower segment has no slope to follow
        t = r.tDef - (r.pDef - g) / (r.pDef - r.pMin) * (r.tDef - r.tMin);
        if (t < r.tMin) t = r.tMin;
    }
    out[0] = percent;
    out[1] = t;
    return true;
}

bool powerForTemperatureTarget(float celsius, float currentPercent, std::span<float, 2> out) {
    if (!std::isfinite(celsius)) return false;
    LinkedRanges r;
    if (!readLinkedRanges(r)) return false;
    float p;
    if (currentPercent * 1000.0f > r.pDef) {
        if (r.tMax == r.tDef) return false;
        p = r.pDef + (celsius - r.tDef) / (r.tMax - r.tDef) * (r.pMax - r.pDef);
        if (p > r.pMax) p = r.pMax;
    } else {
        if (r.tDef == r.tMin) return false;
        p = r.pDef - (r.tDef - celsius) / (r.tDef - r.tMin) * (r.pDef - r.pMin);
        if (p < r.pMin) p = r.pMin;
    }
    out[0] = p / 1000.0f;
    out[1] = celsius;
    return true;
}

void setFanLevel(int32_t level) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    if (level < 0) {
        writeDriverFanControl(gpu);
        return;
    }
    learnCoolers(gpu);
    if (!fanControllable(gpu)) return;
    nvapi::CoolerLevels levels;
    prepare(levels, nvapi::COOLER_LEVELS_VER);
    levels.cooler[0] = {uint32_t(level > 100 ? 100 : level), nvapi::COOLER_POLICY_MANUAL};
    // Marked before the write: a driver that fails the call may still have taken it.
    noteFanManual(gpu, true);
    noteCoolerStatus(gpu, nvCall<nvapi::ID_GPU_SetCoolerLevels>(gpu, nvapi::COOLER_TARGET_ALL, &levels));
}

bool readClockOffsets(std::span<int32_t, 2> out) {
    nvapi::Pstates20Info table;
    if (readPstates20(gpuInUse(), table) != nvapi::OK) return false;
    const nvapi::Pstates20Entry* p0 = findP0(table);
    if (!p0) return false;
    bool found = false;
    const int n = bounded(table.numClocks, 8);
    for (int c = 0; c < n; ++c) {
        const nvapi::Pstates20Clock& clock = p0->clocks[c];
        const int slot = clock.domainId == nvapi::CLOCK_DOMAIN_GRAPHICS ? 0
                         : clock.domainId == nvapi::CLOCK_DOMAIN_MEMORY ? 1
                                                                        : -1;
        if (slot < 0) continue;
        out[size_t(slot)] = clock.freqDelta_kHz.value / 1000;
        found = true;
    }
    return found;
}

bool restoreFanDefault() {
    return writeDriverFanControl(gpuInUse()) == nvapi::OK;
}

bool fanControllable() {
    return detail::fanControllable(gpuInUse());
}

bool restoreEveryFan() {
    NvPhysicalGpuHandle inUse = gpuInUse();
    const GpuContext& context = globalContext();
    bool all = true;
    auto handBack = [&](NvPhysicalGpuHandle gpu) {
        if (!detail::fanControllable(gpu)) return;
        const int32_t status = writeDriverFanControl(gpu);
        int index = -1;
        for (int i = 0; i < context.count && i < nvapi::MAX_PHYSICAL_GPUS; ++i)
            if (context.handles[i] == gpu) index = i;
        if (status == nvapi::OK) {
            diagnostic("Fan of GPU %d given back to the driver\n", index + 1);
        } else {
            diagnostic("Fan of GPU %d could not be given back to the driver (status %d)\n", index + 1,
                       status);
            all = false;
        }
    };
    if (inUse) handBack(inUse);
    forEachManualFan([&](NvPhysicalGpuHandle gpu) {
        if (gpu != inUse) handBack(gpu);
    });
    flushDiagnostics();
    return all;
}

bool restoreDefaultTuning() {
    NvPhysicalGpuHandle gpu = gpuInUse();
    nvCall<nvapi::ID_GPU_EnableOverclockedPstates>(gpu, 1u);
    writeClockDelta(nvapi::CLOCK_DOMAIN_GRAPHICS, 0);
    writeClockDelta(nvapi::CLOCK_DOMAIN_MEMORY, 0);
    nvapi::PowerPolicyInfo info;
    // A policy table that lists nothing has no default to go back to; writing
    // its zeroed entry would set a 0 % limit.
    if (nvCall<nvapi::ID_GPU_PowerPoliciesGetInfo>(gpu, &prepare(info, nvapi::POWER_POLICY_INFO_VER)) ==
            nvapi::OK &&
        info.valid != 0 && info.count > 0)
        writePowerLimit(gpu, info.entry[0].defaultPower);
    return writeDriverFanControl(gpu) == nvapi::OK;
}

}  // namespace gpu
