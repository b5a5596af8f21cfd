// A stand-in for libnvidia-ml.so.1 with scripted values per device and a record of every setter.
// Built once complete, and again without optional symbols (FAKE_NVML_MINIMAL), without the
// current clock-offset calls (FAKE_NVML_NO_CLOCK_OFFSETS) or without a required one
// (FAKE_NVML_NO_COUNT).
#include "fake_nvml.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "nvml_api.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

FakeNvmlState g;

FakeNvmlDevice typical(int i) {
    FakeNvmlDevice d{};
    std::snprintf(d.name, sizeof d.name, "NVIDIA Fake RTX %d080", 3 + i);
    std::snprintf(d.vbios, sizeof d.vbios, "94.02.42.00.%02d", i);
    d.memTotal = 10ull << 30;
    d.memFree = 8ull << 30;
    d.busWidth = 320;
    d.clockGraphics = 1500;
    d.clockMem = 9501;
    d.clockSm = 1500;
    d.maxGraphics = 2100;
    d.maxMem = 9501;
    d.maxSm = 2100;
    d.p0MinGraphics = 210;
    d.p0MaxGraphics = 2100;
    d.p0MinMem = 405;
    d.p0MaxMem = 9501;
    d.appDefaultGraphics = 1710;
    d.appDefaultMem = 9501;
    d.utilGpu = 37;
    d.utilMem = 12;
    d.temperature = 55 + static_cast<unsigned>(i);
    d.acousticMin = 65;
    d.acousticCurr = 83;
    d.acousticMax = 91;
    d.numFans = 2;
    d.fanSpeed[0] = d.fanSpeed[1] = 40;
    d.fanRpm = 1400;
    d.minFan = 30;
    d.maxFan = 100;
    d.powerUsage = 160000;
    d.powerLimit = 320000;
    d.powerDefault = 320000;
    d.powerMin = 100000;
    d.powerMax = 370000;
    d.gpcOffsetMin = -500;
    d.gpcOffsetMax = 1000;
    d.memOffsetMin = -2000;
    d.memOffsetMax = 3000;
    std::snprintf(d.uuid, sizeof d.uuid, "GPU-fa4e0000-0000-4000-8000-%012d", i);
    d.pciBus = 1 + static_cast<unsigned>(i);
    return d;
}

void log(const char* fmt, int dev, long a, long b) {
    const std::size_t used = std::strlen(g.log);
    char line[128];
    std::snprintf(line, sizeof line, fmt, dev, a, b);
    std::snprintf(g.log + used, sizeof g.log - used, "%s\n", line);
}

int indexOf(nvmlDevice_t h) {
    for (unsigned i = 0; i < g.count && i < 4; ++i)
        if (reinterpret_cast<nvmlDevice_t>(&g.dev[i]) == h) return static_cast<int>(i);
    return -1;
}

// Common checks; 0 lets the call go on.
int gate(const char* fn, nvmlDevice_t h, FakeNvmlDevice** d) {
    ++g.calls;
    if (!g.initialised) return nvml::ERROR_UNINITIALIZED;
    if (g.failFunction[0] && std::strcmp(g.failFunction, fn) == 0) return g.failReturn;
    if (d) {
        const int i = indexOf(h);
        if (i < 0) return nvml::ERROR_INVALID_ARGUMENT;
        if (g.lost) return nvml::ERROR_GPU_IS_LOST;
        *d = &g.dev[i];
    }
    return nvml::SUCCESS;
}

