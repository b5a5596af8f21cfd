#include "skin/recording.h"

#include "skin/draw_state.h"

namespace skin {

void addChangedPlaces(const Recording& before, const Recording& after, std::vector<QRect>& places) {
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

Recording recordingOf(std::vector<PaintRecorder::Part> parts) {
    Recording r;
    r.shown = true;
    DrawStateKey key;
    for (const PaintRecorder::Part& part : parts) {
        r.bounds |= part.bounds;
        key.add(QRectF(part.bounds)).add(part.key);
    }
    r.key = key.value();
    r.parts = std::move(parts);
    return r;
}

bool toldAsSeen(const Recording& toldBefore, const Recording& seenBefore, const Recording& told,
                const Recording& seen) {
    if (!told.bounds.contains(seen.bounds) && !seen.bounds.isEmpty()) return false;
    if (told.parts.size() != seen.parts.size()) return false;
    for (size_t i = 0; i < told.parts.size(); ++i)
        if (!seen.parts[i].bounds.isEmpty() && !told.parts[i].bounds.contains(seen.parts[i].bounds))
            return false;
    if (toldBefore.parts.size() != told.parts.size() || seenBefore.parts.size() != seen.parts.size())
        return true;  // nothing to compare with
    for (size_t i = 0; i < told.parts.size(); ++i)
        if (toldBefore.parts[i] == told.parts[i] && !(seenBefore.parts[i] == seen.parts[i])) return false;
    return true;
}

}  // namespace skin
