#include "monitor/sampler.h"

namespace monitor {

SampleRow takeSample(const GraphSlots& graphSlots, const SampleClock& clock, const SensorReader& read) {
    SampleRow row;
    row.time = sampleTime(clock());
    for (size_t k = 0; k < graphSlots.size(); ++k) {
        const int32_t kind = graphSlots[k].kind;
        if (!isSensorKind(kind)) continue;
        const int32_t value = read(kind);
        row.values[size_t(kind)] = value;
        row.graphValues[k] = value;
    }
    return row;
}

}  // namespace monitor
