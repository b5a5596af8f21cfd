// The GPU's static facts: name, video BIOS, memory type, bus and size.
#include "api.h"
#include "api_util.h"

namespace sim::api {

int32_t getFullName(NvPhysicalGpuHandle handle, char name[SHORT_STRING]) {
    SimGpu* gpu = nullptr;
    int index = -1;
    if (int32_t status = enterGpuCall(ID_GPU_GetFullName, handle, gpu, index)) return status;
    if (!name) return INVALID_ARGUMENT;
    copyText(name, gpu->desc().name);
    return OK;
}

int32_t getVbiosVersionString(NvPhysicalGpuHandle handle, char text[SHORT_STRING]) {
    SimGpu* gpu = nullptr;
    int index = -1;
    if (int32_t status = enterGpuCall(ID_GPU_GetVbiosVersionString, handle, gpu, index)) return status;
    if (!text) return INVALID_ARGUMENT;
    copyText(text, gpu->desc().vbios);
    return OK;
}

int32_t getRamType(NvPhysicalGpuHandle handle, int32_t* type) {
    SimGpu* gpu = nullptr;
    int index = -1;
    if (int32_t status = enterGpuCall(ID_GPU_GetRamType, handle, gpu, index)) return status;
    if (!type) return INVALID_ARGUMENT;
    *type = gpu->desc().ramType;
    return OK;
}

int32_t getRamBusWidth(NvPhysicalGpuHandle handle, uint32_t* width, uint32_t* location) {
    SimGpu* gpu = nullptr;
    int index = -1;
    if (int32_t status = enterGpuCall(ID_GPU_GetRamBusWidth, handle, gpu, index)) return status;
    if (!width || !location) return INVALID_ARGUMENT;
    *width = gpu->desc().busWidth;
    *location = gpu->desc().busLocation;
    return OK;
}

int32_t getMemoryInfo(NvPhysicalGpuHandle handle, MemoryInfo* info) {
    Driver* d = Driver::current();
    if (!d) return API_NOT_INITIALIZED;
    // Handle 0 is the default GPU: the first one.
    if (!handle) {
        if (d->gpuCount() == 0) return NVIDIA_DEVICE_NOT_FOUND;
        handle = Driver::handle(0);
    }
    SimGpu* gpu = nullptr;
    if (int32_t status = enterStructCall(ID_GPU_GetMemoryInfo, handle, info, gpu)) return status;
    const MemoryDesc& m = gpu->desc().memory;
    MemoryInfo out{};
    out.version = info->version;
    out.dedicatedVideoMemory = m.dedicated;
    out.availableDedicatedVideoMemory = m.available;
    out.systemVideoMemory = m.system;
    out.sharedSystemMemory = m.shared;
    out.curAvailableDedicatedVideoMemory = m.dedicated - gpu->memoryUsed();
    copyOut(info, out);
    return OK;
}

}  // namespace sim::api
