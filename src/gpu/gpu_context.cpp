#include "gpu/gpu_context.h"

#include <cstdio>

#include "gpu/diagnostics.h"
#include "gpu/driver_binding.h"

namespace gpu {
namespace {
GpuContext* registered = nullptr;
}

void driverErrorText(int32_t status, char (&text)[nvapi::SHORT_STRING]) {
    text[0] = '\0';
    if (nvCall<nvapi::ID_GetErrorMessage>(status, text) != nvapi::OK) text[0] = '\0';
    text[nvapi::SHORT_STRING - 1] = '\0';
}

GpuContext::GpuContext() {
    initializeStatus_ = DriverBinding::initialize();
    if (initializeStatus_ == nvapi::ERROR) {
        char text[nvapi::SHORT_STRING];
        driverErrorText(initializeStatus_, text);
        diagnostic("NVAPI NvAPI_Initialize: %s\n", text);
    }
    if (driverMissing()) return;

    int32_t enumerated = 0;
    int32_t status = nvCall<nvapi::ID_EnumPhysicalGPUs>(handles, &enumerated);
    if (status != nvapi::OK) {
        char text[nvapi::SHORT_STRING];
        driverErrorText(status, text);
        enumerated = 0;
    }
    // A driver that reports more GPUs than the table holds is not believed past it.
    if (enumerated < 0) enumerated = 0;
    if (enumerated > nvapi::MAX_PHYSICAL_GPUS) enumerated = nvapi::MAX_PHYSICAL_GPUS;
    count = enumerated;
    for (int i = count; i < nvapi::MAX_PHYSICAL_GPUS; ++i) handles[i] = nullptr;
}

GpuContext::~GpuContext() {
    if (bound_) DriverBinding::unload();
}

NvPhysicalGpuHandle GpuContext::selectedHandle() const {
    if (selectedIndex < 0 || selectedIndex >= nvapi::MAX_PHYSICAL_GPUS) return nullptr;
    return handles[selectedIndex];
}

GpuContext& globalContext() {
    if (registered) return *registered;
    static GpuContext empty{GpuContext::Unbound{}};
    return empty;
}

GlobalContextScope::GlobalContextScope(GpuContext& context) : previous_(registered) {
    registered = &context;
}

GlobalContextScope::~GlobalContextScope() {
    registered = previous_;
}

}  // namespace gpu
