#include "service_protocol.h"

#include <cstdlib>

#include "nvapi_contract.h"

namespace vantrel_service {

uint32_t payloadSize(uint32_t interfaceId, uint32_t versionWord) {
    using namespace nvapi;
    switch (interfaceId) {
        case ID_GPU_SetPstates20:
            return versionWord == PSTATES20_VER2 || versionWord == PSTATES20_VER1 ? versionSize(versionWord)
                                                                                  : 0;
        case ID_GPU_PowerPoliciesSetStatus:
            return versionWord == POWER_POLICY_STATUS_VER ? uint32_t{sizeof(PowerPolicyStatus)} : 0;
        case ID_GPU_ThermalPoliciesSetStatus:
            return versionWord == THERMAL_POLICY_STATUS_VER ? uint32_t{sizeof(ThermalPolicyStatus)} : 0;
        case ID_GPU_SetCoolerLevels:
            return versionWord == COOLER_LEVELS_VER ? uint32_t{sizeof(CoolerLevels)} : 0;
        default:
            return 0;
    }
}

bool isServedWrite(uint32_t interfaceId) {
    return interfaceId == nvapi::ID_GPU_SetPstates20 || interfaceId == nvapi::ID_GPU_PowerPoliciesSetStatus ||
           interfaceId == nvapi::ID_GPU_ThermalPoliciesSetStatus ||
           interfaceId == nvapi::ID_GPU_SetCoolerLevels;
}

std::string socketPath() {
    const char* env = std::getenv(kSocketEnv);
    return env ? std::string(env) : std::string(kDefaultSocket);
}

}  // namespace vantrel_service
