#include "info/gpu_choices.h"

#include <algorithm>

#include "gpu/information.h"

namespace info {

GpuChoices listGpuChoices(const gpu::GpuContext& context) {
    GpuChoices choices;
    const int32_t count = std::min<int32_t>(context.count, nvapi::MAX_PHYSICAL_GPUS);
    for (int32_t i = 0; i < count; ++i) {
        std::string name = gpu::readGpuName(context.handles[i]);
        if (name.empty()) continue;
        if (count > 1) name = std::to_string(i + 1) + "." + name;
        choices.names.push_back(std::move(name));
        choices.gpus.push_back(i);
    }
    return choices;
}

}  // namespace info
