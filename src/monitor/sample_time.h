// Time stamps of the samples: the C library's local time of one instant, as the
// graphs' time text and the log's date-time text.
#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace monitor {

// Seconds since the epoch; the panel's clock, replaceable in tests.
using SampleClock = std::function<std::time_t()>;
SampleClock systemClock();

struct SampleTime {
    std::string time;      // "%d:%d:%d"; each field -1 when no local time can be formed
    std::string dateTime;  // "%d-%d-%d %d:%d:%d"; then "0-0-0 -1:-1:-1"
};

SampleTime sampleTime(std::time_t when);

}  // namespace monitor
