#include "gpu/readings.h"

#include <algorithm>
#include <cstdio>

#include "gpu/diagnostics.h"
#include "gpu/driver_structs.h"
#include "gpu/fan_hand_back.h"
#include "gpu/kept_coolers.h"
#include "platform/message_box.h"
#include "platform/translation.h"

namespace gpu {

using namespace detail;

namespace {

// The GPU sensor's values; the result as readGpuTemperature gives it.
int32_t readTemperatureInto(TemperatureValues& values) {
    NvPhysicalGpuHandle local[nvapi::MAX_PHYSICAL_GPUS] = {};
    int32_t count = 0;
    int32_t status = nvCall<nvapi::ID_EnumPhysicalGPUs>(local, &count);
    if (status != nvapi::OK) {
        char text[nvapi::SHORT_STRING];
        driverErrorText(status, text);
        diagnostic("NVAPI Error: %s\n", text);
        return -1;
    }
    int index = globalContext().selectedIndex;
    NvPhysicalGpuHandle gpu = index >= 0 && index < nvapi::MAX_PHYSICAL_GPUS ? local[index] : nullptr;

    nvapi::ThermalSettings settings;
    prepare(settings, nvapi::THERMAL_SETTINGS_VER).count = 3;
    status = nvCall<nvapi::ID_GPU_GetThermalSettings>(gpu, 0u, &settings);
    if (status != nvapi::OK) return status;
    int n = bounded(settings.count, 3);
    for (int i = 0; i < n; ++i) {
        const nvapi::ThermalSensor& s = settings.sensor[i];
        if (s.target != nvapi::THERMAL_TARGET_GPU) continue;
        values = {s.currentTemp, s.defaultMinTemp, s.defaultMaxTemp};
        return s.currentTemp;
    }
    return -1;
}

}  // namespace

TemperatureValues temperatureValues(int32_t* result) {
    TemperatureValues values;
    // A negative current temperature is the driver's word too: only a failed read is absent.
    const int32_t r = readTemperatureInto(values);
    if (result) *result = r;
    return values;
}

int32_t readGpuTemperature(std::span<int32_t, 3> out) {
    TemperatureValues values;
    const int32_t result = readTemperatureInto(values);
    if (values.currentC) {
        out[0] = *values.currentC;
        out[1] = *values.defaultMinC;
        out[2] = *values.defaultMaxC;
    }
    return result;
}

ClockValues clockValues(const GpuContext& context, int clockType) {
    nvapi::ClockFrequencies clocks;
    prepare(clocks, nvapi::CLOCK_FREQUENCIES_VER).flags = uint32_t(clockType) & 3u;
    if (nvCall<nvapi::ID_GPU_GetAllClockFrequencies>(context.selectedHandle(), &clocks) != nvapi::OK)
        return {};
    return {int32_t(clocks.domain[nvapi::CLOCK_DOMAIN_GRAPHICS].frequency / 1000),
            int32_t(clocks.domain[nvapi::CLOCK_DOMAIN_MEMORY].frequency / 1000),
            int32_t(clocks.domain[nvapi::CLOCK_DOMAIN_PROCESSOR].frequency / 1000)};
}

bool readClocks(const GpuContext& context, std::span<int32_t, 3> out, int clockType) {
    const ClockValues values = clockValues(context, clockType);
    if (!values.gpuMhz) return false;
    out[0] = *values.gpuMhz;
    out[1] = *values.memoryMhz;
    out[2] = *values.shaderMhz;
    return true;
}

UsageValues usageValues() {
    nvapi::DynamicPstatesInfo info;
    if (nvCall<nvapi::ID_GPU_GetDynamicPstatesInfoEx>(
            gpuInUse(), &prepare(info, nvapi::DYNAMIC_PSTATES_VER)) != nvapi::OK)
        return {};
    UsageValues values;
    if (info.utilization[0].flags & 1u) values.gpuPercent = int32_t(info.utilization[0].percentage);
    if (info.utilization[1].flags & 1u) values.frameBufferPercent = int32_t(info.utilization[1].percentage);
    return values;
}

bool readGpuUsage(std::span<int32_t, 2> out) {
    const UsageValues values = usageValues();
    if (values.gpuPercent) out[0] = *values.gpuPercent;
    if (values.frameBufferPercent) out[1] = *values.frameBufferPercent;
    return values.gpuPercent || values.frameBufferPercent;
}

MemoryValues memoryValues() {
    nvapi::MemoryInfo memory;
    if (nvCall<nvapi::ID_GPU_GetMemoryInfo>(nullptr, &prepare(memory, nvapi::MEMORY_INFO_VER2)) != nvapi::OK)
        return {};
    return {int32_t(memory.dedicatedVideoMemory - memory.curAvailableDedicatedVideoMemory),
            int32_t(memory.curAvailableDedicatedVideoMemory), int32_t(memory.availableDedicatedVideoMemory)};
}

bool readMemoryUsage(std::span<int32_t, 3> out) {
    const MemoryValues values = memoryValues();
    if (!values.usedKb) return false;
    out[0] = *values.usedKb;
    out[1] = *values.freeKb;
    out[2] = *values.totalKb;
    return true;
}

namespace {

// True when the P-state table was read (readVoltage's result).
bool readVoltageInto(VoltageValues& values) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    nvapi::VoltageStatus status;
    if (nvCall<nvapi::ID_GPU_GetVoltageStatus>(gpu, &prepare(status, nvapi::VOLTAGE_STATUS_VER)) == nvapi::OK)
        values.currentUv = int32_t(status.entry[0].microvolts);
    nvapi::Pstates20Info table;
    if (readPstates20(gpu, table) != nvapi::OK) return false;
    // Every entry sets the range, so the last one's remains.
    forEachP0BaseVoltage(table, [&](const nvapi::Pstates20Voltage& v) {
        if (v.domainId == 0) values.baseUv = int32_t(v.volt_uV);
        values.lowestUv = addDelta(v.volt_uV, v.voltDelta_uV.min);
        values.highestUv = addDelta(v.volt_uV, v.voltDelta_uV.max);
    });
    return true;
}

}  // namespace

