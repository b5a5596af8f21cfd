#include "nvml_library.h"

#include <dlfcn.h>

namespace nvml {
namespace {

template <typename F>
bool resolve(void* handle, const char* name, F& slot) {
    slot = reinterpret_cast<F>(dlsym(handle, name));
    return slot != nullptr;
}

}  // namespace

bool Library::open() {
    close();
    problem_.clear();
    handle_ = dlopen("libnvidia-ml.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!handle_) {
        const char* first = dlerror();
        problem_ = first ? first : "libnvidia-ml.so.1 not found";
        handle_ = dlopen("libnvidia-ml.so", RTLD_LAZY | RTLD_LOCAL);
        if (!handle_) return false;
        problem_.clear();
    }

    Functions& f = fn_;
    const struct {
        const char* name;
        bool ok;
    } required[] = {
        {"nvmlInit_v2", resolve(handle_, "nvmlInit_v2", f.init)},
        {"nvmlShutdown", resolve(handle_, "nvmlShutdown", f.shutdown)},
        {"nvmlErrorString", resolve(handle_, "nvmlErrorString", f.errorString)},
        {"nvmlDeviceGetCount_v2", resolve(handle_, "nvmlDeviceGetCount_v2", f.getCount)},
        {"nvmlDeviceGetHandleByIndex_v2",
         resolve(handle_, "nvmlDeviceGetHandleByIndex_v2", f.getHandleByIndex)},
    };
    for (const auto& r : required) {
        if (!r.ok) {
            problem_ = std::string("libnvidia-ml lacks ") + r.name;
            close();
            return false;
        }
    }

    resolve(handle_, "nvmlDeviceGetName", f.getName);
    resolve(handle_, "nvmlDeviceGetVbiosVersion", f.getVbiosVersion);
    resolve(handle_, "nvmlDeviceGetUUID", f.getUuid);
    resolve(handle_, "nvmlDeviceGetPciInfo_v3", f.getPciInfo);
    resolve(handle_, "nvmlSystemGetDriverVersion", f.getDriverVersion);
    resolve(handle_, "nvmlDeviceGetMemoryInfo", f.getMemoryInfo);
    resolve(handle_, "nvmlDeviceGetMemoryBusWidth", f.getMemoryBusWidth);
    resolve(handle_, "nvmlDeviceGetClockInfo", f.getClockInfo);
    resolve(handle_, "nvmlDeviceGetMaxClockInfo", f.getMaxClockInfo);
    resolve(handle_, "nvmlDeviceGetClock", f.getClock);
    resolve(handle_, "nvmlDeviceGetDefaultApplicationsClock", f.getDefaultApplicationsClock);
    resolve(handle_, "nvmlDeviceGetMinMaxClockOfPState", f.getMinMaxClockOfPState);
    resolve(handle_, "nvmlDeviceGetUtilizationRates", f.getUtilizationRates);
    resolve(handle_, "nvmlDeviceGetTemperatureV", f.getTemperatureV);
    resolve(handle_, "nvmlDeviceGetTemperature", f.getTemperature);
    resolve(handle_, "nvmlDeviceGetTemperatureThreshold", f.getTemperatureThreshold);
    resolve(handle_, "nvmlDeviceSetTemperatureThreshold", f.setTemperatureThreshold);
    resolve(handle_, "nvmlDeviceGetNumFans", f.getNumFans);
    resolve(handle_, "nvmlDeviceGetFanSpeed_v2", f.getFanSpeed);
    resolve(handle_, "nvmlDeviceGetMinMaxFanSpeed", f.getMinMaxFanSpeed);
    resolve(handle_, "nvmlDeviceGetFanControlPolicy_v2", f.getFanControlPolicy);
    resolve(handle_, "nvmlDeviceSetFanSpeed_v2", f.setFanSpeed);
    resolve(handle_, "nvmlDeviceSetDefaultFanSpeed_v2", f.setDefaultFanSpeed);
    resolve(handle_, "nvmlDeviceGetFanSpeedRPM", f.getFanSpeedRpm);
    resolve(handle_, "nvmlDeviceGetPowerUsage", f.getPowerUsage);
    resolve(handle_, "nvmlDeviceGetPowerManagementLimit", f.getPowerLimit);
    resolve(handle_, "nvmlDeviceGetPowerManagementDefaultLimit", f.getPowerDefaultLimit);
    resolve(handle_, "nvmlDeviceGetPowerManagementLimitConstraints", f.getPowerLimitConstraints);
    resolve(handle_, "nvmlDeviceSetPowerManagementLimit", f.setPowerLimit);
    resolve(handle_, "nvmlDeviceGetClockOffsets", f.getClockOffsets);
    resolve(handle_, "nvmlDeviceSetClockOffsets", f.setClockOffsets);
    resolve(handle_, "nvmlDeviceGetGpcClkVfOffset", f.getGpcClkVfOffset);
    resolve(handle_, "nvmlDeviceGetMemClkVfOffset", f.getMemClkVfOffset);
    resolve(handle_, "nvmlDeviceSetGpcClkVfOffset", f.setGpcClkVfOffset);
    resolve(handle_, "nvmlDeviceSetMemClkVfOffset", f.setMemClkVfOffset);
    resolve(handle_, "nvmlDeviceGetGpcClkMinMaxVfOffset", f.getGpcClkMinMaxVfOffset);
    resolve(handle_, "nvmlDeviceGetMemClkMinMaxVfOffset", f.getMemClkMinMaxVfOffset);
    return true;
}

void Library::close() {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
    fn_ = Functions{};
}

}  // namespace nvml
