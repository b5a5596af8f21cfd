// What each control of a window drew at its recent drawing states: a control
// that comes back to a state it had (a gauge's value, a frame of the eye) is
// known without being drawn into the recorder again.
#pragma once

#include <QRect>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "skin/paint_recorder.h"

namespace skin {

// Where a control's drawing lies and a key of how it looks, also operation by
// operation where it had few.
struct Recording {
    QRect bounds;
    uint64_t key = 0;
    bool shown = false;
    std::vector<PaintRecorder::Part> parts;
    bool operator==(const Recording&) const = default;
};

// Appends to `places` where the pictures of two recordings of one control may
// differ: past the operations both begin and end with, whatever lies between,
// in either. Operations drawn after the change are the same operations on the
// same pixels outside it, so nothing else changes.
inline void addChangedPlaces(const Recording& before, const Recording& after, std::vector<QRect>& places) {
    if (before.key == after.key && before.bounds == after.bounds && before.shown == after.shown) return;
    if (before.parts.empty() || after.parts.empty() || before.shown != after.shown) {
        places.push_back(before.bounds);
        places.push_back(after.bounds);
        return;
    }
    const auto& a = before.parts;
    const auto& b = after.parts;
    size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    for (size_t i = head; i < a.size() - tail; ++i) places.push_back(a[i].bounds);
    for (size_t i = head; i < b.size() - tail; ++i) places.push_back(b[i].bounds);
}

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
