// The functions nvapi_QueryInterface hands out, one per interface ID of the driver contract.
#pragma once

#include "copy_text.h"
#include "nvapi_contract.h"

namespace nvml_bridge {

using namespace nvapi;

int32_t initialize();
int32_t unload();
int32_t getErrorMessage(int32_t status, char text[SHORT_STRING]);
int32_t enumPhysicalGpus(NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS], int32_t* count);

int32_t getFullName(NvPhysicalGpuHandle, char name[SHORT_STRING]);
int32_t getVbiosVersionString(NvPhysicalGpuHandle, char text[SHORT_STRING]);
int32_t getRamType(NvPhysicalGpuHandle, int32_t* type);
int32_t getRamBusWidth(NvPhysicalGpuHandle, uint32_t* width, uint32_t* location);
int32_t getMemoryInfo(NvPhysicalGpuHandle, MemoryInfo*);
int32_t getDriverVersion(void* displayHandle, DisplayDriverVersion*);
int32_t getChipSetInfo(ChipsetInfo*);

int32_t getAllClockFrequencies(NvPhysicalGpuHandle, ClockFrequencies*);
int32_t getDynamicPstatesInfoEx(NvPhysicalGpuHandle, DynamicPstatesInfo*);
int32_t getThermalSettings(NvPhysicalGpuHandle, uint32_t sensorIndex, ThermalSettings*);
int32_t getVoltageStatus(NvPhysicalGpuHandle, VoltageStatus*);
int32_t getTachReading(NvPhysicalGpuHandle, uint32_t* rpm);

int32_t getCoolerSettings(NvPhysicalGpuHandle, uint32_t coolerTarget, CoolerSettings*);
int32_t setCoolerLevels(NvPhysicalGpuHandle, uint32_t coolerTarget, CoolerLevels*);

int32_t powerTopologyGetInfo(NvPhysicalGpuHandle, PowerTopologyInfo*);
int32_t powerTopologyGetStatus(NvPhysicalGpuHandle, PowerTopologyStatus*);
int32_t powerPoliciesGetInfo(NvPhysicalGpuHandle, PowerPolicyInfo*);
int32_t powerPoliciesGetStatus(NvPhysicalGpuHandle, PowerPolicyStatus*);
int32_t powerPoliciesSetStatus(NvPhysicalGpuHandle, PowerPolicyStatus*);

int32_t thermalPoliciesGetInfo(NvPhysicalGpuHandle, ThermalPolicyInfo*);
int32_t thermalPoliciesGetStatus(NvPhysicalGpuHandle, ThermalPolicyStatus*);
int32_t thermalPoliciesSetStatus(NvPhysicalGpuHandle, ThermalPolicyStatus*);

int32_t getPstates20(NvPhysicalGpuHandle, Pstates20Info*);
int32_t setPstates20(NvPhysicalGpuHandle, Pstates20Info*);
int32_t enableOverclockedPstates(NvPhysicalGpuHandle, uint32_t enable);

// This program's own extension of the contract.
int32_t getIdentity(NvPhysicalGpuHandle, GpuIdentity*);
int32_t getPowerWatts(NvPhysicalGpuHandle, PowerWatts*);
int32_t keepSettings(NvPhysicalGpuHandle, KeptSettings*);
int32_t getServiceStatus(NvPhysicalGpuHandle, ServiceStatus*);

using nvapi::copyText;

}  // namespace nvml_bridge
