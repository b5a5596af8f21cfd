// The functions behind each interface ID, as the contract types them.
#pragma once

#include "nvapi_contract.h"

namespace sim::api {

using namespace nvapi;

int32_t initialize();
int32_t unload();
int32_t getErrorMessage(int32_t status, char text[SHORT_STRING]);
int32_t enumPhysicalGpus(NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS], int32_t* count);
int32_t getDriverVersion(void* display, DisplayDriverVersion* info);
int32_t getChipSetInfo(ChipsetInfo* info);

int32_t getFullName(NvPhysicalGpuHandle gpu, char name[SHORT_STRING]);
int32_t getVbiosVersionString(NvPhysicalGpuHandle gpu, char text[SHORT_STRING]);
int32_t getRamType(NvPhysicalGpuHandle gpu, int32_t* type);
int32_t getRamBusWidth(NvPhysicalGpuHandle gpu, uint32_t* width, uint32_t* location);
int32_t getMemoryInfo(NvPhysicalGpuHandle gpu, MemoryInfo* info);

int32_t getAllClockFrequencies(NvPhysicalGpuHandle gpu, ClockFrequencies* clocks);
int32_t getPstates20(NvPhysicalGpuHandle gpu, Pstates20Info* info);
int32_t getDynamicPstatesInfoEx(NvPhysicalGpuHandle gpu, DynamicPstatesInfo* info);
int32_t getThermalSettings(NvPhysicalGpuHandle gpu, uint32_t sensorIndex, ThermalSettings* settings);
int32_t getVoltageStatus(NvPhysicalGpuHandle gpu, VoltageStatus* status);
int32_t getTachReading(NvPhysicalGpuHandle gpu, uint32_t* rpm);
int32_t getCoolerSettings(NvPhysicalGpuHandle gpu, uint32_t coolerTarget, CoolerSettings* settings);
int32_t powerTopologyGetInfo(NvPhysicalGpuHandle gpu, PowerTopologyInfo* info);
int32_t powerTopologyGetStatus(NvPhysicalGpuHandle gpu, PowerTopologyStatus* status);
int32_t powerPoliciesGetInfo(NvPhysicalGpuHandle gpu, PowerPolicyInfo* info);
int32_t powerPoliciesGetStatus(NvPhysicalGpuHandle gpu, PowerPolicyStatus* status);
int32_t thermalPoliciesGetInfo(NvPhysicalGpuHandle gpu, ThermalPolicyInfo* info);
int32_t thermalPoliciesGetStatus(NvPhysicalGpuHandle gpu, ThermalPolicyStatus* status);

// This program's own extension of the contract.
int32_t getIdentity(NvPhysicalGpuHandle gpu, GpuIdentity* identity);
int32_t getPowerWatts(NvPhysicalGpuHandle gpu, PowerWatts* power);

int32_t setPstates20(NvPhysicalGpuHandle gpu, Pstates20Info* info);
int32_t enableOverclockedPstates(NvPhysicalGpuHandle gpu, uint32_t enable);
int32_t powerPoliciesSetStatus(NvPhysicalGpuHandle gpu, PowerPolicyStatus* status);
int32_t thermalPoliciesSetStatus(NvPhysicalGpuHandle gpu, ThermalPolicyStatus* status);
int32_t setCoolerLevels(NvPhysicalGpuHandle gpu, uint32_t coolerTarget, CoolerLevels* levels);

}  // namespace sim::api
