// A driver library for binding tests and the binding benchmark: counts how often
// it is asked for an interface and answers every reading at once with fixed values.
#include <cstring>

#include "nvapi_contract.h"

namespace {

int queries = 0;
int initializes = 0;
int unloads = 0;
NvPhysicalGpuHandle const kGpu = reinterpret_cast<NvPhysicalGpuHandle>(0x1000);

int32_t initialize() {
    ++initializes;
    return nvapi::OK;
}
int32_t unload() {
    ++unloads;
    return nvapi::OK;
}
int32_t errorMessage(int32_t, char text[nvapi::SHORT_STRING]) {
    std::strcpy(text, "test driver error");
    return nvapi::OK;
}
int32_t enumerate(NvPhysicalGpuHandle handles[nvapi::MAX_PHYSICAL_GPUS], int32_t* count) {
    handles[0] = kGpu;
    *count = 1;
    return nvapi::OK;
}
int32_t thermal(NvPhysicalGpuHandle, uint32_t, nvapi::ThermalSettings* s) {
    s->count = 1;
    s->sensor[0] = {1, 0, 127, 50, nvapi::THERMAL_TARGET_GPU};
    return nvapi::OK;
}
int32_t clocks(NvPhysicalGpuHandle, nvapi::ClockFrequencies*) {
    return nvapi::OK;
}
int32_t usage(NvPhysicalGpuHandle, nvapi::DynamicPstatesInfo* s) {
    s->utilization[0] = {1, 10};
    return nvapi::OK;
}
int32_t memory(NvPhysicalGpuHandle, nvapi::MemoryInfo*) {
    return nvapi::OK;
}
int32_t voltage(NvPhysicalGpuHandle, nvapi::VoltageStatus*) {
    return nvapi::OK;
}
int32_t pstates(NvPhysicalGpuHandle, nvapi::Pstates20Info*) {
    return nvapi::OK;
}
int32_t tach(NvPhysicalGpuHandle, uint32_t* rpm) {
    *rpm = 1000;
    return nvapi::OK;
}
int32_t coolers(NvPhysicalGpuHandle, uint32_t, nvapi::CoolerSettings*) {
    return nvapi::OK;
}
int32_t topologyInfo(NvPhysicalGpuHandle, nvapi::PowerTopologyInfo* s) {
    s->valid = 1;
    return nvapi::OK;
}
int32_t topologyStatus(NvPhysicalGpuHandle, nvapi::PowerTopologyStatus*) {
    return nvapi::OK;
}
int32_t policyInfo(NvPhysicalGpuHandle, nvapi::PowerPolicyInfo* s) {
    s->valid = 1;
    return nvapi::OK;
}
int32_t policyStatus(NvPhysicalGpuHandle, nvapi::PowerPolicyStatus*) {
    return nvapi::OK;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void* nvapi_QueryInterface(uint32_t id) {
    ++queries;
    switch (id) {
        case nvapi::ID_Initialize:
            return reinterpret_cast<void*>(initialize);
        case nvapi::ID_Unload:
            return reinterpret_cast<void*>(unload);
        case nvapi::ID_GetErrorMessage:
            return reinterpret_cast<void*>(errorMessage);
        case nvapi::ID_EnumPhysicalGPUs:
            return reinterpret_cast<void*>(enumerate);
        case nvapi::ID_GPU_GetThermalSettings:
            return reinterpret_cast<void*>(thermal);
        case nvapi::ID_GPU_GetAllClockFrequencies:
            return reinterpret_cast<void*>(clocks);
        case nvapi::ID_GPU_GetDynamicPstatesInfoEx:
            return reinterpret_cast<void*>(usage);
        case nvapi::ID_GPU_GetMemoryInfo:
            return reinterpret_cast<void*>(memory);
        case nvapi::ID_GPU_GetVoltageStatus:
            return reinterpret_cast<void*>(voltage);
        case nvapi::ID_GPU_GetPstates20:
            return reinterpret_cast<void*>(pstates);
        case nvapi::ID_GPU_GetTachReading:
            return reinterpret_cast<void*>(tach);
        case nvapi::ID_GPU_GetCoolerSettings:
            return reinterpret_cast<void*>(coolers);
        case nvapi::ID_GPU_PowerTopologyGetInfo:
            return reinterpret_cast<void*>(topologyInfo);
        case nvapi::ID_GPU_PowerTopologyGetStatus:
            return reinterpret_cast<void*>(topologyStatus);
        case nvapi::ID_GPU_PowerPoliciesGetInfo:
            return reinterpret_cast<void*>(policyInfo);
        case nvapi::ID_GPU_PowerPoliciesGetStatus:
            return reinterpret_cast<void*>(policyStatus);
        default:
            return nullptr;  // the GPU name among others: "unknown" on purpose
    }
}

// Counters the tests read through dlsym on the already loaded library.
__attribute__((visibility("default"))) int test_driver_queries() {
    return queries;
}
__attribute__((visibility("default"))) int test_driver_initializes() {
    return initializes;
}
__attribute__((visibility("default"))) int test_driver_unloads() {
    return unloads;
}

}  // extern "C"
