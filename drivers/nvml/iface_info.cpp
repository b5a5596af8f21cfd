// Static facts: names, memory, driver version, chipset.
#include <cstring>

#include "bridge.h"
#include "host_bridge.h"
#include "interfaces.h"
#include "units.h"

namespace nvml_bridge {
namespace {

int32_t readText(NvPhysicalGpuHandle h, char* out, nvml::GetTextFn nvml::Functions::*which) {
    if (!out) return bridge().own(INVALID_ARGUMENT);
    return onDevice(h, [&](Bridge& b, Device& d) {
        const nvml::GetTextFn get = b.fn().*which;
        if (!get) return b.own(NOT_SUPPORTED);
        char buf[96] = {};
        const nvmlReturn_t r = get(d.nvml, buf, sizeof buf);
        if (r != nvml::SUCCESS) return b.check(r);
        buf[sizeof buf - 1] = '\0';
        copyText(out, SHORT_STRING, buf);
        return int32_t{OK};
    });
}

}  // namespace

int32_t getFullName(NvPhysicalGpuHandle h, char name[SHORT_STRING]) {
    return readText(h, name, &nvml::Functions::getName);
}

int32_t getVbiosVersionString(NvPhysicalGpuHandle h, char text[SHORT_STRING]) {
    return readText(h, text, &nvml::Functions::getVbiosVersion);
}

// NVML does not say which memory it is. Code 0 ("unknown") rather than a refusal: the program then
// shows "Unknown" and counts two transfers per NVML-reported memory clock, which is what that clock
// means on every card NVML drives, so the bandwidth comes out right.
int32_t getRamType(NvPhysicalGpuHandle h, int32_t* type) {
    if (!type) return bridge().own(INVALID_ARGUMENT);
    return onDevice(h, [&](Bridge&, Device&) {
        *type = 0;
        return int32_t{OK};
    });
}

int32_t getRamBusWidth(NvPhysicalGpuHandle h, uint32_t* width, uint32_t* location) {
    if (!width || !location) return bridge().own(INVALID_ARGUMENT);
    return onDevice(h, [&](Bridge& b, Device& d) {
        if (!b.fn().getMemoryBusWidth) return b.own(NOT_SUPPORTED);
        unsigned bits = 0;
        const nvmlReturn_t r = b.fn().getMemoryBusWidth(d.nvml, &bits);
        if (r != nvml::SUCCESS) return b.check(r);
        *width = bits;
        *location = 0;
        return int32_t{OK};
    });
}

int32_t getMemoryInfo(NvPhysicalGpuHandle h, MemoryInfo* info) {
    Bridge& b = bridge();
    if (!info) return b.own(INVALID_ARGUMENT);
    if (info->version != MEMORY_INFO_VER2 && info->version != MEMORY_INFO_VER1)
        return b.own(INCOMPATIBLE_STRUCT_VERSION);
    if (!h) {  // handle 0: the default GPU
        if (!b.initialized()) return b.own(API_NOT_INITIALIZED);
        if (b.devices().empty()) return b.own(NVIDIA_DEVICE_NOT_FOUND);
        h = Bridge::handleOf(0);
    }
    return onDevice(h, [&](Bridge& b, Device& d) {
        if (!b.fn().getMemoryInfo) return b.own(NOT_SUPPORTED);
        nvmlMemory_t m{};
        const nvmlReturn_t r = b.fn().getMemoryInfo(d.nvml, &m);
        if (r != nvml::SUCCESS) return b.check(r);
        MemoryInfo out{};
        out.version = info->version;
        out.dedicatedVideoMemory = bytesToKb(m.total);
        out.availableDedicatedVideoMemory = bytesToKb(m.total);
        out.curAvailableDedicatedVideoMemory = bytesToKb(m.free);
        std::memcpy(info, &out, versionSize(info->version));
        return int32_t{OK};
    });
}

int32_t getDriverVersion(void* displayHandle, DisplayDriverVersion* v) {
    Bridge& b = bridge();
    if (!v || displayHandle) return b.own(INVALID_ARGUMENT);
    if (v->version != DISPLAY_DRIVER_VERSION_VER) return b.own(INCOMPATIBLE_STRUCT_VERSION);
    if (!b.initialized()) return b.own(API_NOT_INITIALIZED);
    if (!b.fn().getDriverVersion) return b.own(NOT_SUPPORTED);
    char text[80] = {};
    const nvmlReturn_t r = b.fn().getDriverVersion(text, sizeof text);
    if (r != nvml::SUCCESS) return b.check(r);
    text[sizeof text - 1] = '\0';
    DisplayDriverVersion out{};
    out.version = v->version;
    out.drvVersion = driverVersionNumber(text);
    copyText(out.szBuildBranchString, SHORT_STRING, text);
    if (!b.devices().empty() && b.fn().getName) {
        char name[96] = {};
        if (b.fn().getName(b.devices()[0].nvml, name, sizeof name) == nvml::SUCCESS) {
            name[sizeof name - 1] = '\0';
            copyText(out.szAdapterString, SHORT_STRING, name);
        }
    }
    *v = out;
    return OK;
}

int32_t getChipSetInfo(ChipsetInfo* info) {
    Bridge& b = bridge();
    if (!info) return b.own(INVALID_ARGUMENT);
    const uint32_t ver = info->version;
    if (ver != CHIPSET_INFO_VER4 && ver != CHIPSET_INFO_VER3 && ver != CHIPSET_INFO_VER2)
        return b.own(INCOMPATIBLE_STRUCT_VERSION);
    if (!b.initialized()) return b.own(API_NOT_INITIALIZED);
    HostBridge hb;
    if (!readHostBridge(kHostBridgeDir, hb)) return b.own(NOT_SUPPORTED);
    ChipsetInfo out{};
    out.version = ver;
    out.vendorId = hb.vendorId;
    out.deviceId = hb.deviceId;
    copyText(out.szVendorName, SHORT_STRING, pciVendorName(hb.vendorId));
    copyText(out.szChipsetName, SHORT_STRING, "Unknown");
    out.subSysVendorId = hb.subVendorId;
    out.subSysDeviceId = hb.subDeviceId;
    copyText(out.szSubSysVendorName, SHORT_STRING, pciVendorName(hb.subVendorId));
    out.HBvendorId = hb.vendorId;
    out.HBdeviceId = hb.deviceId;
    out.HBsubSysVendorId = hb.subVendorId;
    out.HBsubSysDeviceId = hb.subDeviceId;
    std::memcpy(info, &out, versionSize(ver));  // only as much as the caller's version holds
    return OK;
}

}  // namespace nvml_bridge
