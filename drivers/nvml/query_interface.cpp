// The library's one export, and the interfaces that concern the bridge as a whole.
#include <cstring>
#include <iterator>

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

// Every interface of the contract, each function checked against its row's type.
const InterfaceBinding kBindings[] = {
    bindInterface<ID_Initialize>(&initialize),
    bindInterface<ID_Unload>(&unload),
    bindInterface<ID_GetErrorMessage>(&getErrorMessage),
    bindInterface<ID_EnumPhysicalGPUs>(&enumPhysicalGpus),
    bindInterface<ID_GPU_GetFullName>(&getFullName),
    bindInterface<ID_GPU_GetVbiosVersionString>(&getVbiosVersionString),
    bindInterface<ID_GPU_GetRamType>(&getRamType),
    bindInterface<ID_GPU_GetRamBusWidth>(&getRamBusWidth),
    bindInterface<ID_GPU_GetMemoryInfo>(&getMemoryInfo),
    bindInterface<ID_SYS_GetDriverVersion>(&getDriverVersion),
    bindInterface<ID_SYS_GetChipSetInfo>(&getChipSetInfo),
    bindInterface<ID_GPU_GetAllClockFrequencies>(&getAllClockFrequencies),
    bindInterface<ID_GPU_GetPstates20>(&getPstates20),
    bindInterface<ID_GPU_SetPstates20>(&setPstates20),
    bindInterface<ID_GPU_EnableOverclockedPstates>(&enableOverclockedPstates),
    bindInterface<ID_GPU_GetDynamicPstatesInfoEx>(&getDynamicPstatesInfoEx),
    bindInterface<ID_GPU_GetThermalSettings>(&getThermalSettings),
    bindInterface<ID_GPU_GetVoltageStatus>(&getVoltageStatus),
    bindInterface<ID_GPU_GetTachReading>(&getTachReading),
    bindInterface<ID_GPU_GetCoolerSettings>(&getCoolerSettings),
    bindInterface<ID_GPU_SetCoolerLevels>(&setCoolerLevels),
    bindInterface<ID_GPU_PowerTopologyGetInfo>(&powerTopologyGetInfo),
    bindInterface<ID_GPU_PowerTopologyGetStatus>(&powerTopologyGetStatus),
    bindInterface<ID_GPU_PowerPoliciesGetInfo>(&powerPoliciesGetInfo),
    bindInterface<ID_GPU_PowerPoliciesGetStatus>(&powerPoliciesGetStatus),
    bindInterface<ID_GPU_PowerPoliciesSetStatus>(&powerPoliciesSetStatus),
    bindInterface<ID_GPU_ThermalPoliciesGetInfo>(&thermalPoliciesGetInfo),
    bindInterface<ID_GPU_ThermalPoliciesGetStatus>(&thermalPoliciesGetStatus),
    bindInterface<ID_GPU_ThermalPoliciesSetStatus>(&thermalPoliciesSetStatus),
    bindInterface<ID_VT_GPU_GetIdentity>(&getIdentity),
    bindInterface<ID_VT_GPU_GetPowerWatts>(&getPowerWatts),
    bindInterface<ID_VT_GPU_KeepSettings>(&keepSettings),
    bindInterface<ID_VT_GPU_GetServiceStatus>(&getServiceStatus),
};
static_assert(std::size(kBindings) == size_t(INTERFACE_COUNT),
              "the bridge answers every interface of the contract");

}  // namespace
}  // namespace nvml_bridge

extern "C" __attribute__((visibility("default"))) void* nvapi_QueryInterface(uint32_t id) {
    return nvapi::findBinding(nvml_bridge::kBindings, id);
}
