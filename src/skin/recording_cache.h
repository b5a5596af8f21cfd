// What each control of a window drew at its recent drawing states: a control
// that comes back to a state it had (a gauge's value, a frame of the eye) is
// known without being drawn into the recorder again.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "skin/recording.h"

namespace skin {

class RecordingCache {
  public:
    // Forgets every recording (a new window size clips all bounds anew).
    void clear() { m_slots.clear(); }
    // The recording of the control at `index` in `state`; null when none is kept
    // or another control now stands at that index.
    const Recording* find(size_t index, const void* control, uint64_t state) const {
        if (index >= m_slots.size() || m_slots[index].control != control) return nullptr;
        const auto it = m_slots[index].byState.find(state);
        return it == m_slots[index].byState.end() ? nullptr : &it->second;
    }
    void keep(size_t index, const void* control, uint64_t state, const Recording& recording) {
        if (index >= m_slots.size()) m_slots.resize(index + 1);
        Slot& slot = m_slots[index];
        // A control whose states never repeat starts over rather than growing.
        if (slot.control != control || slot.byState.size() >= kPerControl) slot.byState.clear();
        slot.control = control;
        slot.byState[state] = recording;
    }

  private:
    static constexpr size_t kPerControl = 1024;
    struct Slot {
        const void* control = nullptr;
        std::unordered_map<uint64_t, Recording> byState;
    };
    std::vector<Slot> m_slots;
};

}  // namespace skin
