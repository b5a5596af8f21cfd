// This program's own interfaces: the GPU's UUID and PCI bus id, and its power in watts.
#include "bridge.h"
#include "interfaces.h"

namespace nvml_bridge {

// Each part of the identity on its own: a driver that gives one still gives it.
int32_t getIdentity(NvPhysicalGpuHandle h, GpuIdentity* id) {
    return onDeviceStruct(h, id, GPU_IDENTITY_VER, [&](Bridge& b, Device& d) {
        const nvml::Functions& f = b.fn();
        GpuIdentity out{};
        out.version = id->version;
        nvmlReturn_t failed = nvml::ERROR_NOT_SUPPORTED;
        bool any = false;
        if (f.getUuid) {
            char uuid[nvml::UUID_BUFFER_SIZE] = {};
            const nvmlReturn_t r = f.getUuid(d.nvml, uuid, sizeof uuid);
            if (r == nvml::SUCCESS) {
                uuid[sizeof uuid - 1] = '\0';
                copyText(out.uuid, sizeof out.uuid, uuid);
                any = true;
            } else {
                failed = r;
            }
        }
        if (f.getPciInfo) {
            nvmlPciInfo_t pci{};
            const nvmlReturn_t r = f.getPciInfo(d.nvml, &pci);
            if (r == nvml::SUCCESS) {
                pci.busId[sizeof pci.busId - 1] = '\0';
                copyText(out.pciBusId, sizeof out.pciBusId, pci.busId);
                any = true;
            } else {
                failed = r;
            }
        }
        if (!any) return b.check(failed);
        *id = out;
        return int32_t{OK};
    });
}

// mW as NVML gives them; the default and the range are the facts read at initialise.
int32_t getPowerWatts(NvPhysicalGpuHandle h, PowerWatts* power) {
    return onDeviceStruct(h, power, POWER_WATTS_VER, [&](Bridge& b, Device& d) {
        const nvml::Functions& f = b.fn();
        PowerWatts out{};
        out.version = power->version;
        nvmlReturn_t failed = nvml::ERROR_NOT_SUPPORTED;
        auto read = [&](nvml::GetUintFn get, uint32_t& mw, uint32_t flag) {
            if (!get) return;
            unsigned value = 0;
            const nvmlReturn_t r = get(d.nvml, &value);
            if (r == nvml::SUCCESS) {
                mw = value;
                out.flags |= flag;
            } else {
                failed = r;
            }
        };
        read(f.getPowerUsage, out.drawMw, POWER_WATTS_DRAW);
        read(f.getPowerLimit, out.limitMw, POWER_WATTS_LIMIT);
        if (d.defaultLimitMw > 0) {
            out.defaultMw = d.defaultLimitMw;
            out.flags |= POWER_WATTS_DEFAULT;
        }
        if (d.hasPowerLimits) {
            out.minMw = d.minLimitMw;
            out.maxMw = d.maxLimitMw;
            out.flags |= POWER_WATTS_RANGE;
        }
        if (out.flags == 0) return b.check(failed);
        *power = out;
        return int32_t{OK};
    });
}

}  // namespace nvml_bridge
