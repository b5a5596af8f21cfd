// One sampling step of the monitor panel without its window: the time taken
// once, then the quantity of each graph slot read from the card.
#pragma once

#include <array>
#include <functional>

#include "monitor/monitor_settings.h"
#include "monitor/sample_time.h"

namespace monitor {

struct SampleRow {
    SampleTime time;
    // Per quantity; quantities no graph shows stay 0 (so the log leaves them blank).
    SensorValues values{};
    // Per graph slot: the value read for its quantity (0 for a slot without one).
    std::array<int32_t, kGraphCount> graphValues{};
};

using SensorReader = std::function<int32_t(int32_t kind)>;

SampleRow takeSample(const GraphSlots& graphSlots, const SampleClock& clock, const SensorReader& read);

}  // namespace monitor
