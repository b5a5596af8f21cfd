#include "interfaces.h"

#include <iterator>

#include "api.h"

namespace sim {

namespace {

template <typename F>
void* fn(F f) {
    return reinterpret_cast<void*>(f);
}

using namespace nvapi;

const InterfaceInfo kInterfaces[] = {
    {ID_Initialize, "Initialize", fn(&api::initialize), {}},
    {ID_Unload, "Unload", fn(&api::unload), {}},
    {ID_GetErrorMessage, "GetErrorMessage", fn(&api::getErrorMessage), {}},
    {ID_EnumPhysicalGPUs, "EnumPhysicalGPUs", fn(&api::enumPhysicalGpus), {}},
    {ID_GPU_GetFullName, "GPU_GetFullName", fn(&api::getFullName), {}},
    {ID_GPU_GetVbiosVersionString, "GPU_GetVbiosVersionString", fn(&api::getVbiosVersionString), {}},
    {ID_GPU_GetRamType, "GPU_GetRamType", fn(&api::getRamType), {}},
    {ID_GPU_GetRamBusWidth, "GPU_GetRamBusWidth", fn(&api::getRamBusWidth), {}},
    {ID_GPU_GetMemoryInfo, "GPU_GetMemoryInfo", fn(&api::getMemoryInfo), {{2, 24}, {1, 20}}},
    {ID_SYS_GetDriverVersion, "SYS_GetDriverVersion", fn(&api::getDriverVersion), {{1, 140}}},
    {ID_SYS_GetChipSetInfo, "SYS_GetChipSetInfo", fn(&api::getChipSetInfo), {{4, 232}, {3, 216}, {2, 144}}},
    {ID_GPU_GetAllClockFrequencies,
     "GPU_GetAllClockFrequencies",
     fn(&api::getAllClockFrequencies),
     {{2, 264}}},
    {ID_GPU_GetPstates20, "GPU_GetPstates20", fn(&api::getPstates20), {{2, 7416}, {1, 7316}}},
    {ID_GPU_SetPstates20, "GPU_SetPstates20", fn(&api::setPstates20), {{2, 7416}, {1, 7316}}},
    {ID_GPU_EnableOverclockedPstates, "GPU_EnableOverclockedPstates", fn(&api::enableOverclockedPstates), {}},
    {ID_GPU_GetDynamicPstatesInfoEx,
     "GPU_GetDynamicPstatesInfoEx",
     fn(&api::getDynamicPstatesInfoEx),
     {{1, 72}}},
    {ID_GPU_GetThermalSettings, "GPU_GetThermalSettings", fn(&api::getThermalSettings), {{2, 68}}},
    {ID_GPU_GetVoltageStatus, "GPU_GetVoltageStatus", fn(&api::getVoltageStatus), {{1, 140}}},
    {ID_GPU_GetTachReading, "GPU_GetTachReading", fn(&api::getTachReading), {}},
    {ID_GPU_GetCoolerSettings,
     "GPU_GetCoolerSettings",
     fn(&api::getCoolerSettings),
     {{3, 1288}, {1, 152}, {2, 968}}},
    {ID_GPU_SetCoolerLevels, "GPU_SetCoolerLevels", fn(&api::setCoolerLevels), {{1, 164}}},
    {ID_GPU_PowerTopologyGetInfo, "GPU_PowerTopologyGetInfo", fn(&api::powerTopologyGetInfo), {{1, 24}}},
    {ID_GPU_PowerTopologyGetStatus,
     "GPU_PowerTopologyGetStatus",
     fn(&api::powerTopologyGetStatus),
     {{1, 72}}},
    {ID_GPU_PowerPoliciesGetInfo, "GPU_PowerPoliciesGetInfo", fn(&api::powerPoliciesGetInfo), {{1, 184}}},
    {ID_GPU_PowerPoliciesGetStatus,
     "GPU_PowerPoliciesGetStatus",
     fn(&api::powerPoliciesGetStatus),
     {{1, 72}}},
    {ID_GPU_PowerPoliciesSetStatus,
     "GPU_PowerPoliciesSetStatus",
     fn(&api::powerPoliciesSetStatus),
     {{1, 72}}},
    {ID_GPU_ThermalPoliciesGetInfo,
     "GPU_ThermalPoliciesGetInfo",
     fn(&api::thermalPoliciesGetInfo),
     {{2, 104}}},
    {ID_GPU_ThermalPoliciesGetStatus,
     "GPU_ThermalPoliciesGetStatus",
     fn(&api::thermalPoliciesGetStatus),
     {{2, 56}}},
    {ID_GPU_ThermalPoliciesSetStatus,
     "GPU_ThermalPoliciesSetStatus",
     fn(&api::thermalPoliciesSetStatus),
     {{2, 56}}},
    {ID_VT_GPU_GetIdentity, "VT_GPU_GetIdentity", fn(&api::getIdentity), {{1, 132}}},
    {ID_VT_GPU_GetPowerWatts, "VT_GPU_GetPowerWatts", fn(&api::getPowerWatts), {{1, 28}}},
};

}  // namespace

const InterfaceInfo* findInterface(uint32_t id) {
    for (const InterfaceInfo& info : kInterfaces) {
        if (info.id == id) return &info;
    }
    return nullptr;
}

const InterfaceInfo* findInterface(std::string_view name) {
    for (const InterfaceInfo& info : kInterfaces) {
        if (info.name == name) return &info;
    }
    return nullptr;
}

bool contractListsVersion(const InterfaceInfo& info, uint32_t versionWord) {
    for (const StructVersion& v : info.versions) {
        if (v.size == 0) break;
        if (v.number == versionNumber(versionWord) && v.size == versionSize(versionWord)) return true;
    }
    return false;
}

}  // namespace sim

extern "C" __attribute__((visibility("default"))) void* nvapi_QueryInterface(uint32_t id) {
    const sim::InterfaceInfo* info = sim::findInterface(id);
    return info ? info->function : nullptr;
}
