#include "host_bridge.h"

#include <cstdio>
#include <cstdlib>

namespace nvml_bridge {
namespace {

bool readHex(const std::string& path, uint32_t& out) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return false;
    char buf[32] = {};
    const bool got = std::fgets(buf, sizeof buf, f) != nullptr;
    std::fclose(f);
    if (!got) return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(buf, &end, 16);
    if (end == buf || v > 0xFFFFu) return false;
    out = static_cast<uint32_t>(v);
    return true;
}

}  // namespace

bool readHostBridge(const std::string& dir, HostBridge& out) {
    HostBridge hb;
    if (!readHex(dir + "/vendor", hb.vendorId) || !readHex(dir + "/device", hb.deviceId)) return false;
    readHex(dir + "/subsystem_vendor", hb.subVendorId);
    readHex(dir + "/subsystem_device", hb.subDeviceId);
    out = hb;
    return true;
}

const char* pciVendorName(uint32_t vendorId) {
    switch (vendorId) {
        case 0x8086:
            return "Intel";
        case 0x1022:
            return "AMD";
        case 0x1002:
            return "ATI";
        case 0x10DE:
            return "NVIDIA";
        case 0x1106:
            return "VIA";
        case 0x1039:
            return "SiS";
        default:
            return "Unknown";
    }
}

}  // namespace nvml_bridge
