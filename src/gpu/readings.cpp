#include "gpu/readings.h"

#include <algorithm>
#include <cstdio>

#include "gpu/driver_structs.h"
#include "gpu/fan_hand_back.h"
#include "gpu/kept_coolers.h"
#include "platform/message_box.h"

namespace gpu {

using namespace detail;

int32_t readGpuTemperature(std::span<int32_t, 3> out) {
    NvPhysicalGpuHandle local[nvapi::MAX_PHYSICAL_GPUS] = {};
    int32_t count = 0;
    int32_t status = nvCall<nvapi::ID_EnumPhysicalGPUs>(local, &count);
    if (status != nvapi::OK) {
        char text[nvapi::SHORT_STRING];
        driverErrorText(status, text);
        std::printf("NVAPI Error: %s\n", text);
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
        out[0] = s.currentTemp;
        out[1] = s.defaultMinTemp;
        out[2] = s.defaultMaxTemp;
        return s.currentTemp;
    }
    return -1;
}

bool readClocks(const GpuContext& context, std::span<int32_t, 3> out, int clockType) {
    nvapi::ClockFrequencies clocks;
    prepare(clocks, nvapi::CLOCK_FREQUENCIES_VER).flags = uint32_t(clockType) & 3u;
    if (nvCall<nvapi::ID_GPU_GetAllClockFrequencies>(context.selectedHandle(), &clocks) != nvapi::OK)
        return false;
    out[0] = int32_t(clocks.domain[nvapi::CLOCK_DOMAIN_GRAPHICS].frequency / 1000);
    out[1] = int32_t(clocks.domain[nvapi::CLOCK_DOMAIN_MEMORY].frequency / 1000);
    out[2] = int32_t(clocks.domain[nvapi::CLOCK_DOMAIN_PROCESSOR].frequency / 1000);
    return true;
}

bool readGpuUsage(std::span<int32_t, 2> out) {
    nvapi::DynamicPstatesInfo info;
    if (nvCall<nvapi::ID_GPU_GetDynamicPstatesInfoEx>(
            gpuInUse(), &prepare(info, nvapi::DYNAMIC_PSTATES_VER)) != nvapi::OK)
        return false;
    bool gpuPresent = info.utilization[0].flags & 1u;
    bool frameBufferPresent = info.utilization[1].flags & 1u;
    if (gpuPresent) out[0] = int32_t(info.utilization[0].percentage);
    if (frameBufferPresent) out[1] = int32_t(info.utilization[1].percentage);
    return gpuPresent || frameBufferPresent;
}

bool readMemoryUsage(std::span<int32_t, 3> out) {
    nvapi::MemoryInfo memory;
    if (nvCall<nvapi::ID_GPU_GetMemoryInfo>(nullptr, &prepare(memory, nvapi::MEMORY_INFO_VER2)) != nvapi::OK)
        return false;
    out[0] = int32_t(memory.dedicatedVideoMemory - memory.curAvailableDedicatedVideoMemory);
    out[1] = int32_t(memory.curAvailableDedicatedVideoMemory);
    out[2] = int32_t(memory.availableDedicatedVideoMemory);
    return true;
}

bool readVoltage(std::span<int32_t, 4> out) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    uint32_t current = currentMicrovolts(gpu);
    nvapi::Pstates20Info table;
    if (readPstates20(gpu, table) != nvapi::OK) return false;
    out[1] = 10000;
    out[2] = 0;
    // Every entry sets the range, so the last one's remains.
    forEachP0BaseVoltage(table, [&](const nvapi::Pstates20Voltage& v) {
        if (v.domainId == 0) out[0] = int32_t(v.volt_uV);
        out[1] = addDelta(v.volt_uV, v.voltDelta_uV.min);
        out[2] = addDelta(v.volt_uV, v.voltDelta_uV.max);
    });
    out[3] = int32_t(current);
    return true;
}

