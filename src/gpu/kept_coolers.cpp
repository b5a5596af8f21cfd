#include "gpu/kept_coolers.h"

#include <atomic>
#include <cstring>

namespace gpu::detail {

namespace {

enum FanControl : int { kUnknown = 0, kControllable, kNotControllable };

struct KeptGpu {
    std::atomic<NvPhysicalGpuHandle> handle{nullptr};
    // Index of the complete table in tables[]; -1 while none was read.
    std::atomic<int> current{-1};
    nvapi::CoolerSettings tables[2];
    uint32_t versionNo[2] = {3, 3};
    std::atomic<int> control{kUnknown};
    std::atomic<bool> manual{false};
};

static_assert(std::atomic<NvPhysicalGpuHandle>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

KeptGpu g_kept[kKeptGpus];

// The slot of gpu; with create, a free slot is claimed for it. Null when the
// GPU has none (and none is free).
KeptGpu* slotOf(NvPhysicalGpuHandle gpu, bool create) noexcept {
    if (!gpu) return nullptr;
    for (KeptGpu& k : g_kept)
        if (k.handle.load() == gpu) return &k;
    if (!create) return nullptr;
    for (KeptGpu& k : g_kept) {
        NvPhysicalGpuHandle expected = nullptr;
        if (k.handle.compare_exchange_strong(expected, gpu)) return &k;
    }
    return nullptr;
}

}  // namespace

void keepCoolerTable(NvPhysicalGpuHandle gpu, const nvapi::CoolerSettings& table,
                     uint32_t versionNo) noexcept {
    KeptGpu* k = slotOf(gpu, true);
    if (!k) return;
    const int next = k->current.load() == 0 ? 1 : 0;
    std::memcpy(&k->tables[next], &table, sizeof table);
    k->versionNo[next] = versionNo;
    k->current.store(next);
    k->control.store(kControllable);
}

bool keptCoolerTable(NvPhysicalGpuHandle gpu, nvapi::CoolerSettings& table, uint32_t& versionNo) noexcept {
    KeptGpu* k = slotOf(gpu, false);
    if (!k) return false;
    const int i = k->current.load();
    if (i < 0) return false;
    std::memcpy(&table, &k->tables[i], sizeof table);
    versionNo = k->versionNo[i];
    return true;
}

void noteCoolerStatus(NvPhysicalGpuHandle gpu, int32_t status) noexcept {
    if (status == nvapi::OK) {
        if (KeptGpu* k = slotOf(gpu, true)) k->control.store(kControllable);
        return;
    }
    if (!meansNoFanControl(status)) return;
    KeptGpu* k = slotOf(gpu, true);
    if (!k) return;
    // A GPU whose coolers answered once stays controllable: a later refusal is a fault.
    int expected = kUnknown;
    k->control.compare_exchange_strong(expected, kNotControllable);
}

bool fanControllable(NvPhysicalGpuHandle gpu) noexcept {
    const KeptGpu* k = slotOf(gpu, false);
    return !k || k->control.load() != kNotControllable;
}

void noteFanManual(NvPhysicalGpuHandle gpu, bool manual) noexcept {
    if (KeptGpu* k = slotOf(gpu, manual)) k->manual.store(manual);
}

bool fanManual(NvPhysicalGpuHandle gpu) noexcept {
    const KeptGpu* k = slotOf(gpu, false);
    return k && k->manual.load();
}

NvPhysicalGpuHandle keptHandle(int slot) noexcept {
    return slot >= 0 && slot < kKeptGpus ? g_kept[slot].handle.load() : nullptr;
}

void forgetKeptCoolers() noexcept {
    for (KeptGpu& k : g_kept) {
        k.current.store(-1);
        k.control.store(kUnknown);
        k.manual.store(false);
        k.handle.store(nullptr);
    }
}

}  // namespace gpu::detail
