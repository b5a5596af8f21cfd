// The contract between the GPU layer and a driver library: interface IDs,
// statuses and every structure passed through nvapi_QueryInterface.
// Shared by the program and by each library under drivers/.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// Physical GPU handles are opaque, pointer-sized values owned by the driver.
typedef struct NvPhysicalGpu_* NvPhysicalGpuHandle;

// The one symbol every driver library exports.
typedef void* (*NvQueryInterfaceFn)(uint32_t id);
#define NVAPI_QUERY_INTERFACE_SYMBOL "nvapi_QueryInterface"

}  // extern "C"

namespace nvapi {

// ---- statuses ---------------------------------------------------------------
enum Status : int32_t {
    OK = 0,
    ERROR = -1,
    LIBRARY_NOT_FOUND = -2,
    NO_IMPLEMENTATION = -3,
    API_NOT_INITIALIZED = -4,
    INVALID_ARGUMENT = -5,
    NVIDIA_DEVICE_NOT_FOUND = -6,
    INCOMPATIBLE_STRUCT_VERSION = -9,
    HANDLE_INVALIDATED = -10,
    EXPECTED_PHYSICAL_GPU_HANDLE = -101,
    NOT_SUPPORTED = -104,
    INVALID_USER_PRIVILEGE = -137,
};

constexpr int MAX_PHYSICAL_GPUS = 64;
constexpr int SHORT_STRING = 64;

constexpr uint32_t makeVersion(uint32_t size, uint32_t version) {
    return size | (version << 16);
}
constexpr uint32_t versionSize(uint32_t word) {
    return word & 0xFFFFu;
}
constexpr uint32_t versionNumber(uint32_t word) {
    return word >> 16;
}

// ---- the interface table ------------------------------------------------------
// One row per interface: its name (the ID is ID_<name>), its ID, its function type, and the
// structure versions the contract accepts (none for calls without a versioned structure).
// The IDs, the GPU layer's binding and both driver libraries' tables are all made from it.
// The VT_ rows are this program's own extension, not NVIDIA's: IDs chosen apart from all the
// others. A library that lacks them (NVIDIA's own among them) resolves no function for them,
// which the GPU layer takes as "not supported"; the values they give are then unknown.
#define NVAPI_INTERFACES(X)                                                                               \
    X(Initialize, 0x0150E828, InitializeFn)                                                               \
    X(Unload, 0xD22BDD7E, UnloadFn)                                                                       \
    X(GetErrorMessage, 0x6C2D048C, GetErrorMessageFn)                                                     \
    X(EnumPhysicalGPUs, 0xE5AC921F, EnumPhysicalGPUsFn)                                                   \
    X(GPU_GetFullName, 0xCEEE8E9F, GetFullNameFn)                                                         \
    X(GPU_GetVbiosVersionString, 0xA561FD7D, GetVbiosVersionStringFn)                                     \
    X(GPU_GetRamType, 0x57F7CAAC, GetRamTypeFn)                                                           \
    X(GPU_GetRamBusWidth, 0x11104158, GetRamBusWidthFn)                                                   \
    X(GPU_GetMemoryInfo, 0x774AA982, GetMemoryInfoFn, MEMORY_INFO_VER2, MEMORY_INFO_VER1)                 \
    X(SYS_GetDriverVersion, 0xF951A4D1, GetDriverVersionFn, DISPLAY_DRIVER_VERSION_VER)                   \
    X(SYS_GetChipSetInfo, 0x53DABBCA, GetChipSetInfoFn, CHIPSET_INFO_VER4, CHIPSET_INFO_VER3,             \
      CHIPSET_INFO_VER2)                                                                                  \
    X(GPU_GetAllClockFrequencies, 0xDCB616C3, GetAllClockFrequenciesFn, CLOCK_FREQUENCIES_VER)            \
    X(GPU_GetPstates20, 0x6FF81213, GetPstates20Fn, PSTATES20_VER2, PSTATES20_VER1)                       \
    X(GPU_SetPstates20, 0x0F4DAE6B, SetPstates20Fn, PSTATES20_VER2, PSTATES20_VER1)                       \
    X(GPU_EnableOverclockedPstates, 0xB23B70EE, EnableOverclockedPstatesFn)                               \
    X(GPU_GetDynamicPstatesInfoEx, 0x60DED2ED, GetDynamicPstatesInfoExFn, DYNAMIC_PSTATES_VER)            \
    X(GPU_GetThermalSettings, 0xE3640A56, GetThermalSettingsFn, THERMAL_SETTINGS_VER)                     \
    X(GPU_GetVoltageStatus, 0xC16C7E2C, GetVoltageStatusFn, VOLTAGE_STATUS_VER)                           \
    X(GPU_GetTachReading, 0x5F608315, GetTachReadingFn)                                                   \
    X(GPU_GetCoolerSettings, 0xDA141340, GetCoolerSettingsFn, COOLER_SETTINGS_VER3, COOLER_SETTINGS_VER1, \
      COOLER_SETTINGS_VER2)                                                                               \
    X(GPU_SetCoolerLevels, 0x891FA0AE, SetCoolerLevelsFn, COOLER_LEVELS_VER)                              \
    X(GPU_PowerTopologyGetInfo, 0xA4DFD3F2, PowerTopologyGetInfoFn, POWER_TOPOLOGY_INFO_VER)              \
    X(GPU_PowerTopologyGetStatus, 0xEDCF624E, PowerTopologyGetStatusFn, POWER_TOPOLOGY_STATUS_VER)        \
    X(GPU_PowerPoliciesGetInfo, 0x34206D86, PowerPoliciesGetInfoFn, POWER_POLICY_INFO_VER)                \
    X(GPU_PowerPoliciesGetStatus, 0x70916171, PowerPoliciesGetStatusFn, POWER_POLICY_STATUS_VER)          \
    X(GPU_PowerPoliciesSetStatus, 0xAD95F5ED, PowerPoliciesSetStatusFn, POWER_POLICY_STATUS_VER)          \
    X(GPU_ThermalPoliciesGetInfo, 0x0D258BB5, ThermalPoliciesGetInfoFn, THERMAL_POLICY_INFO_VER)          \
    X(GPU_ThermalPoliciesGetStatus, 0xE9C425A1, ThermalPoliciesGetStatusFn, THERMAL_POLICY_STATUS_VER)    \
    X(GPU_ThermalPoliciesSetStatus, 0x34C0B13D, ThermalPoliciesSetStatusFn, THERMAL_POLICY_STATUS_VER)    \
    X(VT_GPU_GetIdentity, 0x56540001, GetIdentityFn, GPU_IDENTITY_VER)                                    \
    X(VT_GPU_GetPowerWatts, 0x56540002, GetPowerWattsFn, POWER_WATTS_VER)                                 \
    X(VT_GPU_KeepSettings, 0x56540003, KeepSettingsFn, KEPT_SETTINGS_VER)                                 \
    X(VT_GPU_GetServiceStatus, 0x56540004, GetServiceStatusFn, SERVICE_STATUS_VER)

enum InterfaceId : uint32_t {
#define NVAPI_INTERFACE_ID(name, id, ...) ID_##name = id,
    NVAPI_INTERFACES(NVAPI_INTERFACE_ID)
#undef NVAPI_INTERFACE_ID
};

// ---- structures ---------------------------------------------------------------
// Each starts with a version word = size in bytes + (version << 16).

// 0xE3640A56, version 2, 68 bytes. Called with sensor index 0, count preset to 3.
struct ThermalSensor {
    int32_t controller;
    int32_t defaultMinTemp;
    int32_t defaultMaxTemp;
    int32_t currentTemp;
    int32_t target;  // 1 = GPU
};
struct ThermalSettings {
    uint32_t version;
    uint32_t count;
    ThermalSensor sensor[3];
};
static_assert(sizeof(ThermalSettings) == 68);
constexpr uint32_t THERMAL_SETTINGS_VER = makeVersion(68, 2);
constexpr int32_t THERMAL_TARGET_GPU = 1;

// 0xDCB616C3, version 2, 264 bytes. flags bits 0-1: clock type (0 current, 1 base, 2 boost).
struct ClockDomain {
    uint32_t flags;      // bit 0: present
    uint32_t frequency;  // kHz
};
struct ClockFrequencies {
    uint32_t version;
    uint32_t flags;
    ClockDomain domain[32];
};
static_assert(sizeof(ClockFrequencies) == 264);
constexpr uint32_t CLOCK_FREQUENCIES_VER = makeVersion(264, 2);
constexpr int CLOCK_DOMAIN_GRAPHICS = 0;
constexpr int CLOCK_DOMAIN_MEMORY = 4;
constexpr int CLOCK_DOMAIN_PROCESSOR = 7;

// 0x60DED2ED, version 1, 72 bytes. Entry 0 GPU, 1 frame buffer.
struct UtilizationDomain {
    uint32_t flags;  // bit 0: present
    uint32_t percentage;
};
struct DynamicPstatesInfo {
    uint32_t version;
    uint32_t flags;
    UtilizationDomain utilization[8];
};
static_assert(sizeof(DynamicPstatesInfo) == 72);
constexpr uint32_t DYNAMIC_PSTATES_VER = makeVersion(72, 1);

// 0x774AA982, version 2 (24 bytes) or 1 (20 bytes). Values in KB.
struct MemoryInfo {
    uint32_t version;
    uint32_t dedicatedVideoMemory;
    uint32_t availableDedicatedVideoMemory;
    uint32_t systemVideoMemory;
    uint32_t sharedSystemMemory;
    uint32_t curAvailableDedicatedVideoMemory;  // version 2 only
};
static_assert(sizeof(MemoryInfo) == 24);
constexpr uint32_t MEMORY_INFO_VER2 = makeVersion(24, 2);
constexpr uint32_t MEMORY_INFO_VER1 = makeVersion(20, 1);

// 0xC16C7E2C, version 1, 140 bytes.
struct VoltageEntry {
    uint32_t domain;
    uint32_t microvolts;
};
struct VoltageStatus {
    uint32_t version;
    uint32_t flags;
    uint32_t count;
    VoltageEntry entry[16];
};
static_assert(sizeof(VoltageStatus) == 140);
constexpr uint32_t VOLTAGE_STATUS_VER = makeVersion(140, 1);

// 0xDA141340, cooler target 7 (all). Version 3: 20 entries of 16 words (1288 bytes);
// version 1: 3 entries of 12 words (152 bytes); version 2: 20 entries of 12 words (968 bytes).
// The entry layouts differ, so the structure is a word array read through coolerWord().
struct CoolerSettings {
    uint32_t version;
    uint32_t count;
    uint32_t words[20 * 16];
};
static_assert(sizeof(CoolerSettings) == 1288);
constexpr uint32_t COOLER_SETTINGS_VER3 = makeVersion(1288, 3);
constexpr uint32_t COOLER_SETTINGS_VER1 = makeVersion(152, 1);
constexpr uint32_t COOLER_SETTINGS_VER2 = makeVersion(968, 2);
constexpr uint32_t COOLER_TARGET_ALL = 7;
enum CoolerField : int {
    COOLER_TYPE = 0,
    COOLER_CONTROLLER,
    COOLER_DEFAULT_MIN_LEVEL,
    COOLER_DEFAULT_MAX_LEVEL,
    COOLER_CURRENT_MIN_LEVEL,
    COOLER_CURRENT_MAX_LEVEL,
    COOLER_CURRENT_LEVEL,
    COOLER_DEFAULT_POLICY,
    COOLER_CURRENT_POLICY,
    COOLER_TARGET,
    COOLER_CONTROL_TYPE,
    COOLER_ACTIVE,
};
// Words per cooler entry for a structure version number (1, 2 or 3).
constexpr int coolerEntryWords(uint32_t versionNo) {
    return versionNo >= 3 ? 16 : 12;
}
constexpr int coolerMaxEntries(uint32_t versionNo) {
    return versionNo == 1 ? 3 : 20;
}
inline uint32_t& coolerWord(CoolerSettings& s, uint32_t versionNo, int cooler, CoolerField f) {
    return s.words[cooler * coolerEntryWords(versionNo) + f];
}
inline uint32_t coolerWord(const CoolerSettings& s, uint32_t versionNo, int cooler, CoolerField f) {
    return s.words[cooler * coolerEntryWords(versionNo) + f];
}

// 0x891FA0AE, version 1, 164 bytes.
struct CoolerLevel {
    uint32_t level;   // percent
    uint32_t policy;  // 1 = fixed (manual) level
};
struct CoolerLevels {
    uint32_t version;
    CoolerLevel cooler[20];
};
static_assert(sizeof(CoolerLevels) == 164);
constexpr uint32_t COOLER_LEVELS_VER = makeVersion(164, 1);
constexpr uint32_t COOLER_POLICY_MANUAL = 1;
// The policy under which the driver sets the level itself (what cards report as their default).
constexpr uint32_t COOLER_POLICY_DRIVER = 0x20;
// The target bit of a board's first cooler.
constexpr uint32_t COOLER_TARGET_FIRST = 1;

// 0xA4DFD3F2, version 1, 24 bytes.
struct PowerTopologyInfo {
    uint32_t version;
    uint8_t valid;
    uint8_t count;
    uint8_t reserved[2];
    uint32_t domain[4];
};
static_assert(sizeof(PowerTopologyInfo) == 24);
constexpr uint32_t POWER_TOPOLOGY_INFO_VER = makeVersion(24, 1);

// 0xEDCF624E, version 1, 72 bytes. Power in thousandths of a percent.
struct PowerTopologyEntry {
    uint32_t domain;
    uint32_t reserved;
    uint32_t power;
    uint32_t reserved2;
};
struct PowerTopologyStatus {
    uint32_t version;
    uint32_t count;
    PowerTopologyEntry entry[4];
};
static_assert(sizeof(PowerTopologyStatus) == 72);
constexpr uint32_t POWER_TOPOLOGY_STATUS_VER = makeVersion(72, 1);

// 0x34206D86, version 1, 184 bytes. Limits in thousandths of a percent.
struct PowerPolicyInfoEntry {
    uint32_t policyId;
    uint32_t domain;
    uint32_t reserved;
    uint32_t minPower;
    uint32_t reserved2[2];
    uint32_t defaultPower;
    uint32_t reserved3[2];
    uint32_t maxPower;
    uint32_t reserved4;
};
struct PowerPolicyInfo {
    uint32_t version;
    uint8_t valid;
    uint8_t count;
    uint8_t reserved[2];
    PowerPolicyInfoEntry entry[4];
};
static_assert(sizeof(PowerPolicyInfo) == 184);
constexpr uint32_t POWER_POLICY_INFO_VER = makeVersion(184, 1);

// 0x70916171 read, 0xAD95F5ED write, version 1, 72 bytes.
struct PowerPolicyStatusEntry {
    uint32_t policyId;
    uint32_t flags;  // bit 0 cleared on write
    uint32_t power;  // thousandths of a percent
    uint32_t reserved;
};
struct PowerPolicyStatus {
    uint32_t version;
    uint32_t count;
    PowerPolicyStatusEntry entry[4];
};
static_assert(sizeof(PowerPolicyStatus) == 72);
constexpr uint32_t POWER_POLICY_STATUS_VER = makeVersion(72, 1);

// 0x0D258BB5, version 2, 104 bytes. Temperatures in 1/256 °C.
struct ThermalPolicyInfoEntry {
    uint32_t controller;
    uint32_t reserved;
    int32_t minTemp;
    int32_t defaultTemp;
    int32_t maxTemp;
    uint32_t reserved2;
};
struct ThermalPolicyInfo {
    uint32_t version;
    uint8_t flags;  // bit 0: valid
    uint8_t count;
    uint8_t reserved[2];
    ThermalPolicyInfoEntry entry[4];
};
static_assert(sizeof(ThermalPolicyInfo) == 104);
constexpr uint32_t THERMAL_POLICY_INFO_VER = makeVersion(104, 2);

// 0xE9C425A1 read, 0x34C0B13D write, version 2, 56 bytes.
struct ThermalPolicyStatusEntry {
    uint32_t controller;
    int32_t targetTemp;  // 1/256 °C
    uint32_t flags;      // bit 0: priority flag
};
struct ThermalPolicyStatus {
    uint32_t version;
    uint8_t count;
    uint8_t reserved[3];
    ThermalPolicyStatusEntry entry[4];
};
static_assert(sizeof(ThermalPolicyStatus) == 56);
constexpr uint32_t THERMAL_POLICY_STATUS_VER = makeVersion(56, 2);
constexpr uint32_t THERMAL_CONTROLLER_GPU = 1;

// 0x6FF81213 read, 0x0F4DAE6B write. Version 2: 7416 bytes; version 1: 7316 bytes,
// ending before the over-voltage section.
struct Pstates20Delta {
    int32_t value;
    int32_t min;
    int32_t max;
};
struct Pstates20Clock {
    uint32_t domainId;  // 0 graphics, 4 memory
    uint32_t typeId;    // 0 single frequency, 1 range
    uint32_t flags;     // bit 0: editable
    Pstates20Delta freqDelta_kHz;
    union {
        struct {
            uint32_t freq_kHz;
            uint32_t unused[4];
        } single;
        struct {
            uint32_t minFreq_kHz;
            uint32_t maxFreq_kHz;
            uint32_t domainId;
            uint32_t minVoltage_uV;
            uint32_t maxVoltage_uV;
        } range;
    } data;
};
static_assert(sizeof(Pstates20Clock) == 44);
struct Pstates20Voltage {
    uint32_t domainId;  // 0 core
    uint32_t flags;     // bit 0: editable
    uint32_t volt_uV;
    Pstates20Delta voltDelta_uV;
};
static_assert(sizeof(Pstates20Voltage) == 24);
struct Pstates20Entry {
    uint32_t pstateId;  // 0 = P0
    uint32_t flags;     // bit 0: editable
    Pstates20Clock clocks[8];
    Pstates20Voltage baseVoltages[4];
};
static_assert(sizeof(Pstates20Entry) == 456);
struct Pstates20OverVoltage {
    uint32_t numVoltages;
    Pstates20Voltage voltages[4];
};
struct Pstates20Info {
    uint32_t version;
    uint32_t flags;  // bit 0: bIsEditable
    uint32_t numPstates;
    uint32_t numClocks;
    uint32_t numBaseVoltages;
    Pstates20Entry pstates[16];
    Pstates20OverVoltage overVoltage;  // version 2 only
};
static_assert(sizeof(Pstates20Info) == 7416);
static_assert(offsetof(Pstates20Info, overVoltage) == 7316);
constexpr uint32_t PSTATES20_VER2 = makeVersion(7416, 2);
constexpr uint32_t PSTATES20_VER1 = makeVersion(7316, 1);
constexpr uint32_t PSTATE_CLOCK_SINGLE = 0;
constexpr uint32_t PSTATE_CLOCK_RANGE = 1;

// 0xF951A4D1, called with display handle 0, version 1, 140 bytes.
struct DisplayDriverVersion {
    uint32_t version;
    uint32_t drvVersion;  // e.g. 31421 for 314.21
    uint32_t bldChangeListNum;
    char szBuildBranchString[SHORT_STRING];
    char szAdapterString[SHORT_STRING];
};
static_assert(sizeof(DisplayDriverVersion) == 140);
constexpr uint32_t DISPLAY_DRIVER_VERSION_VER = makeVersion(140, 1);

// 0x53DABBCA. Version 4: 232 bytes, 3: 216 bytes, 2: 144 bytes.
struct ChipsetInfo {
    uint32_t version;
    uint32_t vendorId;
    uint32_t deviceId;
    char szVendorName[SHORT_STRING];
    char szChipsetName[SHORT_STRING];
    uint32_t flags;  // end of version 2
    uint32_t subSysVendorId;
    uint32_t subSysDeviceId;
    char szSubSysVendorName[SHORT_STRING];  // end of version 3
    uint32_t HBvendorId;
    uint32_t HBdeviceId;
    uint32_t HBsubSysVendorId;
    uint32_t HBsubSysDeviceId;  // end of version 4
};
static_assert(sizeof(ChipsetInfo) == 232);
constexpr uint32_t CHIPSET_INFO_VER4 = makeVersion(232, 4);
constexpr uint32_t CHIPSET_INFO_VER3 = makeVersion(216, 3);
constexpr uint32_t CHIPSET_INFO_VER2 = makeVersion(144, 2);

// 0x56540001 (extension), version 1, 132 bytes. NUL-terminated texts, empty when unknown.
struct GpuIdentity {
    uint32_t version;
    char uuid[96];      // "GPU-" then 32 hex digits grouped 8-4-4-4-12
    char pciBusId[32];  // domain:bus:device.function, e.g. "00000000:01:00.0"
};
static_assert(sizeof(GpuIdentity) == 132);
constexpr uint32_t GPU_IDENTITY_VER = makeVersion(132, 1);

// 0x56540002 (extension), version 1, 28 bytes. Milliwatts; each value only where its flag is set.
struct PowerWatts {
    uint32_t version;
    uint32_t flags;  // POWER_WATTS_*
    uint32_t drawMw;
    uint32_t limitMw;  // the limit in force
    uint32_t defaultMw;
    uint32_t minMw;  // the range the limit may be set in
    uint32_t maxMw;
};
static_assert(sizeof(PowerWatts) == 28);
constexpr uint32_t POWER_WATTS_VER = makeVersion(28, 1);
constexpr uint32_t POWER_WATTS_DRAW = 1u << 0;
constexpr uint32_t POWER_WATTS_LIMIT = 1u << 1;
constexpr uint32_t POWER_WATTS_DEFAULT = 1u << 2;
constexpr uint32_t POWER_WATTS_RANGE = 1u << 3;  // minMw and maxMw

// A fan curve the service runs itself: the eight points (°C, %) and form of the settings
// document, its period, and what keeps the fan from hunting around a step.
struct KeptFanCurve {
    int32_t x[8];
    int32_t y[8];
    uint32_t stepped;      // 0: straight segments between the points, 1: steps
    uint32_t periodMs;     // KEPT_PERIOD_MIN_MS..KEPT_PERIOD_MAX_MS
    uint32_t hysteresisC;  // 0..KEPT_HYSTERESIS_MAX_C
    uint32_t minChangeMs;  // the least time between two level changes, 0..KEPT_MIN_CHANGE_MAX_MS
};
static_assert(sizeof(KeptFanCurve) == 80);
constexpr uint32_t KEPT_PERIOD_MIN_MS = 250;
constexpr uint32_t KEPT_PERIOD_MAX_MS = 60000;
constexpr uint32_t KEPT_HYSTERESIS_MAX_C = 20;
constexpr uint32_t KEPT_MIN_CHANGE_MAX_MS = 600000;

// 0x56540003 (extension), version 1, 112 bytes: values the root service keeps for a GPU and
// applies at every start. Only the fields named in `fields` are set; the others stay as kept.
// Answered NO_IMPLEMENTATION where no service runs.
struct KeptSettings {
    uint32_t version;
    uint32_t fields;  // KEPT_* bits
    int32_t gpuOffsetKHz;
    int32_t memOffsetKHz;
    uint32_t power;  // percent × 1000, as the power policy takes it
    int32_t tempTargetC;
    uint32_t fanMode;    // KEPT_FAN_*
    uint32_t fanLevel;   // percent, with KEPT_FAN_FIXED
    KeptFanCurve curve;  // with KEPT_FAN_CURVE
};
static_assert(sizeof(KeptSettings) == 112);
constexpr uint32_t KEPT_SETTINGS_VER = makeVersion(112, 1);
constexpr uint32_t KEPT_GPU_OFFSET = 1u << 0;
constexpr uint32_t KEPT_MEM_OFFSET = 1u << 1;
constexpr uint32_t KEPT_POWER = 1u << 2;
constexpr uint32_t KEPT_TEMP_TARGET = 1u << 3;
constexpr uint32_t KEPT_FAN = 1u << 4;
constexpr uint32_t KEPT_ALL = (1u << 5) - 1;
constexpr uint32_t KEPT_FAN_DRIVER = 0;
constexpr uint32_t KEPT_FAN_FIXED = 1;
constexpr uint32_t KEPT_FAN_CURVE = 2;

// 0x56540004 (extension), version 1, 340 bytes: what the service keeps and does for a GPU.
struct ServiceStatus {
    uint32_t version;
    KeptSettings kept;   // kept.fields 0: nothing kept
    uint32_t fanHolder;  // SERVICE_FAN_*
    int32_t holderUid;   // with SERVICE_FAN_CLIENT
    int32_t holderPid;
    int32_t curveTemperature;  // the service curve's last reading and level; -1 before any
    int32_t curveLevel;
    char id[96];  // the GPU's UUID (its PCI bus id where it has none) the settings are kept for
    char reserved[108];
};
static_assert(sizeof(ServiceStatus) == 340);
constexpr uint32_t SERVICE_STATUS_VER = makeVersion(340, 1);
constexpr uint32_t SERVICE_FAN_DRIVER = 0;
constexpr uint32_t SERVICE_FAN_CLIENT = 1;   // a client holds the fan at a manual level
constexpr uint32_t SERVICE_FAN_SERVICE = 2;  // the service runs its kept curve or level

// ---- function types, one per interface ID ----------------------------------
using InitializeFn = int32_t (*)();
using UnloadFn = int32_t (*)();
using GetErrorMessageFn = int32_t (*)(int32_t status, char text[SHORT_STRING]);
using EnumPhysicalGPUsFn = int32_t (*)(NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS], int32_t* count);
using GetFullNameFn = int32_t (*)(NvPhysicalGpuHandle, char name[SHORT_STRING]);
using GetVbiosVersionStringFn = int32_t (*)(NvPhysicalGpuHandle, char text[SHORT_STRING]);
using GetRamTypeFn = int32_t (*)(NvPhysicalGpuHandle, int32_t* type);
using GetRamBusWidthFn = int32_t (*)(NvPhysicalGpuHandle, uint32_t* width, uint32_t* location);
using GetMemoryInfoFn = int32_t (*)(NvPhysicalGpuHandle /*0: default GPU*/, MemoryInfo*);
using GetDriverVersionFn = int32_t (*)(void* displayHandle /*0*/, DisplayDriverVersion*);
using GetChipSetInfoFn = int32_t (*)(ChipsetInfo*);
using GetAllClockFrequenciesFn = int32_t (*)(NvPhysicalGpuHandle, ClockFrequencies*);
using GetPstates20Fn = int32_t (*)(NvPhysicalGpuHandle, Pstates20Info*);
using SetPstates20Fn = int32_t (*)(NvPhysicalGpuHandle, Pstates20Info*);
using EnableOverclockedPstatesFn = int32_t (*)(NvPhysicalGpuHandle, uint32_t enable);
using GetDynamicPstatesInfoExFn = int32_t (*)(NvPhysicalGpuHandle, DynamicPstatesInfo*);
using GetThermalSettingsFn = int32_t (*)(NvPhysicalGpuHandle, uint32_t sensorIndex, ThermalSettings*);
using GetVoltageStatusFn = int32_t (*)(NvPhysicalGpuHandle, VoltageStatus*);
using GetTachReadingFn = int32_t (*)(NvPhysicalGpuHandle, uint32_t* rpm);
using GetCoolerSettingsFn = int32_t (*)(NvPhysicalGpuHandle, uint32_t coolerTarget, CoolerSettings*);
using SetCoolerLevelsFn = int32_t (*)(NvPhysicalGpuHandle, uint32_t coolerTarget, CoolerLevels*);
using PowerTopologyGetInfoFn = int32_t (*)(NvPhysicalGpuHandle, PowerTopologyInfo*);
using PowerTopologyGetStatusFn = int32_t (*)(NvPhysicalGpuHandle, PowerTopologyStatus*);
using PowerPoliciesGetInfoFn = int32_t (*)(NvPhysicalGpuHandle, PowerPolicyInfo*);
using PowerPoliciesGetStatusFn = int32_t (*)(NvPhysicalGpuHandle, PowerPolicyStatus*);
using PowerPoliciesSetStatusFn = int32_t (*)(NvPhysicalGpuHandle, PowerPolicyStatus*);
using ThermalPoliciesGetInfoFn = int32_t (*)(NvPhysicalGpuHandle, ThermalPolicyInfo*);
using ThermalPoliciesGetStatusFn = int32_t (*)(NvPhysicalGpuHandle, ThermalPolicyStatus*);
using ThermalPoliciesSetStatusFn = int32_t (*)(NvPhysicalGpuHandle, ThermalPolicyStatus*);
using GetIdentityFn = int32_t (*)(NvPhysicalGpuHandle, GpuIdentity*);
using GetPowerWattsFn = int32_t (*)(NvPhysicalGpuHandle, PowerWatts*);
using KeepSettingsFn = int32_t (*)(NvPhysicalGpuHandle, KeptSettings*);
using GetServiceStatusFn = int32_t (*)(NvPhysicalGpuHandle, ServiceStatus*);

