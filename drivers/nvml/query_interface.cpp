// The library's one export, and the interfaces that concern the bridge as a whole.
#include <cstring>

#include "bridge.h"
#include "interfaces.h"

namespace nvml_bridge {

int32_t initialize() {
    return bridge().initialize();
}
int32_t unload() {
    return bridge().unload();
}

int32_t getErrorMessage(int32_t status, char text[SHORT_STRING]) {
    if (!text) return bridge().own(INVALID_ARGUMENT);
    bridge().errorText(status, text, SHORT_STRING);
    return OK;
}

int32_t enumPhysicalGpus(NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS], int32_t* count) {
    Bridge& b = bridge();
    if (!handles || !count) return b.own(INVALID_ARGUMENT);
    if (!b.initialized()) return b.own(API_NOT_INITIALIZED);
    const auto n = static_cast<unsigned>(b.devices().size());
    for (unsigned i = 0; i < n; ++i) handles[i] = Bridge::handleOf(i);
    *count = static_cast<int32_t>(n);
    return n == 0 ? b.own(NVIDIA_DEVICE_NOT_FOUND) : OK;
}

namespace {

void* lookup(uint32_t id) {
    switch (id) {
        case ID_Initialize:
            return reinterpret_cast<void*>(&initialize);
        case ID_Unload:
            return reinterpret_cast<void*>(&unload);
        case ID_GetErrorMessage:
            return reinterpret_cast<void*>(&getErrorMessage);
        case ID_EnumPhysicalGPUs:
            return reinterpret_cast<void*>(&enumPhysicalGpus);
        case ID_GPU_GetFullName:
            return reinterpret_cast<void*>(&getFullName);
        case ID_GPU_GetVbiosVersionString:
            return reinterpret_cast<void*>(&getVbiosVersionString);
        case ID_GPU_GetRamType:
            return reinterpret_cast<void*>(&getRamType);
        case ID_GPU_GetRamBusWidth:
            return reinterpret_cast<void*>(&getRamBusWidth);
        case ID_GPU_GetMemoryInfo:
            return reinterpret_cast<void*>(&getMemoryInfo);
        case ID_SYS_GetDriverVersion:
            return reinterpret_cast<void*>(&getDriverVersion);
        case ID_SYS_GetChipSetInfo:
            return reinterpret_cast<void*>(&getChipSetInfo);
        case ID_GPU_GetAllClockFrequencies:
            return reinterpret_cast<void*>(&getAllClockFrequencies);
        case ID_GPU_GetPstates20:
            return reinterpret_cast<void*>(&getPstates20);
        case ID_GPU_SetPstates20:
            return reinterpret_cast<void*>(&setPstates20);
        case ID_GPU_EnableOverclockedPstates:
            return reinterpret_cast<void*>(&enableOverclockedPstates);
        case ID_GPU_GetDynamicPstatesInfoEx:
            return reinterpret_cast<void*>(&getDynamicPstatesInfoEx);
        case ID_GPU_GetThermalSettings:
            return reinterpret_cast<void*>(&getThermalSettings);
        case ID_GPU_GetVoltageStatus:
            return reinterpret_cast<void*>(&getVoltageStatus);
        case ID_GPU_GetTachReading:
            return reinterpret_cast<void*>(&getTachReading);
        case ID_GPU_GetCoolerSettings:
            return reinterpret_cast<void*>(&getCoolerSettings);
        case ID_GPU_SetCoolerLevels:
            return reinterpret_cast<void*>(&setCoolerLevels);
        case ID_GPU_PowerTopologyGetInfo:
            return reinterpret_cast<void*>(&powerTopologyGetInfo);
        case ID_GPU_PowerTopologyGetStatus:
            return reinterpret_cast<void*>(&powerTopologyGetStatus);
        case ID_GPU_PowerPoliciesGetInfo:
            return reinterpret_cast<void*>(&powerPoliciesGetInfo);
        case ID_GPU_PowerPoliciesGetStatus:
            return reinterpret_cast<void*>(&powerPoliciesGetStatus);
        case ID_GPU_PowerPoliciesSetStatus:
            return reinterpret_cast<void*>(&powerPoliciesSetStatus);
        case ID_GPU_ThermalPoliciesGetInfo:
            return reinterpret_cast<void*>(&thermalPoliciesGetInfo);
        case ID_GPU_ThermalPoliciesGetStatus:
            return reinterpret_cast<void*>(&thermalPoliciesGetStatus);
        case ID_GPU_ThermalPoliciesSetStatus:
            return reinterpret_cast<void*>(&thermalPoliciesSetStatus);
        case ID_VT_GPU_GetIdentity:
            return reinterpret_cast<void*>(&getIdentity);
        case ID_VT_GPU_GetPowerWatts:
            return reinterpret_cast<void*>(&getPowerWatts);
        case ID_VT_GPU_KeepSettings:
            return reinterpret_cast<void*>(&keepSettings);
        case ID_VT_GPU_GetServiceStatus:
            return reinterpret_cast<void*>(&getServiceStatus);
        default:
            return nullptr;
    }
}

}  // namespace
}  // namespace nvml_bridge

extern "C" __attribute__((visibility("default"))) void* nvapi_QueryInterface(uint32_t id) {
    return nvml_bridge::lookup(id);
}
