// Readings through this program's own driver interfaces (the contract's extension):
// the GPU's identity and its power in watts. A driver without them gives nothing.
#pragma once

#include <optional>
#include <string>

#include "nvapi_contract.h"

namespace gpu {

struct IdentityValues {
    std::optional<std::string> uuid, pciBusId;
};
struct PowerWattValues {
    std::optional<double> drawW, limitW, defaultW, minimumW, maximumW;
};

IdentityValues identityValues(NvPhysicalGpuHandle gpu);
PowerWattValues powerWattValues(NvPhysicalGpuHandle gpu);

}  // namespace gpu
