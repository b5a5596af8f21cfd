#include "monitor/sample_time.h"

#include <cstdio>

namespace monitor {

SampleClock systemClock() {
    return [] { return std::time(nullptr); };
}

SampleTime sampleTime(std::time_t when) {
    std::tm local{};
    const bool known = localtime_r(&when, &local) != nullptr;
    const int hour = known ? local.tm_hour : -1;
    const int minute = known ? local.tm_min : -1;
    const int second = known ? local.tm_sec : -1;
    const int year = known ? local.tm_year + 1900 : 0;
    const int month = known ? local.tm_mon + 1 : 0;
    const int day = known ? local.tm_mday : 0;
    char time[40];
    char dateTime[80];
    std::snprintf(time, sizeof time, "%d:%d:%d", hour, minute, second);
    std::snprintf(dateTime, sizeof dateTime, "%d-%d-%d %d:%d:%d", year, month, day, hour, minute, second);
    return SampleTime{time, dateTime};
}

}  // namespace monitor
