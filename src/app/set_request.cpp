#include "app/set_request.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "nvapi_contract.h"

namespace app {
namespace {

// A whole number within [lo, hi] (a leading + allowed), nothing else.
bool wholeNumber(const std::string& text, long lo, long hi, int32_t& out) {
    if (text.empty() || text.size() > 9) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    out = int32_t(v);
    return true;
}

}  // namespace

bool parseSetList(const std::string& text, SetRequest& out, std::string& error) {
    out = SetRequest{};
    std::istringstream in(text);
    std::string item;
    bool any = false;
    while (std::getline(in, item, ',')) {
        const std::size_t eq = item.find('=');
        const std::string key = item.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : item.substr(eq + 1);
        if (eq == std::string::npos || value.empty()) {
            error = "--set wants KEY=VALUE, not '" + item + "'.";
            return false;
        }
        auto number = [&](long lo, long hi, int32_t& field, uint32_t flag, const char* what,
                          const std::string& digits) {
            if (out.fields & flag) {
                error = "--set names " + key + " twice.";
                return false;
            }
            if (!wholeNumber(digits, lo, hi, field)) {
                error = "--set " + key + " wants " + what + ", not '" + value + "'.";
                return false;
            }
            out.fields |= flag;
            return true;
        };
        bool ok = true;
        if (key == "gpu-offset")
            ok = number(-10000, 10000, out.gpuOffsetMhz, nvapi::KEPT_GPU_OFFSET, "MHz", value);
        else if (key == "mem-offset")
            ok = number(-10000, 10000, out.memOffsetMhz, nvapi::KEPT_MEM_OFFSET, "MHz", value);
        else if (key == "power")
            ok = number(1, 1000, out.powerPercent, nvapi::KEPT_POWER, "a percentage", value);
        else if (key == "temp-target")
            ok = number(-100, 200, out.tempTargetC, nvapi::KEPT_TEMP_TARGET, "°C", value);
        else if (key == "fan" && (value == "auto" || value == "curve")) {
            ok = !(out.fields & nvapi::KEPT_FAN);
            if (!ok) error = "--set names fan twice.";
            out.fields |= nvapi::KEPT_FAN;
            out.fan = value == "auto" ? SetRequest::Fan::Auto : SetRequest::Fan::Curve;
        } else if (key == "fan") {
            const bool sign = value.size() > 1 && value.back() == '%';
            ok = number(0, 100, out.fanLevel, nvapi::KEPT_FAN, "auto, curve or a percentage 0 to 100",
                        sign ? value.substr(0, value.size() - 1) : value);
            out.fan = SetRequest::Fan::Fixed;
        } else if (key == "hysteresis") {
            ok = !out.hysteresisGiven &&
                 wholeNumber(value, 0, int32_t(nvapi::KEPT_HYSTERESIS_MAX_C), out.hysteresisC);
            if (!ok)
                error = "--set hysteresis wants °C from 0 to " +
                        std::to_string(nvapi::KEPT_HYSTERESIS_MAX_C) + ", once, not '" + value + "'.";
            out.hysteresisGiven = true;
        } else {
            error = "--set knows no key '" + key +
                    "' (fan, power, temp-target, gpu-offset, mem-offset, hysteresis).";
            return false;
        }
        if (!ok) return false;
        any = true;
    }
    if (!any) {
        error = "--set needs at least one KEY=VALUE.";
        return false;
    }
    if (out.hysteresisGiven && !((out.fields & nvapi::KEPT_FAN) && out.fan == SetRequest::Fan::Curve)) {
        error = "--set hysteresis goes with fan=curve.";
        return false;
    }
    return true;
}

}  // namespace app