void recordCall(const char* fmt, int dev, long a, long b) {
    if (!g.callFile[0]) return;
    if (std::FILE* f = std::fopen(g.callFile, "a")) {
        std::fprintf(f, fmt, dev, a, b);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

// fmt, a and b describe the call as log() does.
int setterGate(const char* fn, nvmlDevice_t h, FakeNvmlDevice** d, const char* fmt, long a, long b) {
    if (const int r = gate(fn, h, d)) return r;
    recordCall(fmt, indexOf(h), a, b);
    return g.denySetters ? nvml::ERROR_NO_PERMISSION : nvml::SUCCESS;
}

#define GATE(dev)                \
    FakeNvmlDevice* d = nullptr; \
    if (const int r = gate(__func__, dev, &d)) return r
#define SETTER_GATE(dev, fmt, a, b) \
    FakeNvmlDevice* d = nullptr;    \
    if (const int r = setterGate(__func__, dev, &d, fmt, a, b)) return r

unsigned* clockField(FakeNvmlDevice* d, unsigned type, bool max) {
    switch (type) {
        case nvml::CLOCK_GRAPHICS:
            return max ? &d->maxGraphics : &d->clockGraphics;
        case nvml::CLOCK_MEM:
            return max ? &d->maxMem : &d->clockMem;
        case nvml::CLOCK_SM:
            return max ? &d->maxSm : &d->clockSm;
        default:
            return nullptr;
    }
}

int appDefaultClock(const FakeNvmlDevice* d, unsigned type, unsigned* mhz) {
    const unsigned v = type == nvml::CLOCK_GRAPHICS ? d->appDefaultGraphics
                       : type == nvml::CLOCK_MEM    ? d->appDefaultMem
                                                    : 0;
    if (v == 0) return nvml::ERROR_NOT_SUPPORTED;  // as on many consumer cards
    *mhz = v;
    return nvml::SUCCESS;
}

// FAKE_NVML_TEMPERATURE names a file whose number is every GPU's temperature, read at each
// call, so that a test can move it under a running service; "fail" there fails the read.
int temperatureOf(const FakeNvmlDevice* d, unsigned* t) {
    *t = d->temperature;
    const char* path = std::getenv("FAKE_NVML_TEMPERATURE");
    if (!path) return nvml::SUCCESS;
    std::FILE* f = std::fopen(path, "r");
    if (!f) return nvml::SUCCESS;
    char text[16] = {};
    const std::size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    if (n >= 4 && std::strncmp(text, "fail", 4) == 0) return nvml::ERROR_UNKNOWN;
    if (n > 0) *t = static_cast<unsigned>(std::atoi(text));
    return nvml::SUCCESS;
}

}  // namespace

EXPORT FakeNvmlState* fakeNvmlState() {
    return &g;
}

EXPORT void fakeNvmlReset() {
    g = FakeNvmlState{};
    g.count = 1;
    for (int i = 0; i < 4; ++i) g.dev[i] = typical(i);
    if (const char* v = std::getenv("FAKE_NVML_COUNT")) g.count = static_cast<unsigned>(std::atoi(v));
    if (const char* v = std::getenv("FAKE_NVML_INIT")) g.initReturn = std::atoi(v);
    if (const char* v = std::getenv("FAKE_NVML_DENY_SETTERS")) g.denySetters = std::atoi(v);
    if (const char* v = std::getenv("FAKE_NVML_CALLS")) std::snprintf(g.callFile, sizeof g.callFile, "%s", v);
}

__attribute__((constructor)) static void fakeNvmlLoad() {
    fakeNvmlReset();
}

EXPORT const char* nvmlErrorString(nvmlReturn_t r) {
    switch (r) {
        case nvml::SUCCESS:
            return "Success";
        case nvml::ERROR_NOT_SUPPORTED:
            return "Not Supported";
        case nvml::ERROR_NO_PERMISSION:
            return "Insufficient Permissions";
        case nvml::ERROR_GPU_IS_LOST:
            return "GPU is lost";
        case nvml::ERROR_DRIVER_NOT_LOADED:
            return "Driver Not Loaded";
        case nvml::ERROR_INVALID_ARGUMENT:
            return "Invalid Argument";
        default:
            return "Unknown Error";
    }
}

EXPORT nvmlReturn_t nvmlInit_v2() {
    ++g.calls;
    if (g.initReturn == nvml::SUCCESS) g.initialised = 1;
    return g.initReturn;
}

EXPORT nvmlReturn_t nvmlShutdown() {
    ++g.calls;
    g.initialised = 0;
    return nvml::SUCCESS;
}

#ifndef FAKE_NVML_NO_COUNT
EXPORT nvmlReturn_t nvmlDeviceGetCount_v2(unsigned* n) {
    if (const int r = gate(__func__, nullptr, nullptr)) return r;
    *n = g.count;
    return nvml::SUCCESS;
}
#endif

EXPORT nvmlReturn_t nvmlDeviceGetHandleByIndex_v2(unsigned i, nvmlDevice_t* h) {
    if (const int r = gate(__func__, nullptr, nullptr)) return r;
    if (i >= g.count || i >= 4) return nvml::ERROR_INVALID_ARGUMENT;
    *h = reinterpret_cast<nvmlDevice_t>(&g.dev[i]);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetName(nvmlDevice_t h, char* out, unsigned n) {
    GATE(h);
    std::snprintf(out, n, "%s", d->name);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetVbiosVersion(nvmlDevice_t h, char* out, unsigned n) {
    GATE(h);
    std::snprintf(out, n, "%s", d->vbios);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlSystemGetDriverVersion(char* out, unsigned n) {
    if (const int r = gate(__func__, nullptr, nullptr)) return r;
    std::snprintf(out, n, "%s", "550.54.14");
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetMemoryInfo(nvmlDevice_t h, nvmlMemory_t* m) {
    GATE(h);
    *m = {d->memTotal, d->memFree, d->memTotal - d->memFree};
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetMemoryBusWidth(nvmlDevice_t h, unsigned* w) {
    GATE(h);
    *w = d->busWidth;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetClockInfo(nvmlDevice_t h, unsigned type, unsigned* mhz) {
    GATE(h);
    unsigned* f = clockField(d, type, false);
    if (!f) return nvml::ERROR_INVALID_ARGUMENT;
    *mhz = *f;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetMaxClockInfo(nvmlDevice_t h, unsigned type, unsigned* mhz) {
    GATE(h);
    unsigned* f = clockField(d, type, true);
    if (!f) return nvml::ERROR_INVALID_ARGUMENT;
    *mhz = *f;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetDefaultApplicationsClock(nvmlDevice_t h, unsigned type, unsigned* mhz) {
    GATE(h);
    return appDefaultClock(d, type, mhz);
}

EXPORT nvmlReturn_t nvmlDeviceGetUtilizationRates(nvmlDevice_t h, nvmlUtilization_t* u) {
    GATE(h);
    *u = {d->utilGpu, d->utilMem};
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetTemperature(nvmlDevice_t h, unsigned sensor, unsigned* t) {
    GATE(h);
    if (sensor != nvml::TEMPERATURE_GPU) return nvml::ERROR_INVALID_ARGUMENT;
    return temperatureOf(d, t);
}

EXPORT nvmlReturn_t nvmlDeviceGetNumFans(nvmlDevice_t h, unsigned* n) {
    GATE(h);
    *n = d->numFans;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetFanSpeed_v2(nvmlDevice_t h, unsigned fan, unsigned* s) {
    GATE(h);
    if (fan >= d->numFans || fan >= 4) return nvml::ERROR_INVALID_ARGUMENT;
    *s = d->fanSpeed[fan];
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceSetFanSpeed_v2(nvmlDevice_t h, unsigned fan, unsigned speed) {
    SETTER_GATE(h, "SetFanSpeed dev%d fan%ld %ld", long(fan), long(speed));
    if (fan >= d->numFans || fan >= 4 || speed < d->minFan || speed > d->maxFan)
        return nvml::ERROR_INVALID_ARGUMENT;
    d->fanSpeed[fan] = speed;
    d->fanPolicy[fan] = nvml::FAN_POLICY_MANUAL;
    log("SetFanSpeed dev%d fan%ld %ld", indexOf(h), fan, speed);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceSetDefaultFanSpeed_v2(nvmlDevice_t h, unsigned fan) {
    SETTER_GATE(h, "SetDefaultFanSpeed dev%d fan%ld%.0ld", long(fan), long(0));
    if (fan >= d->numFans || fan >= 4) return nvml::ERROR_INVALID_ARGUMENT;
    d->fanPolicy[fan] = 0;
    log("SetDefaultFanSpeed dev%d fan%ld%.0ld", indexOf(h), fan, 0);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetPowerUsage(nvmlDevice_t h, unsigned* mw) {
    GATE(h);
    *mw = d->powerUsage;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetPowerManagementLimit(nvmlDevice_t h, unsigned* mw) {
    GATE(h);
    *mw = d->powerLimit;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetPowerManagementDefaultLimit(nvmlDevice_t h, unsigned* mw) {
    GATE(h);
    *mw = d->powerDefault;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceSetPowerManagementLimit(nvmlDevice_t h, unsigned mw) {
    SETTER_GATE(h, "SetPowerManagementLimit dev%d %ld%.0ld", long(mw), long(0));
    if (mw < d->powerMin || mw > d->powerMax) return nvml::ERROR_INVALID_ARGUMENT;
    d->powerLimit = mw;
    log("SetPowerManagementLimit dev%d %ld%.0ld", indexOf(h), mw, 0);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetGpcClkVfOffset(nvmlDevice_t h, int* v) {
    GATE(h);
    *v = d->gpcOffset;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetMemClkVfOffset(nvmlDevice_t h, int* v) {
    GATE(h);
    *v = d->memOffset;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceSetGpcClkVfOffset(nvmlDevice_t h, int v) {
    SETTER_GATE(h, "SetGpcClkVfOffset dev%d %ld%.0ld", long(v), long(0));
    d->gpcOffset = v;
    log("SetGpcClkVfOffset dev%d %ld%.0ld", indexOf(h), v, 0);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceSetMemClkVfOffset(nvmlDevice_t h, int v) {
    SETTER_GATE(h, "SetMemClkVfOffset dev%d %ld%.0ld", long(v), long(0));
    d->memOffset = v;
    log("SetMemClkVfOffset dev%d %ld%.0ld", indexOf(h), v, 0);
    return nvml::SUCCESS;
}

// The optional ones: a card or driver without them is what FAKE_NVML_MINIMAL stands for.
#ifndef FAKE_NVML_MINIMAL
EXPORT nvmlReturn_t nvmlDeviceGetUUID(nvmlDevice_t h, char* out, unsigned n) {
    GATE(h);
    // A test may fill the whole array to stand for a driver that leaves off the NUL.
    const std::size_t len = strnlen(d->uuid, sizeof d->uuid);
    if (n < len) return nvml::ERROR_INSUFFICIENT_SIZE;
    std::memcpy(out, d->uuid, len < n ? len + 1 : len);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetPciInfo_v3(nvmlDevice_t h, nvmlPciInfo_t* pci) {
    GATE(h);
    *pci = nvmlPciInfo_t{};
    pci->bus = d->pciBus;
    std::snprintf(pci->busIdLegacy, sizeof pci->busIdLegacy, "0000:%02X:00.0", d->pciBus);
    std::snprintf(pci->busId, sizeof pci->busId, "00000000:%02X:00.0", d->pciBus);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetClock(nvmlDevice_t h, unsigned type, unsigned id, unsigned* mhz) {
    GATE(h);
    if (id == nvml::CLOCK_ID_APP_CLOCK_DEFAULT) return appDefaultClock(d, type, mhz);
    unsigned* f = clockField(d, type, id != nvml::CLOCK_ID_CURRENT);
    if (!f || id > 3) return nvml::ERROR_INVALID_ARGUMENT;
    *mhz = *f;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetTemperatureV(nvmlDevice_t h, nvmlTemperature_t* t) {
    GATE(h);
    if (t->version != nvml::TEMPERATURE_V1) return nvml::ERROR_ARGUMENT_VERSION_MISMATCH;
    if (t->sensorType != nvml::TEMPERATURE_GPU) return nvml::ERROR_INVALID_ARGUMENT;
    unsigned celsius = 0;
    const int r = temperatureOf(d, &celsius);
    t->temperature = static_cast<int>(celsius);
    return r;
}

#ifndef FAKE_NVML_NO_CLOCK_OFFSETS
// The current offset calls check the range they report, as the driver does.
EXPORT nvmlReturn_t nvmlDeviceGetClockOffsets(nvmlDevice_t h, nvmlClockOffset_t* o) {
    GATE(h);
    if (o->version != nvml::CLOCK_OFFSET_V1) return nvml::ERROR_ARGUMENT_VERSION_MISMATCH;
    if (o->pstate != 0) return nvml::ERROR_INVALID_ARGUMENT;
    if (o->type == nvml::CLOCK_GRAPHICS)
        *o = {o->version, o->type, o->pstate, d->gpcOffset, d->gpcOffsetMin, d->gpcOffsetMax};
    else if (o->type == nvml::CLOCK_MEM)
        *o = {o->version, o->type, o->pstate, d->memOffset, d->memOffsetMin, d->memOffsetMax};
    else
        return nvml::ERROR_INVALID_ARGUMENT;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceSetClockOffsets(nvmlDevice_t h, nvmlClockOffset_t* o) {
    SETTER_GATE(h, "SetClockOffsets dev%d type%ld %ld", long(o->type), long(o->clockOffsetMHz));
    if (o->version != nvml::CLOCK_OFFSET_V1) return nvml::ERROR_ARGUMENT_VERSION_MISMATCH;
    int* value = o->type == nvml::CLOCK_GRAPHICS ? &d->gpcOffset
                 : o->type == nvml::CLOCK_MEM    ? &d->memOffset
                                                 : nullptr;
    const bool mem = o->type == nvml::CLOCK_MEM;
    if (!value || o->pstate != 0 || o->clockOffsetMHz < (mem ? d->memOffsetMin : d->gpcOffsetMin) ||
        o->clockOffsetMHz > (mem ? d->memOffsetMax : d->gpcOffsetMax))
        return nvml::ERROR_INVALID_ARGUMENT;
    *value = o->clockOffsetMHz;
    log("SetClockOffsets dev%d type%ld %ld", indexOf(h), o->type, o->clockOffsetMHz);
    return nvml::SUCCESS;
}
#endif

EXPORT nvmlReturn_t nvmlDeviceGetMinMaxClockOfPState(nvmlDevice_t h, unsigned type, unsigned pstate,
                                                     unsigned* lo, unsigned* hi) {
    GATE(h);
    if (pstate != 0) return nvml::ERROR_NOT_SUPPORTED;
    if (type == nvml::CLOCK_GRAPHICS) {
        *lo = d->p0MinGraphics;
        *hi = d->p0MaxGraphics;
    } else if (type == nvml::CLOCK_MEM) {
        *lo = d->p0MinMem;
        *hi = d->p0MaxMem;
    } else {
        return nvml::ERROR_INVALID_ARGUMENT;
    }
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetTemperatureThreshold(nvmlDevice_t h, unsigned type, unsigned* t) {
    GATE(h);
    switch (type) {
        case nvml::THRESHOLD_ACOUSTIC_MIN:
            *t = d->acousticMin;
            return nvml::SUCCESS;
        case nvml::THRESHOLD_ACOUSTIC_CURR:
            *t = d->acousticCurr;
            return nvml::SUCCESS;
        case nvml::THRESHOLD_ACOUSTIC_MAX:
            *t = d->acousticMax;
            return nvml::SUCCESS;
        default:
            return nvml::ERROR_NOT_SUPPORTED;
    }
}

EXPORT nvmlReturn_t nvmlDeviceSetTemperatureThreshold(nvmlDevice_t h, unsigned type, int* t) {
    SETTER_GATE(h, "SetTemperatureThreshold dev%d %ld %ld", long(type), long(*t));
    if (type != nvml::THRESHOLD_ACOUSTIC_CURR) return nvml::ERROR_NOT_SUPPORTED;
    if (*t < static_cast<int>(d->acousticMin) || *t > static_cast<int>(d->acousticMax))
        return nvml::ERROR_INVALID_ARGUMENT;
    d->acousticCurr = static_cast<unsigned>(*t);
    log("SetTemperatureThreshold dev%d %ld %ld", indexOf(h), type, *t);
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetMinMaxFanSpeed(nvmlDevice_t h, unsigned* lo, unsigned* hi) {
    GATE(h);
    *lo = d->minFan;
    *hi = d->maxFan;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetFanControlPolicy_v2(nvmlDevice_t h, unsigned fan, unsigned* p) {
    GATE(h);
    if (fan >= d->numFans || fan >= 4) return nvml::ERROR_INVALID_ARGUMENT;
    *p = d->fanPolicy[fan];
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetFanSpeedRPM(nvmlDevice_t h, nvmlFanSpeedInfo_t* info) {
    GATE(h);
    if (info->version != nvml::FAN_SPEED_INFO_V1) return nvml::ERROR_ARGUMENT_VERSION_MISMATCH;
    info->speed = d->fanRpm;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetPowerManagementLimitConstraints(nvmlDevice_t h, unsigned* lo, unsigned* hi) {
    GATE(h);
    *lo = d->powerMin;
    *hi = d->powerMax;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetGpcClkMinMaxVfOffset(nvmlDevice_t h, int* lo, int* hi) {
    GATE(h);
    *lo = d->gpcOffsetMin;
    *hi = d->gpcOffsetMax;
    return nvml::SUCCESS;
}

EXPORT nvmlReturn_t nvmlDeviceGetMemClkMinMaxVfOffset(nvmlDevice_t h, int* lo, int* hi) {
    GATE(h);
    *lo = d->memOffsetMin;
    *hi = d->memOffsetMax;
    return nvml::SUCCESS;
}
#endif
