// The system chipset as the host bridge's PCI identity in sysfs (NVML knows nothing of it).
#pragma once

#include <cstdint>
#include <string>

namespace nvml_bridge {

struct HostBridge {
    uint32_t vendorId = 0, deviceId = 0, subVendorId = 0, subDeviceId = 0;
};

inline constexpr const char* kHostBridgeDir = "/sys/bus/pci/devices/0000:00:00.0";

// False when the vendor or device file is missing or not a hexadecimal number.
bool readHostBridge(const std::string& dir, HostBridge& out);
const char* pciVendorName(uint32_t vendorId);

}  // namespace nvml_bridge