// ---- what the table gives every user ---------------------------------------------
// The function type of each interface ID.
template <uint32_t Id>
struct InterfaceOf;
#define NVAPI_INTERFACE_TYPE(name, id, fn, ...) \
    template <>                                 \
    struct InterfaceOf<ID_##name> {             \
        using Fn = fn;                          \
    };
NVAPI_INTERFACES(NVAPI_INTERFACE_TYPE)
#undef NVAPI_INTERFACE_TYPE

struct InterfaceSpec {
    uint32_t id;
    const char* name;      // without "ID_"
    uint32_t versions[3];  // version words; 0 ends the list
};

inline constexpr InterfaceSpec kInterfaceTable[] = {
#define NVAPI_INTERFACE_SPEC(name, id, fn, ...) {ID_##name, #name, {__VA_ARGS__}},
    NVAPI_INTERFACES(NVAPI_INTERFACE_SPEC)
#undef NVAPI_INTERFACE_SPEC
};
inline constexpr int INTERFACE_COUNT = int(sizeof(kInterfaceTable) / sizeof(kInterfaceTable[0]));

constexpr const InterfaceSpec* findInterfaceSpec(uint32_t id) {
    for (const InterfaceSpec& spec : kInterfaceTable) {
        if (spec.id == id) return &spec;
    }
    return nullptr;
}

