// vantrel --set KEY=VALUE[,KEY=VALUE...]: the values asked for, parsed and checked for form
// (the card's ranges are checked later, for every GPU, before the first write).
#pragma once

#include <cstdint>
#include <string>

namespace app {

struct SetRequest {
    enum class Fan { Auto, Fixed, Curve };
    uint32_t fields = 0;  // nvapi::KEPT_* of the values given
    int32_t gpuOffsetMhz = 0;
    int32_t memOffsetMhz = 0;
    int32_t powerPercent = 0;
    int32_t tempTargetC = 0;
    Fan fan = Fan::Auto;
    int32_t fanLevel = 0;
    bool hysteresisGiven = false;
    int32_t hysteresisC = 0;
};

// False with error set (one line, no program name) on the first key or value not understood.
bool parseSetList(const std::string& text, SetRequest& out, std::string& error);

// The least time the service leaves between two level changes of a kept curve.
inline constexpr uint32_t kKeptMinChangeMs = 2000;

}  // namespace app
