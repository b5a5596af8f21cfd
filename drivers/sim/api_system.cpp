// Initialise, unload, error texts, enumeration and the system-wide facts.
#include "api.h"
#include "api_util.h"

namespace sim::api {

int32_t initialize() {
    return Driver::initialize();
}

int32_t unload() {
    return Driver::unload();
}

int32_t getErrorMessage(int32_t status, char text[SHORT_STRING]) {
    if (Driver::current()) {
        if (int32_t injected = enterSystemCall(ID_GetErrorMessage)) return injected;
    }
    if (!text) return INVALID_ARGUMENT;
    copyText(text, Driver::errorText(status));
    return OK;
}

int32_t enumPhysicalGpus(NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS], int32_t* count) {
    if (int32_t status = enterSystemCall(ID_EnumPhysicalGPUs)) return status;
    if (!handles || !count) return INVALID_ARGUMENT;
    Driver* d = Driver::current();
    *count = d->gpuCount();
    for (int i = 0; i < d->gpuCount(); ++i) handles[i] = Driver::handle(i);
    return d->gpuCount() > 0 ? OK : NVIDIA_DEVICE_NOT_FOUND;
}

int32_t getDriverVersion(void* display, DisplayDriverVersion* info) {
    if (int32_t status = enterSystemCall(ID_SYS_GetDriverVersion)) return status;
    if (display || !info) return INVALID_ARGUMENT;
    if (int32_t status = checkVersion(ID_SYS_GetDriverVersion, -1, info->version)) return status;
    const DriverDesc& drv = Driver::current()->card().driver;
    DisplayDriverVersion out{};
    out.version = info->version;
    out.drvVersion = drv.version;
    out.bldChangeListNum = drv.changelist;
    copyText(out.szBuildBranchString, drv.branch);
    copyText(out.szAdapterString, drv.adapter);
    copyOut(info, out);
    return OK;
}

int32_t getChipSetInfo(ChipsetInfo* info) {
    if (int32_t status = enterSystemCall(ID_SYS_GetChipSetInfo)) return status;
    if (!info) return INVALID_ARGUMENT;
    if (int32_t status = checkVersion(ID_SYS_GetChipSetInfo, -1, info->version)) return status;
    const ChipsetDesc& c = Driver::current()->card().chipset;
    ChipsetInfo out{};
    out.version = info->version;
    out.vendorId = c.vendorId;
    out.deviceId = c.deviceId;
    copyText(out.szVendorName, c.vendorName);
    copyText(out.szChipsetName, c.chipsetName);
    out.flags = c.flags;
    out.subSysVendorId = c.subSysVendorId;
    out.subSysDeviceId = c.subSysDeviceId;
    copyText(out.szSubSysVendorName, c.subSysVendorName);
    out.HBvendorId = c.hbVendorId;
    out.HBdeviceId = c.hbDeviceId;
    out.HBsubSysVendorId = c.hbSubSysVendorId;
    out.HBsubSysDeviceId = c.hbSubSysDeviceId;
    copyOut(info, out);
    return OK;
}

}  // namespace sim::api
