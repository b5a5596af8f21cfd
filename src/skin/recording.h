// What a control drew, as its owner keeps it between paints: where, a key of how,
// and the drawing operation by operation.
#pragma once

#include <QRect>
#include <cstdint>
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
void addChangedPlaces(const Recording& before, const Recording& after, std::vector<QRect>& places);

// A drawing of `parts` in this order: their bounds joined and their keys folded.
Recording recordingOf(std::vector<PaintRecorder::Part> parts);

// For tests: whether what a control told of its drawing (`told`) holds against
// what a recorder saw it draw (`seen`), given both from its last paint: the same
// operations, each told one covering the pixels of the one seen, and none told
// unchanged that was seen changed.
bool toldAsSeen(const Recording& toldBefore, const Recording& seenBefore, const Recording& told,
                const Recording& seen);

}  // namespace skin
