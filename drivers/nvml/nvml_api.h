// The part of NVML's C interface the bridge uses, declared here because no NVML header ships
// with the build. Types and values follow NVIDIA's published header.
#pragma once

#include <cstdint>

extern "C" {

typedef struct nvmlDevice_st* nvmlDevice_t;
typedef int nvmlReturn_t;

struct nvmlMemory_t {
    unsigned long long total;
    unsigned long long free;
    unsigned long long used;
};

struct nvmlUtilization_t {
    unsigned int gpu;
    unsigned int memory;
};

struct nvmlFanSpeedInfo_t {
    unsigned int version;
    unsigned int fan;
    unsigned int speed;
};

struct nvmlTemperature_t {
    unsigned int version;
    unsigned int sensorType;
    int temperature;
};

struct nvmlClockOffset_t {
    unsigned int version;
    unsigned int type;
    unsigned int pstate;
    int clockOffsetMHz;
    int minClockOffsetMHz;
    int maxClockOffsetMHz;
};

struct nvmlPciInfo_t {
    char busIdLegacy[16];
    unsigned int domain;
    unsigned int bus;
    unsigned int device;
    unsigned int pciDeviceId;  // device << 16 | vendor
    unsigned int pciSubSystemId;
    char busId[32];  // "00000000:01:00.0"
};

}  // extern "C"

namespace nvml {

enum Return : nvmlReturn_t {
    SUCCESS = 0,
    ERROR_UNINITIALIZED = 1,
    ERROR_INVALID_ARGUMENT = 2,
    ERROR_NOT_SUPPORTED = 3,
    ERROR_NO_PERMISSION = 4,
    ERROR_ALREADY_INITIALIZED = 5,
    ERROR_NOT_FOUND = 6,
    ERROR_INSUFFICIENT_SIZE = 7,
    ERROR_INSUFFICIENT_POWER = 8,
    ERROR_DRIVER_NOT_LOADED = 9,
    ERROR_TIMEOUT = 10,
    ERROR_IRQ_ISSUE = 11,
    ERROR_LIBRARY_NOT_FOUND = 12,
    ERROR_FUNCTION_NOT_FOUND = 13,
    ERROR_CORRUPTED_INFOROM = 14,
    ERROR_GPU_IS_LOST = 15,
    ERROR_RESET_REQUIRED = 16,
    ERROR_OPERATING_SYSTEM = 17,
    ERROR_LIB_RM_VERSION_MISMATCH = 18,
    ERROR_IN_USE = 19,
    ERROR_MEMORY = 20,
    ERROR_NO_DATA = 21,
    ERROR_ARGUMENT_VERSION_MISMATCH = 25,
    ERROR_DEPRECATED = 26,
    ERROR_NOT_READY = 27,
    ERROR_GPU_NOT_FOUND = 28,
    ERROR_INVALID_STATE = 29,
    ERROR_UNKNOWN = 999,
};

enum ClockType : unsigned { CLOCK_GRAPHICS = 0, CLOCK_SM = 1, CLOCK_MEM = 2, CLOCK_VIDEO = 3 };
// Clock ids of nvmlDeviceGetClock.
constexpr unsigned CLOCK_ID_CURRENT = 0;
constexpr unsigned CLOCK_ID_APP_CLOCK_DEFAULT = 2;
constexpr unsigned TEMPERATURE_GPU = 0;
constexpr unsigned PSTATE_0 = 0;
enum TemperatureThreshold : unsigned {
    THRESHOLD_SHUTDOWN = 0,
    THRESHOLD_SLOWDOWN = 1,
    THRESHOLD_MEM_MAX = 2,
    THRESHOLD_GPU_MAX = 3,
    THRESHOLD_ACOUSTIC_MIN = 4,
    THRESHOLD_ACOUSTIC_CURR = 5,
    THRESHOLD_ACOUSTIC_MAX = 6,
};
constexpr unsigned FAN_POLICY_MANUAL = 1;

// Versioned structures carry size | (version << 24).
constexpr unsigned structVersion(unsigned size, unsigned version) {
    return size | (version << 24);
}
constexpr unsigned FAN_SPEED_INFO_V1 = structVersion(sizeof(nvmlFanSpeedInfo_t), 1);
constexpr unsigned CLOCK_OFFSET_V1 = structVersion(sizeof(nvmlClockOffset_t), 1);
constexpr unsigned TEMPERATURE_V1 = structVersion(sizeof(nvmlTemperature_t), 1);
static_assert(sizeof(nvmlFanSpeedInfo_t) == 12 && FAN_SPEED_INFO_V1 == 0x0100000Cu);
static_assert(sizeof(nvmlClockOffset_t) == 24 && CLOCK_OFFSET_V1 == 0x01000018u);
static_assert(sizeof(nvmlTemperature_t) == 12 && TEMPERATURE_V1 == 0x0100000Cu);
static_assert(sizeof(nvmlPciInfo_t) == 68);
constexpr unsigned UUID_BUFFER_SIZE = 96;

// Function types, named after the symbols.
using InitFn = nvmlReturn_t (*)();
using ShutdownFn = nvmlReturn_t (*)();
using ErrorStringFn = const char* (*)(nvmlReturn_t);
using GetCountFn = nvmlReturn_t (*)(unsigned*);
using GetHandleByIndexFn = nvmlReturn_t (*)(unsigned, nvmlDevice_t*);
using GetTextFn = nvmlReturn_t (*)(nvmlDevice_t, char*, unsigned);
using SystemGetDriverVersionFn = nvmlReturn_t (*)(char*, unsigned);
using GetMemoryInfoFn = nvmlReturn_t (*)(nvmlDevice_t, nvmlMemory_t*);
using GetUintFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned*);
using GetUintPairFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned*, unsigned*);
using GetIntFn = nvmlReturn_t (*)(nvmlDevice_t, int*);
using GetIntPairFn = nvmlReturn_t (*)(nvmlDevice_t, int*, int*);
using SetIntFn = nvmlReturn_t (*)(nvmlDevice_t, int);
using SetUintFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned);
using GetClockFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned type, unsigned*);
using GetClockByIdFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned type, unsigned id, unsigned*);
using GetMinMaxClockOfPStateFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned type, unsigned pstate, unsigned*,
                                                  unsigned*);
using GetUtilizationFn = nvmlReturn_t (*)(nvmlDevice_t, nvmlUtilization_t*);
using GetTemperatureFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned sensor, unsigned*);
using GetTemperatureVFn = nvmlReturn_t (*)(nvmlDevice_t, nvmlTemperature_t*);
using GetThresholdFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned type, unsigned*);
using SetThresholdFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned type, int*);
using GetFanUintFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned fan, unsigned*);
using SetFanSpeedFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned fan, unsigned speed);
using SetDefaultFanSpeedFn = nvmlReturn_t (*)(nvmlDevice_t, unsigned fan);
using GetFanSpeedRpmFn = nvmlReturn_t (*)(nvmlDevice_t, nvmlFanSpeedInfo_t*);
using ClockOffsetsFn = nvmlReturn_t (*)(nvmlDevice_t, nvmlClockOffset_t*);
using GetPciInfoFn = nvmlReturn_t (*)(nvmlDevice_t, nvmlPciInfo_t*);

}  // namespace nvml
