// Run-time binding to a driver library that exports nvapi_QueryInterface.
//
// The library is loaded and its initialise called on the first operation; each
// interface ID is resolved once into a static slot and reused until the next
// unload, which bumps a generation counter so that every slot goes stale at once.
// Initialisations are counted: an unload only releases one, and the library goes
// away with the last, so a short-lived user (the information panel's context)
// never unloads the driver under a longer-lived one (the fan curve).
#pragma once

#include <cstdint>
#include <string>

#include "nvapi_contract.h"

namespace gpu {

class DriverBinding {
  public:
    // One cached resolution of one interface ID.
    struct Slot {
        void* fn = nullptr;
        uint32_t generation = 0;
    };

    // Chooses the library to load. Drops a loaded library (driver unload first)
    // and forgets an earlier failure to load.
    static void setLibraryPath(std::string path);
    static const std::string& libraryPath();

    static bool isLoaded() { return generation_ != 0; }
    // A symbol of the loaded library beyond the contract (the simulator's test
    // hooks); null when nothing is loaded or the library has no such symbol.
    static void* librarySymbol(const char* name);
    // Changes with every load; 0 while nothing is loaded.
    static uint32_t generation() { return generation_; }

    // The driver's initialise: loads the library when needed (which calls it
    // once), otherwise calls it again. -2 when the library cannot be loaded.
    // Counts one user, whatever the status.
    static int32_t initialize();
    // Releases one initialise; the last release (or one with none counted) calls
    // the driver's unload once per initialise since the load, then dlclose.
    // -1 while a driver call is in progress (nothing released then).
    static int32_t unload();
    // Initialisations not yet released.
    static int users() { return users_; }

    // Slow path of resolution: loads and initialises when needed, then asks the
    // driver for id and records the answer in slot. Returns the function or
    // nullptr with status set to -2 (no library) or -3 (unknown ID).
    static void* resolve(uint32_t id, Slot& slot, int32_t& status);

    static bool isCurrent(const Slot& slot) { return slot.generation == generation_ && generation_ != 0; }

    // Calls the driver refused for lack of privilege since the program started, so
    // a window can tell a refusal it can explain from any other.
    static uint32_t privilegeRefusals() { return privilegeRefusals_; }
    static void notePrivilegeRefusal() { ++privilegeRefusals_; }

    // Counts driver calls in progress, so that an unload from inside one is refused.
    class CallScope {
      public:
        CallScope() { ++callDepth_; }
        ~CallScope() { --callDepth_; }
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;
    };

  private:
    static int32_t load();
    static int32_t callInitialize();
    static int32_t unloadLibrary();

    static inline uint32_t generation_ = 0;  // 0 while nothing is loaded
    static inline int callDepth_ = 0;
    static inline int users_ = 0;
    static inline uint32_t privilegeRefusals_ = 0;
};

// The function type of each interface ID.
template <uint32_t Id>
struct InterfaceOf;
#define VANTREL_INTERFACE(id, fn)   \
    template <>                     \
    struct InterfaceOf<nvapi::id> { \
        using Fn = nvapi::fn;       \
    }
VANTREL_INTERFACE(ID_Initialize, InitializeFn);
VANTREL_INTERFACE(ID_Unload, UnloadFn);
VANTREL_INTERFACE(ID_GetErrorMessage, GetErrorMessageFn);
VANTREL_INTERFACE(ID_EnumPhysicalGPUs, EnumPhysicalGPUsFn);
VANTREL_INTERFACE(ID_GPU_GetFullName, GetFullNameFn);
VANTREL_INTERFACE(ID_GPU_GetVbiosVersionString, GetVbiosVersionStringFn);
VANTREL_INTERFACE(ID_GPU_GetRamType, GetRamTypeFn);
VANTREL_INTERFACE(ID_GPU_GetRamBusWidth, GetRamBusWidthFn);
VANTREL_INTERFACE(ID_GPU_GetMemoryInfo, GetMemoryInfoFn);
VANTREL_INTERFACE(ID_SYS_GetDriverVersion, GetDriverVersionFn);
VANTREL_INTERFACE(ID_SYS_GetChipSetInfo, GetChipSetInfoFn);
VANTREL_INTERFACE(ID_GPU_GetAllClockFrequencies, GetAllClockFrequenciesFn);
VANTREL_INTERFACE(ID_GPU_GetPstates20, GetPstates20Fn);
VANTREL_INTERFACE(ID_GPU_SetPstates20, SetPstates20Fn);
VANTREL_INTERFACE(ID_GPU_EnableOverclockedPstates, EnableOverclockedPstatesFn);
VANTREL_INTERFACE(ID_GPU_GetDynamicPstatesInfoEx, GetDynamicPstatesInfoExFn);
VANTREL_INTERFACE(ID_GPU_GetThermalSettings, GetThermalSettingsFn);
VANTREL_INTERFACE(ID_GPU_GetVoltageStatus, GetVoltageStatusFn);
VANTREL_INTERFACE(ID_GPU_GetTachReading, GetTachReadingFn);
VANTREL_INTERFACE(ID_GPU_GetCoolerSettings, GetCoolerSettingsFn);
VANTREL_INTERFACE(ID_GPU_SetCoolerLevels, SetCoolerLevelsFn);
VANTREL_INTERFACE(ID_GPU_PowerTopologyGetInfo, PowerTopologyGetInfoFn);
VANTREL_INTERFACE(ID_GPU_PowerTopologyGetStatus, PowerTopologyGetStatusFn);
VANTREL_INTERFACE(ID_GPU_PowerPoliciesGetInfo, PowerPoliciesGetInfoFn);
VANTREL_INTERFACE(ID_GPU_PowerPoliciesGetStatus, PowerPoliciesGetStatusFn);
VANTREL_INTERFACE(ID_GPU_PowerPoliciesSetStatus, PowerPoliciesSetStatusFn);
VANTREL_INTERFACE(ID_GPU_ThermalPoliciesGetInfo, ThermalPoliciesGetInfoFn);
VANTREL_INTERFACE(ID_GPU_ThermalPoliciesGetStatus, ThermalPoliciesGetStatusFn);
VANTREL_INTERFACE(ID_GPU_ThermalPoliciesSetStatus, ThermalPoliciesSetStatusFn);
VANTREL_INTERFACE(ID_VT_GPU_GetIdentity, GetIdentityFn);
VANTREL_INTERFACE(ID_VT_GPU_GetPowerWatts, GetPowerWattsFn);
VANTREL_INTERFACE(ID_VT_GPU_KeepSettings, KeepSettingsFn);
VANTREL_INTERFACE(ID_VT_GPU_GetServiceStatus, GetServiceStatusFn);
#undef VANTREL_INTERFACE

// Calls interface Id with args: one compare on the fast path, a resolution
// after each load. Returns the driver's status, -2 or -3.
template <uint32_t Id, typename... Args>
int32_t nvCall(Args... args) {
    static DriverBinding::Slot slot;
    void* fn = slot.fn;
    if (!DriverBinding::isCurrent(slot)) {
        int32_t status = nvapi::OK;
        fn = DriverBinding::resolve(Id, slot, status);
        if (!fn) return status;
    } else if (!fn) {
        return nvapi::NO_IMPLEMENTATION;
    }
    DriverBinding::CallScope scope;
    const int32_t status = reinterpret_cast<typename InterfaceOf<Id>::Fn>(fn)(args...);
    if (status == nvapi::INVALID_USER_PRIVILEGE) DriverBinding::notePrivilegeRefusal();
    return status;
}

}  // namespace gpu
