#include "interfaces.h"

#include <iterator>

#include "api.h"

namespace sim {

namespace {

using namespace nvapi;

// Every interface of the contract, each function checked against its row's type.
const InterfaceBinding kBindings[] = {
    bindInterface<ID_Initialize>(&api::initialize),
    bindInterface<ID_Unload>(&api::unload),
    bindInterface<ID_GetErrorMessage>(&api::getErrorMessage),
    bindInterface<ID_EnumPhysicalGPUs>(&api::enumPhysicalGpus),
    bindInterface<ID_GPU_GetFullName>(&api::getFullName),
    bindInterface<ID_GPU_GetVbiosVersionString>(&api::getVbiosVersionString),
    bindInterface<ID_GPU_GetRamType>(&api::getRamType),
    bindInterface<ID_GPU_GetRamBusWidth>(&api::getRamBusWidth),
    bindInterface<ID_GPU_GetMemoryInfo>(&api::getMemoryInfo),
    bindInterface<ID_SYS_GetDriverVersion>(&api::getDriverVersion),
    bindInterface<ID_SYS_GetChipSetInfo>(&api::getChipSetInfo),
    bindInterface<ID_GPU_GetAllClockFrequencies>(&api::getAllClockFrequencies),
    bindInterface<ID_GPU_GetPstates20>(&api::getPstates20),
    bindInterface<ID_GPU_SetPstates20>(&api::setPstates20),
    bindInterface<ID_GPU_EnableOverclockedPstates>(&api::enableOverclockedPstates),
    bindInterface<ID_GPU_GetDynamicPstatesInfoEx>(&api::getDynamicPstatesInfoEx),
    bindInterface<ID_GPU_GetThermalSettings>(&api::getThermalSettings),
    bindInterface<ID_GPU_GetVoltageStatus>(&api::getVoltageStatus),
    bindInterface<ID_GPU_GetTachReading>(&api::getTachReading),
    bindInterface<ID_GPU_GetCoolerSettings>(&api::getCoolerSettings),
    bindInterface<ID_GPU_SetCoolerLevels>(&api::setCoolerLevels),
    bindInterface<ID_GPU_PowerTopologyGetInfo>(&api::powerTopologyGetInfo),
    bindInterface<ID_GPU_PowerTopologyGetStatus>(&api::powerTopologyGetStatus),
    bindInterface<ID_GPU_PowerPoliciesGetInfo>(&api::powerPoliciesGetInfo),
    bindInterface<ID_GPU_PowerPoliciesGetStatus>(&api::powerPoliciesGetStatus),
    bindInterface<ID_GPU_PowerPoliciesSetStatus>(&api::powerPoliciesSetStatus),
    bindInterface<ID_GPU_ThermalPoliciesGetInfo>(&api::thermalPoliciesGetInfo),
    bindInterface<ID_GPU_ThermalPoliciesGetStatus>(&api::thermalPoliciesGetStatus),
    bindInterface<ID_GPU_ThermalPoliciesSetStatus>(&api::thermalPoliciesSetStatus),
    bindInterface<ID_VT_GPU_GetIdentity>(&api::getIdentity),
    bindInterface<ID_VT_GPU_GetPowerWatts>(&api::getPowerWatts),
};
// The service's interfaces: the simulator has no service, so the GPU layer hears "not supported".
constexpr uint32_t kNotAnswered[] = {ID_VT_GPU_KeepSettings, ID_VT_GPU_GetServiceStatus};
static_assert(std::size(kBindings) + std::size(kNotAnswered) == size_t(INTERFACE_COUNT),
              "the simulator answers every other interface of the contract");

}  // namespace

const nvapi::InterfaceSpec* findInterface(std::string_view name) {
    for (const nvapi::InterfaceSpec& spec : nvapi::kInterfaceTable) {
        if (spec.name == name) return &spec;
    }
    return nullptr;
}

}  // namespace sim

extern "C" __attribute__((visibility("default"))) void* nvapi_QueryInterface(uint32_t id) {
    return nvapi::findBinding(sim::kBindings, id);
}