VoltageValues voltageValues() {
    VoltageValues values;
    readVoltageInto(values);
    return values;
}

bool readVoltage(std::span<int32_t, 4> out) {
    VoltageValues values;
    if (!readVoltageInto(values)) return false;
    if (values.baseUv) out[0] = *values.baseUv;
    out[1] = values.lowestUv.value_or(10000);
    out[2] = values.highestUv.value_or(0);
    out[3] = values.currentUv.value_or(0);
    return true;
}

namespace {

constexpr const char* kNvapiCaption = QT_TRANSLATE_NOOP("gpu", "NVAPI信息");

// Every successful read is kept for the hand-back; "not supported" is learnt.
int32_t readCoolers(NvPhysicalGpuHandle gpu, nvapi::CoolerSettings& coolers, uint32_t& versionNo) {
    const int32_t status = readCoolerSettings(
        [gpu](uint32_t target, nvapi::CoolerSettings* s) {
            return nvCall<nvapi::ID_GPU_GetCoolerSettings>(gpu, target, s);
        },
        coolers, versionNo);
    noteCoolerStatus(gpu, status);
    if (status == nvapi::OK) keepCoolerTable(gpu, coolers, versionNo);
    return status;
}

// The load of the driver in which a cooler-read box was shown since the last
// successful read; 0 when none was.
uint32_t g_boxShownIn = 0;

// The message box for a cooler-read status, if that status has one: once per
// failure episode (the first failure after a success, or of the driver's load);
// the later failures of the episode only print the text, so a reading that keeps
// failing never keeps a box in front of the user.
void reportCoolerFailure(int32_t status) {
    const char* text = nullptr;
    UINT flags = MB_ICONERROR;
    switch (status) {
        case nvapi::EXPECTED_PHYSICAL_GPU_HANDLE:
            text = QT_TRANSLATE_NOOP("gpu", " GPU物理地址无效.");
            break;
        case nvapi::HANDLE_INVALIDATED:
            text = QT_TRANSLATE_NOOP("gpu", "Handle passed has been invalidated .");
            break;
        case nvapi::INVALID_ARGUMENT:
            text = QT_TRANSLATE_NOOP("gpu", "程序参数错误.");
            flags = MB_ICONINFORMATION;
            break;
        case nvapi::ERROR: {
            char errorText[nvapi::SHORT_STRING];
            driverErrorText(status, errorText);
            text = QT_TRANSLATE_NOOP("gpu", "NVAPI读取GPU温度失败: ");
            break;
        }
        default:
            return;
    }
    if (g_boxShownIn != 0 && g_boxShownIn == DriverBinding::generation()) {
        diagnostic("%s: %s\n", kNvapiCaption, text);
        flushDiagnostics();  // seen while it happens, also in a log
        return;
    }
    g_boxShownIn = DriverBinding::generation();
    // Shown after the reading's step: a sampling or a tick never waits for the user.
    platform::MessageBoxLater(platform::translate("gpu", text), platform::translate("gpu", kNvapiCaption),
                              flags);
}

}  // namespace

namespace {

// True when the cooler settings were read (readFanStatus's result).
bool readFanInto(FanValues& values) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    uint32_t rpm = 0;
    if (nvCall<nvapi::ID_GPU_GetTachReading>(gpu, &rpm) == nvapi::OK) values.rpm = int32_t(rpm);

    nvapi::CoolerSettings coolers;
    uint32_t versionNo = 3;
    int32_t status = readCoolers(gpu, coolers, versionNo);
    if (status != nvapi::OK) {
        // After a version fallback the last answer only fails the reading.
        if (versionNo == 3) reportCoolerFailure(status);
        return false;
    }
    g_boxShownIn = 0;
    int n = bounded(coolers.count, nvapi::coolerMaxEntries(versionNo));
    if (n > 0) values.driverControlled = true;
    for (int i = 0; i < n; ++i) {
        if (nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_CURRENT_POLICY) ==
            nvapi::COOLER_POLICY_MANUAL)
            values.driverControlled = false;
        values.lowestPercent =
            int32_t(nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_DEFAULT_MIN_LEVEL));
        values.highestPercent =
            int32_t(nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_DEFAULT_MAX_LEVEL));
        values.levelPercent = int32_t(nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_CURRENT_LEVEL));
    }
    return true;
}

}  // namespace

