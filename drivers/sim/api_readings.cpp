// The live readings: clocks, P-state table, load, temperature, voltage, fans.
#include <algorithm>
#include <cmath>

#include "api.h"
#include "api_util.h"

namespace sim::api {

namespace {

constexpr uint32_t THERMAL_SENSOR_ALL = 15;

Pstates20Voltage toContract(const PstateVoltage& v) {
    return {v.domain, v.editable ? 1u : 0u, v.voltage, {v.delta.value, v.delta.min, v.delta.max}};
}

Pstates20Clock toContract(const PstateClock& c) {
    Pstates20Clock out{};
    out.domainId = c.domain;
    out.typeId = c.type;
    out.flags = c.editable ? 1u : 0u;
    out.freqDelta_kHz = {c.delta.value, c.delta.min, c.delta.max};
    if (c.type == PSTATE_CLOCK_SINGLE) {
        // The card runs the clock with its offset, and reports it so.
        out.data.single.freq_kHz = uint32_t(std::max<int64_t>(0, int64_t(c.freq) + c.delta.value));
    } else {
        out.data.range = {c.minFreq, c.maxFreq, c.voltageDomain, c.minVoltage, c.maxVoltage};
    }
    return out;
}

}  // namespace

int32_t getAllClockFrequencies(NvPhysicalGpuHandle handle, ClockFrequencies* clocks) {
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_GPU_GetAllClockFrequencies, handle, clocks, gpu)) return status;
    uint32_t type = clocks->flags & 3u;
    if (type > 2) return INVALID_ARGUMENT;
    ClockFrequencies out{};
    out.version = clocks->version;
    out.flags = clocks->flags;
    uint32_t graphics = gpu->graphicsClock(type);
    out.domain[CLOCK_DOMAIN_GRAPHICS] = {1, graphics};
    out.domain[CLOCK_DOMAIN_MEMORY] = {1, gpu->memoryClock(type)};
    out.domain[CLOCK_DOMAIN_PROCESSOR] = {1, 2 * graphics};
    copyOut(clocks, out);
    return OK;
}

int32_t getPstates20(NvPhysicalGpuHandle handle, Pstates20Info* info) {
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_GPU_GetPstates20, handle, info, gpu)) return status;
    const PstateTable& table = gpu->desc().pstates;
    Pstates20Info out{};
    out.version = info->version;
    out.flags = table.editable ? 1u : 0u;
    out.numPstates = uint32_t(table.pstates.size());
    for (size_t i = 0; i < table.pstates.size(); ++i) {
        const Pstate& p = table.pstates[i];
        Pstates20Entry& e = out.pstates[i];
        e.pstateId = p.id;
        e.flags = p.editable ? 1u : 0u;
        out.numClocks = std::max(out.numClocks, uint32_t(p.clocks.size()));
        out.numBaseVoltages = std::max(out.numBaseVoltages, uint32_t(p.baseVoltages.size()));
        for (size_t j = 0; j < p.clocks.size(); ++j) e.clocks[j] = toContract(p.clocks[j]);
        for (size_t k = 0; k < p.baseVoltages.size(); ++k) e.baseVoltages[k] = toContract(p.baseVoltages[k]);
    }
    out.overVoltage.numVoltages = uint32_t(table.overVoltages.size());
    for (size_t o = 0; o < table.overVoltages.size(); ++o) {
        out.overVoltage.voltages[o] = toContract(table.overVoltages[o]);
    }
    copyOut(info, out);  // version 1 stops before the over-voltage section
    return OK;
}

int32_t getDynamicPstatesInfoEx(NvPhysicalGpuHandle handle, DynamicPstatesInfo* info) {
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_GPU_GetDynamicPstatesInfoEx, handle, info, gpu)) return status;
    DynamicPstatesInfo out{};
    out.version = info->version;
    out.flags = 1;
    out.utilization[0] = {1, uint32_t(std::lround(gpu->gpuLoad()))};
    out.utilization[1] = {1, uint32_t(std::lround(gpu->frameBufferLoad()))};
    out.utilization[2] = {1, 0};  // video engine
    copyOut(info, out);
    return OK;
}

int32_t getThermalSettings(NvPhysicalGpuHandle handle, uint32_t sensorIndex, ThermalSettings* settings) {
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_GPU_GetThermalSettings, handle, settings, gpu)) return status;
    const auto& sensors = gpu->desc().sensors;
    size_t first = sensorIndex == THERMAL_SENSOR_ALL ? 0 : sensorIndex;
    if (first >= sensors.size() && !(sensors.empty() && first == 0)) return INVALID_ARGUMENT;
    ThermalSettings out{};
    out.version = settings->version;
    for (size_t i = first; i < sensors.size() && out.count < 3; ++i) {
        const ThermalSensorDesc& s = sensors[i];
        out.sensor[out.count++] = {s.controller, s.defaultMin, s.defaultMax,
                                   s.temp.value_or(gpu->temperature()), s.target};
    }
    copyOut(settings, out);
    return OK;
}

int32_t getVoltageStatus(NvPhysicalGpuHandle handle, VoltageStatus* status) {
    SimGpu* gpu = nullptr;
    if (int32_t s = enterStructCall(ID_GPU_GetVoltageStatus, handle, status, gpu)) return s;
    VoltageStatus out{};
    out.version = status->version;
    out.count = 1;
    out.entry[0] = {0, gpu->coreVoltage()};
    copyOut(status, out);
    return OK;
}

int32_t getTachReading(NvPhysicalGpuHandle handle, uint32_t* rpm) {
    SimGpu* gpu = nullptr;
    int index = -1;
    if (int32_t status = enterGpuCall(ID_GPU_GetTachReading, handle, gpu, index)) return status;
    if (!rpm) return INVALID_ARGUMENT;
    if (gpu->desc().coolers.coolers.empty()) return NOT_SUPPORTED;
    *rpm = gpu->tachometer();
    return OK;
}

int32_t getCoolerSettings(NvPhysicalGpuHandle handle, uint32_t coolerTarget, CoolerSettings* settings) {
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_GPU_GetCoolerSettings, handle, settings, gpu)) return status;
    const uint32_t v = versionNumber(settings->version);
    const auto& coolers = gpu->desc().coolers.coolers;
    CoolerSettings out{};
    out.version = settings->version;
    bool addressed = false;
    for (size_t i = 0; i < coolers.size(); ++i) {
        const CoolerDesc& c = coolers[i];
        if (coolerTarget != COOLER_TARGET_ALL && (c.target & coolerTarget) == 0) continue;
        addressed = true;
        if (int(out.count) == coolerMaxEntries(v)) continue;
        int n = int(out.count++);
        const uint32_t words[] = {
            c.type,           c.controller,    c.defaultMin,      c.defaultMax, c.currentMin,  c.currentMax,
            gpu->fanLevel(i), c.defaultPolicy, gpu->fanPolicy(i), c.target,     c.controlType, c.active};
        for (int f = COOLER_TYPE; f <= COOLER_ACTIVE; ++f) coolerWord(out, v, n, CoolerField(f)) = words[f];
    }
    if (!addressed && !coolers.empty()) return INVALID_ARGUMENT;
    copyOut(settings, out);
    return OK;
}

}  // namespace sim::api