namespace {

constexpr const char* kNvapiCaption = "NVAPI信息";

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
            text = " GPU物理地址无效.";
            break;
        case nvapi::HANDLE_INVALIDATED:
            text = "Handle passed has been invalidated .";
            break;
        case nvapi::INVALID_ARGUMENT:
            text = "程序参数错误.";
            flags = MB_ICONINFORMATION;
            break;
        case nvapi::ERROR: {
            char errorText[nvapi::SHORT_STRING];
            driverErrorText(status, errorText);
            text = "NVAPI读取GPU温度失败: ";
            break;
        }
        default:
            return;
    }
    if (g_boxShownIn != 0 && g_boxShownIn == DriverBinding::generation()) {
        std::printf("%s: %s\n", kNvapiCaption, text);
        std::fflush(stdout);  // seen while it happens, also in a log
        return;
    }
    g_boxShownIn = DriverBinding::generation();
    // Shown after the reading's step: a sampling or a tick never waits for the user.
    platform::MessageBoxLater(text, kNvapiCaption, flags);
}

}  // namespace

bool readFanStatus(std::span<int32_t, 4> out) {
    NvPhysicalGpuHandle gpu = gpuInUse();
    uint32_t rpm = 0;
    nvCall<nvapi::ID_GPU_GetTachReading>(gpu, &rpm);
    out[3] = int32_t(rpm);

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
    for (int i = 0; i < n; ++i) {
        out[0] = int32_t(nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_DEFAULT_MIN_LEVEL));
        out[1] = int32_t(nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_DEFAULT_MAX_LEVEL));
        out[2] = int32_t(nvapi::coolerWord(coolers, versionNo, i, nvapi::COOLER_CURRENT_LEVEL));
    }
    return true;
}

bool readTachometer(int32_t& rpm) {
    uint32_t value = 0;
    if (nvCall<nvapi::ID_GPU_GetTachReading>(gpuInUse(), &value) != nvapi::OK) return false;
    rpm = int32_t(value);
    return true;
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

bool readPowerStatus(std::span<int32_t, 5> out) {
    NvPhysicalGpuHandle gpu = gpuInUse();

    std::fputs("Power topology info:\n", stdout);
    nvapi::PowerTopologyInfo topologyInfo;
    if (nvCall<nvapi::ID_GPU_PowerTopologyGetInfo>(
            gpu, &prepare(topologyInfo, nvapi::POWER_TOPOLOGY_INFO_VER)) != nvapi::OK ||
        topologyInfo.valid == 0)
        return false;

    std::fputs("Power topology status:\n", stdout);
    nvapi::PowerTopologyStatus topology;
    int topologyCount = bounded(topologyInfo.count, 4);
    prepare(topology, nvapi::POWER_TOPOLOGY_STATUS_VER).count = uint32_t(topologyCount);
    for (int i = 0; i < topologyCount; ++i) topology.entry[i].domain = topologyInfo.domain[i];
    if (nvCall<nvapi::ID_GPU_PowerTopologyGetStatus>(gpu, &topology) != nvapi::OK) return false;

    std::fputs("Power policy info:\n", stdout);
    nvapi::PowerPolicyInfo policyInfo;
    int32_t status =
        nvCall<nvapi::ID_GPU_PowerPoliciesGetInfo>(gpu, &prepare(policyInfo, nvapi::POWER_POLICY_INFO_VER));
    if (status != nvapi::OK) {
        std::printf("API call failed with error %d\n", status);
        return false;
    }
    if (policyInfo.valid == 0) {
        std::fputs("  ... not available!\n", stdout);
        return false;
    }
    int policyCount = bounded(policyInfo.count, 4);
    for (int i = 0; i < policyCount; ++i) {
        out[0] = int32_t(policyInfo.entry[i].minPower / 1000);
        out[1] = int32_t(policyInfo.entry[i].maxPower / 1000);
        out[2] = int32_t(policyInfo.entry[i].defaultPower / 1000);
    }

    nvapi::PowerPolicyStatus policy;
    prepare(policy, nvapi::POWER_POLICY_STATUS_VER).count = uint32_t(policyCount);
    for (int i = 0; i < policyCount; ++i) policy.entry[i].policyId = policyInfo.entry[i].policyId;
    status = nvCall<nvapi::ID_GPU_PowerPoliciesGetStatus>(gpu, &policy);
    if (status != nvapi::OK) {
        std::printf("API call failed with error %d\n", status);
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
                out[4] = int32_t(topology.entry[j].power / 1000);
                break;
            }
        }
    }
    out[3] = int32_t(limit);
    return true;
}

}  // namespace gpu
