// The GPU choice list of the information panel: one entry per GPU whose name the
// driver gives, numbered by the GPU's place when there is more than one GPU.
// Each entry remembers the GPU it stands for, so a GPU left out of the list
// never shifts a choice onto another card.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gpu/gpu_context.h"

namespace info {

struct GpuChoices {
    std::vector<std::string> names;
    std::vector<int32_t> gpus;  // the GPU index of each entry

    // The GPU index of entry, or -1 when there is no such entry.
    int32_t gpuOf(int entry) const {
        return entry >= 0 && size_t(entry) < gpus.size() ? gpus[size_t(entry)] : -1;
    }
    // The entry of GPU `gpu`, or -1 when the list leaves it out.
    int entryOf(int32_t gpu) const {
        for (size_t k = 0; k < gpus.size(); ++k)
            if (gpus[k] == gpu) return int(k);
        return -1;
    }
};

GpuChoices listGpuChoices(const gpu::GpuContext& context);

}  // namespace info
