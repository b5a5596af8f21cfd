#include "gpu/emergency_hand_back.h"

#include <atomic>

#include "gpu/driver_structs.h"
#include "gpu/fan_hand_back.h"
#include "gpu/kept_coolers.h"

namespace gpu {

namespace {

std::atomic<nvapi::GetCoolerSettingsFn> g_read{nullptr};
std::atomic<nvapi::SetCoolerLevelsFn> g_write{nullptr};
static_assert(std::atomic<nvapi::GetCoolerSettingsFn>::is_always_lock_free);

template <uint32_t Id>
typename nvapi::InterfaceOf<Id>::Fn resolveNow() {
    DriverBinding::Slot slot;
    int32_t status = nvapi::OK;
    return reinterpret_cast<typename nvapi::InterfaceOf<Id>::Fn>(DriverBinding::resolve(Id, slot, status));
}

}  // namespace

bool armEmergencyHandBack() {
    if (!DriverBinding::isLoaded()) return false;
    auto read = resolveNow<nvapi::ID_GPU_GetCoolerSettings>();
    auto write = resolveNow<nvapi::ID_GPU_SetCoolerLevels>();
    if (!read || !write) return false;
    g_read = read;
    g_write = write;
    // The table a later hand-back falls back on when the driver stops answering.
    NvPhysicalGpuHandle gpu = detail::gpuInUse();
    if (gpu) {
        nvapi::CoolerSettings coolers;
        uint32_t versionNo = 3;
        const int32_t status = detail::readCoolerSettings(
            [&](uint32_t target, nvapi::CoolerSettings* s) { return read(gpu, target, s); }, coolers,
            versionNo);
        detail::noteCoolerStatus(gpu, status);
        if (status == nvapi::OK) detail::keepCoolerTable(gpu, coolers, versionNo);
    }
    return true;
}

void disarmEmergencyHandBack() {
    g_write = nullptr;
    g_read = nullptr;
}

bool emergencyHandBackArmed() {
    return g_write.load() != nullptr;
}

int32_t emergencyHandBack() noexcept {
    const nvapi::GetCoolerSettingsFn read = g_read.load();
    const nvapi::SetCoolerLevelsFn write = g_write.load();
    if (!read || !write) return nvapi::API_NOT_INITIALIZED;
    auto handBack = [&](NvPhysicalGpuHandle gpu) {
        if (!detail::fanControllable(gpu)) return int32_t(nvapi::OK);
        return detail::handFanBack(
            gpu, [&](uint32_t target, nvapi::CoolerSettings* s) { return read(gpu, target, s); },
            [&](uint32_t target, nvapi::CoolerLevels* l) { return write(gpu, target, l); });
    };
    NvPhysicalGpuHandle inUse = detail::gpuInUse();
    int32_t status = inUse ? handBack(inUse) : int32_t(nvapi::OK);
    detail::forEachManualFan([&](NvPhysicalGpuHandle gpu) {
        if (gpu == inUse) return;
        const int32_t s = handBack(gpu);
        if (s != nvapi::OK) status = s;
    });
    return status;
}

}  // namespace gpu
