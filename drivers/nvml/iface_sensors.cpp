// Live readings: clocks, load, temperature, voltage, tachometer.
#include <algorithm>
#include <cstring>

#include "bridge.h"
#include "clock_ranges.h"
#include "interfaces.h"
#include "units.h"

namespace nvml_bridge {
namespace {

constexpr uint32_t kClockTypeCurrent = 0, kClockTypeBase = 1, kClockTypeBoost = 2;
constexpr uint32_t kSensorIndexAll = 15;
constexpr int32_t kSensorControllerGpuInternal = 1;
constexpr int32_t kSensorRangeMin = 0, kSensorRangeMax = 127;

nvmlReturn_t readClock(const nvml::Functions& f, nvmlDevice_t dev, uint32_t kind, unsigned type,
                       unsigned& mhz) {
    switch (kind) {
        case kClockTypeCurrent:
            return f.getClockInfo ? f.getClockInfo(dev, type, &mhz) : nvml::ERROR_FUNCTION_NOT_FOUND;
        case kClockTypeBase:
            // The SM clock has no base of its own; it runs with the graphics clock.
            return baseClock(f, dev, type == nvml::CLOCK_SM ? nvml::CLOCK_GRAPHICS : type, mhz);
        default:
            return f.getMaxClockInfo ? f.getMaxClockInfo(dev, type, &mhz) : nvml::ERROR_FUNCTION_NOT_FOUND;
    }
}

// The GPU temperature through the versioned call where the driver has it.
nvmlReturn_t readTemperature(const nvml::Functions& f, nvmlDevice_t dev, int& celsius) {
    nvmlReturn_t r = nvml::ERROR_FUNCTION_NOT_FOUND;
    if (f.getTemperatureV) {
        nvmlTemperature_t t{nvml::TEMPERATURE_V1, nvml::TEMPERATURE_GPU, 0};
        r = f.getTemperatureV(dev, &t);
        if (r == nvml::SUCCESS) celsius = t.temperature;
        if (!isMissingCall(r)) return r;
    }
    if (!f.getTemperature) return r;
    unsigned value = 0;
    r = f.getTemperature(dev, nvml::TEMPERATURE_GPU, &value);
    if (r == nvml::SUCCESS) celsius = static_cast<int>(std::min(value, 255u));
    return r;
}

}  // namespace

int32_t getAllClockFrequencies(NvPhysicalGpuHandle h, ClockFrequencies* c) {
    Bridge& b = bridge();
    if (!c) return b.own(INVALID_ARGUMENT);
    if (versionSize(c->version) != sizeof(ClockFrequencies) || versionNumber(c->version) < 1 ||
        versionNumber(c->version) > 3)
        return b.own(INCOMPATIBLE_STRUCT_VERSION);
    const uint32_t kind = c->flags & 3u;
    if (kind > kClockTypeBoost) return b.own(INVALID_ARGUMENT);
    return onDevice(h, [&](Bridge& b, Device& d) {
        const struct {
            int domain;
            unsigned type;
        } wanted[] = {{CLOCK_DOMAIN_GRAPHICS, nvml::CLOCK_GRAPHICS},
                      {CLOCK_DOMAIN_MEMORY, nvml::CLOCK_MEM},
                      {CLOCK_DOMAIN_PROCESSOR, nvml::CLOCK_SM}};
        ClockDomain domains[32] = {};
        for (const auto& w : wanted) {
            unsigned mhz = 0;
            const nvmlReturn_t r = readClock(b.fn(), d.nvml, kind, w.type, mhz);
            if (r == nvml::SUCCESS) {
                domains[w.domain] = {1u, static_cast<uint32_t>(mhzToKhz(static_cast<int>(mhz)))};
            } else if (w.domain == CLOCK_DOMAIN_GRAPHICS || !isUnsupported(r)) {
                return b.check(r);  // no graphics clock, or a failing GPU: nothing is reported
            }
        }
        std::memcpy(c->domain, domains, sizeof domains);
        return int32_t{OK};
    });
}

int32_t getDynamicPstatesInfoEx(NvPhysicalGpuHandle h, DynamicPstatesInfo* info) {
    return onDeviceStruct(h, info, DYNAMIC_PSTATES_VER, [&](Bridge& b, Device& d) {
        if (!b.fn().getUtilizationRates) return b.own(NOT_SUPPORTED);
        nvmlUtilization_t u{};
        const nvmlReturn_t r = b.fn().getUtilizationRates(d.nvml, &u);
        if (r != nvml::SUCCESS) return b.check(r);
        DynamicPstatesInfo out{};
        out.version = info->version;
        out.flags = 1;  // dynamic P-states on
        out.utilization[0] = {1u, u.gpu};
        out.utilization[1] = {1u, u.memory};
        *info = out;
        return int32_t{OK};
    });
}

int32_t getThermalSettings(NvPhysicalGpuHandle h, uint32_t sensorIndex, ThermalSettings* t) {
    Bridge& b = bridge();
    if (!t) return b.own(INVALID_ARGUMENT);
    if (versionSize(t->version) != sizeof(ThermalSettings)) return b.own(INCOMPATIBLE_STRUCT_VERSION);
    if (sensorIndex != 0 && sensorIndex != kSensorIndexAll) return b.own(INVALID_ARGUMENT);
    return onDevice(h, [&](Bridge& b, Device& d) {
        if (!b.fn().getTemperature && !b.fn().getTemperatureV) return b.own(NOT_SUPPORTED);
        int celsius = 0;
        const nvmlReturn_t r = readTemperature(b.fn(), d.nvml, celsius);
        if (r != nvml::SUCCESS) return b.check(r);
        ThermalSettings out{};
        out.version = t->version;
        out.count = 1;
        out.sensor[0] = {kSensorControllerGpuInternal, kSensorRangeMin, kSensorRangeMax, celsius,
                         THERMAL_TARGET_GPU};
        *t = out;
        return int32_t{OK};
    });
}

// NVML has no voltage reading.
int32_t getVoltageStatus(NvPhysicalGpuHandle h, VoltageStatus* v) {
    return onDeviceStruct(h, v, VOLTAGE_STATUS_VER, [](Bridge& b, Device&) { return b.own(NOT_SUPPORTED); });
}

int32_t getTachReading(NvPhysicalGpuHandle h, uint32_t* rpm) {
    if (!rpm) return bridge().own(INVALID_ARGUMENT);
    return onDevice(h, [&](Bridge& b, Device& d) {
        if (!b.fn().getFanSpeedRpm || d.fanCount == 0) return b.own(NOT_SUPPORTED);
        nvmlFanSpeedInfo_t info{nvml::FAN_SPEED_INFO_V1, 0, 0};
        const nvmlReturn_t r = b.fn().getFanSpeedRpm(d.nvml, &info);
        if (r != nvml::SUCCESS) return b.check(r);
        *rpm = info.speed;
        return int32_t{OK};
    });
}

}  // namespace nvml_bridge
