// The library's state between initialise and the last unload: the card, its GPUs, the simulated
// clock and the per-call fault counters.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "card.h"
#include "nvapi_contract.h"
#include "sim_gpu.h"

namespace sim {

// The contract names no status for a call made before initialise; this is the driver's own code.
constexpr int32_t API_NOT_INITIALIZED = -4;

class Driver {
  public:
    // The running driver, or null when not initialised.
    static Driver* current();
    static int32_t initialize();
    static int32_t unload();
    // Text for a status; also answers while uninitialised (the last failed initialise's reason for -1).
    static std::string errorText(int32_t status);
    // Moves simulated time forward (also while time is frozen).
    static void advance(double seconds);

    explicit Driver(CardDesc card, bool frozen);

    const CardDesc& card() const { return card_; }
    int gpuCount() const { return int(gpus_.size()); }
    SimGpu& gpu(int index) { return gpus_[size_t(index)]; }
    static NvPhysicalGpuHandle handle(int index);
    // Index of one of this card's handles, or -1.
    int indexOf(NvPhysicalGpuHandle handle) const;

    // Counts a call of interface `id` on a GPU (-1: a system call) and answers its injected status or 0.
    int32_t injectedStatus(uint32_t id, int gpuIndex);
    // True when the interface accepts this version word on this GPU (-1: a system call).
    bool acceptsVersion(uint32_t id, int gpuIndex, uint32_t versionWord) const;

    // Simulated seconds since the card was built.
    double now() const;

  private:
    CardDesc card_;
    std::vector<SimGpu> gpus_;
    bool frozen_;
    double advanced_ = 0;
    std::chrono::steady_clock::time_point start_;
    std::map<std::pair<int, uint32_t>, uint32_t> calls_;
};

// The checks each call starts with: initialised (-4), one of the card's GPU handles (-101), an
// injected fault. On success `gpu` is the GPU, moved forward to the current simulated time.
int32_t enterGpuCall(uint32_t id, NvPhysicalGpuHandle handle, SimGpu*& gpu, int& index);
int32_t enterSystemCall(uint32_t id);
// OK when the version word is accepted, else INCOMPATIBLE_STRUCT_VERSION.
int32_t checkVersion(uint32_t id, int gpuIndex, uint32_t versionWord);

}  // namespace sim