constexpr bool interfaceIdsAreDistinct() {
    for (int i = 0; i < INTERFACE_COUNT; ++i) {
        for (int j = i + 1; j < INTERFACE_COUNT; ++j) {
            if (kInterfaceTable[i].id == kInterfaceTable[j].id) return false;
        }
    }
    return true;
}
static_assert(interfaceIdsAreDistinct());

// True when the version word is one the contract lists for the interface (number and size).
constexpr bool contractListsVersion(const InterfaceSpec& spec, uint32_t versionWord) {
    for (uint32_t listed : spec.versions) {
        if (listed == 0) break;
        if (listed == versionWord) return true;
    }
    return false;
}

// One driver function bound to its ID. Made only through bindInterface, whose parameter has
// the table's type for Id, so a function of another signature does not compile.
struct InterfaceBinding {
    uint32_t id;
    void* function;
};
template <uint32_t Id>
InterfaceBinding bindInterface(typename InterfaceOf<Id>::Fn function) {
    return {Id, reinterpret_cast<void*>(function)};
}

// The function bound to id in a driver's bindings; null for an ID it does not answer.
template <size_t N>
void* findBinding(const InterfaceBinding (&bindings)[N], uint32_t id) {
    for (const InterfaceBinding& b : bindings) {
        if (b.id == id) return b.function;
    }
    return nullptr;
}

}  // namespace nvapi
