// The bridge's state between initialise and unload: the NVML library, the devices with the
// facts that never change while the driver is loaded, and the status record for error texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nvapi_contract.h"
#include "nvml_library.h"
#include "service_link.h"
#include "status_map.h"

namespace nvml_bridge {

struct Device {
    nvmlDevice_t nvml = nullptr;
    unsigned index = 0;
    // Power limits in mW: defaultLimitMw 0 when unknown; hasPowerLimits when the constraints are known too.
    bool hasPowerLimits = false;
    unsigned defaultLimitMw = 0, minLimitMw = 0, maxLimitMw = 0;
    // Fans: count 0 when the card reports none or NVML cannot say.
    unsigned fanCount = 0;
    unsigned minFanSpeed = 0, maxFanSpeed = 100;
    uint32_t manualFans = 0;  // bit per fan the bridge switched to a manual speed
    // Acoustic temperature target in °C; the default is the target found when the driver loaded.
    bool hasAcousticRange = false;
    int acousticMin = 0, acousticMax = 0, acousticDefault = 0;
    // NVML has no temperature-priority flag; the last one written is kept and read back.
    bool thermalPriority = false;
};

class Bridge {
  public:
    int32_t initialize();
    int32_t unload();
    bool initialized() const { return initialized_; }

    const nvml::Functions& fn() const { return library_.fn(); }
    std::vector<Device>& devices() { return devices_; }
    Device* device(NvPhysicalGpuHandle h);
    static NvPhysicalGpuHandle handleOf(unsigned index);

    // NVML return -> NVAPI status, remembered for the error text.
    int32_t check(nvmlReturn_t r) { return status_.fromNvml(r); }
    int32_t own(int32_t status) { return status_.own(status); }
    void errorText(int32_t status, char* out, std::size_t size) const;

    // Gives every fan the bridge set to a manual speed back to the driver.
    void releaseManualFans();

    // Where writes go first while vantreld's socket exists.
    ServiceLink& service() { return service_; }

  private:
    void readFacts(Device& d);

    bool initialized_ = false;
    nvml::Library library_;
    std::vector<Device> devices_;
    StatusRecord status_;
    ServiceLink service_;
    std::string startProblem_;  // NVML's text when it refused to start
};

Bridge& bridge();

// The common checks of every per-GPU interface: initialised, and a handle the bridge gave out.
template <typename F>
int32_t onDevice(NvPhysicalGpuHandle h, F&& body) {
    Bridge& b = bridge();
    if (!b.initialized()) return b.own(nvapi::API_NOT_INITIALIZED);
    Device* d = b.device(h);
    if (!d) return b.own(nvapi::EXPECTED_PHYSICAL_GPU_HANDLE);
    return body(b, *d);
}

// For a write: true when vantreld took it, with its answer in status; false to write here.
inline bool forwarded(Bridge& b, const Device& d, uint32_t interfaceId, uint32_t arg, const void* payload,
                      uint32_t length, int32_t& status) {
    if (!b.service().forward(interfaceId, d.index, arg, payload, length, status)) return false;
    if (status != nvapi::OK) b.own(status);
    return true;
}

// onDevice for an interface passing one structure of one version: a null pointer or another
// version is refused before anything is read.
template <typename S, typename F>
int32_t onDeviceStruct(NvPhysicalGpuHandle h, S* s, uint32_t version, F&& body) {
    if (!s) return bridge().own(nvapi::INVALID_ARGUMENT);
    if (s->version != version) return bridge().own(nvapi::INCOMPATIBLE_STRUCT_VERSION);
    return onDevice(h, body);
}

}  // namespace nvml_bridge
