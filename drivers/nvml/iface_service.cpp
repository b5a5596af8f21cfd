// This program's interfaces to what vantreld keeps: answered by the service alone, never
// in-process (NO_IMPLEMENTATION when no service answers).
#include "bridge.h"
#include "interfaces.h"
#include "service_protocol.h"

namespace nvml_bridge {

int32_t keepSettings(NvPhysicalGpuHandle h, KeptSettings* kept) {
    return onDeviceStruct(h, kept, KEPT_SETTINGS_VER, [&](Bridge& b, Device& d) {
        int32_t status = OK;
        if (!b.service().call(vantrel_service::kKeep, d.index, kept, sizeof *kept, nullptr, 0, status))
            return b.own(NO_IMPLEMENTATION);
        return status == OK ? status : b.own(status);
    });
}

int32_t getServiceStatus(NvPhysicalGpuHandle h, ServiceStatus* out) {
    return onDeviceStruct(h, out, SERVICE_STATUS_VER, [&](Bridge& b, Device& d) {
        ServiceStatus s{};
        int32_t status = OK;
        if (!b.service().call(vantrel_service::kStatus, d.index, nullptr, 0, &s, sizeof s, status))
            return b.own(NO_IMPLEMENTATION);
        if (status != OK) return b.own(status);
        if (s.version != SERVICE_STATUS_VER) return b.own(INCOMPATIBLE_STRUCT_VERSION);
        s.id[sizeof s.id - 1] = '\0';
        *out = s;
        return int32_t{OK};
    });
}

}  // namespace nvml_bridge