FanValues fanValues() {
    FanValues values;
    readFanInto(values);
    return values;
}

bool readFanStatus(std::span<int32_t, 4> out) {
    FanValues values;
    const bool read = readFanInto(values);
    out[3] = values.rpm.value_or(0);
    if (values.levelPercent) {
        out[0] = *values.lowestPercent;
        out[1] = *values.highestPercent;
        out[2] = *values.levelPercent;
    }
    return read;
}

bool readFanLevelRange(std::span<int32_t, 2> out) {
    nvapi::CoolerSettings coolers;
    uint32_t versionNo = 3;
    if (readCoolers(gpuInUse(), coolers, versionNo) != nvapi::OK) return false;
    const int n = bounded(coolers.count, nvapi::coolerMaxEntries(versionNo));
    if (n == 0) return false;
    int64_t lowest = 0, highest = 100;
    for (int i = 0; i < n; ++i) {
        lowest = std::max<int64_t>(lowest,
                                   nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_DEFAULT_MIN_LEVEL));
        highest = std::min<int64_t>(
            highest, nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_DEFAULT_MAX_LEVEL));
    }
    out[0] = int32_t(lowest);
    out[1] = int32_t(highest);
    return true;
}

namespace {

// True when readPowerStatus would be.
bool readPowerInto(PowerValues& values) {
    NvPhysicalGpuHandle gpu = gpuInUse();

    diagnostic("Power topology info:\n");
    nvapi::PowerTopologyInfo topologyInfo;
    if (nvCall<nvapi::ID_GPU_PowerTopologyGetInfo>(
            gpu, &prepare(topologyInfo, nvapi::POWER_TOPOLOGY_INFO_VER)) != nvapi::OK ||
        topologyInfo.valid == 0)
        return false;

    diagnostic("Power topology status:\n");
    nvapi::PowerTopologyStatus topology;
    int topologyCount = bounded(topologyInfo.count, 4);
    prepare(topology, nvapi::POWER_TOPOLOGY_STATUS_VER).count = uint32_t(topologyCount);
    for (int i = 0; i < topologyCount; ++i) topology.entry[i].domain = topologyInfo.domain[i];
    if (nvCall<nvapi::ID_GPU_PowerTopologyGetStatus>(gpu, &topology) != nvapi::OK) return false;

    diagnostic("Power policy info:\n");
    nvapi::PowerPolicyInfo policyInfo;
    int32_t status =
        nvCall<nvapi::ID_GPU_PowerPoliciesGetInfo>(gpu, &prepare(policyInfo, nvapi::POWER_POLICY_INFO_VER));
    if (status != nvapi::OK) {
        diagnostic("API call failed with error %d\n", status);
        return false;
    }
    if (policyInfo.valid == 0) {
        diagnostic("  ... not available!\n");
        return false;
    }
    int policyCount = bounded(policyInfo.count, 4);
    for (int i = 0; i < policyCount; ++i) {
        values.minimumPercent = int32_t(policyInfo.entry[i].minPower / 1000);
        values.maximumPercent = int32_t(policyInfo.entry[i].maxPower / 1000);
        values.defaultPercent = int32_t(policyInfo.entry[i].defaultPower / 1000);
    }

    nvapi::PowerPolicyStatus policy;
    prepare(policy, nvapi::POWER_POLICY_STATUS_VER).count = uint32_t(policyCount);
    for (int i = 0; i < policyCount; ++i) policy.entry[i].policyId = policyInfo.entry[i].policyId;
    status = nvCall<nvapi::ID_GPU_PowerPoliciesGetStatus>(gpu, &policy);
    if (status != nvapi::OK) {
        diagnostic("API call failed with error %d\n", status);
        return false;
    }
    int statusCount = bounded(policy.count, 4);
    if (statusCount == 0) return true;
    int reportedTopology = bounded(topology.count, 4);
    uint32_t limit = 0;
    for (int i = 0; i < statusCount; ++i) {
        limit = policy.entry[i].power / 1000;
        for (int j = 0; j < reportedTopology; ++j) {
            if (topology.entry[j].domain == policyInfo.entry[i].domain) {
                values.drawPercent = int32_t(topology.entry[j].power / 1000);
                break;
            }
        }
    }
    values.limitPercent = int32_t(limit);
    return true;
}

}  // namespace

PowerValues powerValues() {
    PowerValues values;
    readPowerInto(values);
    return values;
}

bool readPowerStatus(std::span<int32_t, 5> out) {
    PowerValues values;
    const bool read = readPowerInto(values);
    const std::optional<int32_t>* fields[5] = {&values.minimumPercent, &values.maximumPercent,
                                               &values.defaultPercent, &values.limitPercent,
                                               &values.drawPercent};
    for (int i = 0; i < 5; ++i)
        if (*fields[i]) out[i] = **fields[i];
    return read;
}

}  // namespace gpu
