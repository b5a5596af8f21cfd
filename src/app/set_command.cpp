#include "app/set_command.h"

#include <string>
#include <vector>

#include "app/status_report.h"
#include "fan/fan_settings.h"
#include "gpu/diagnostics.h"
#include "gpu/gpu_context.h"
#include "gpu/service_settings.h"
#include "gpu/tuning.h"
#include "platform/process.h"
#include "platform/wtol.h"
#include "settings/settings_reader.h"

namespace app {
namespace {

using nvapi::KeptSettings;

struct Failure {
    int code = kExitOk;
    std::string text;
};

// The GPUs named by --gpu, or the reason there are none (as the status report says it).
Failure targets(const gpu::GpuContext& context, int gpu, std::vector<int>& list) {
    if (context.driverMissing() || context.initializeStatus() != nvapi::OK)
        return {context.driverMissing() ? kExitNoLibrary : kExitNoDriver,
                "the driver does not answer (status " + std::to_string(context.initializeStatus()) + ")"};
    if (context.count == 0) return {kExitNoGpu, "the driver reports no GPU"};
    if (gpu >= context.count)
        return {kExitNoSuchGpu, "there is no GPU " + std::to_string(gpu) + "; the driver reports " +
                                    std::to_string(context.count)};
    if (gpu == kAllGpus)
        for (int i = 0; i < context.count; ++i) list.push_back(i);
    else
        list.push_back(gpu < 0 ? 0 : gpu);
    return {};
}

// What --apply-profile N writes: the clock panel's profile as its Apply writes it, a stored 0
// meaning "not set". Clocks are absolute there, so their offsets come per GPU from its base.
struct Profile {
    int32_t gpuClock = 0, memoryClock = 0, power = 0, temperature = 0;
};

Profile readProfile(int number) {
    const settings::SettingsReader s;
    const settings::keys::ClockProfileKeys& k = settings::keys::kClockProfiles[size_t(number - 1)];
    return {s.read(k.gpuClock), s.read(k.memoryClock), s.read(k.powerTarget), s.read(k.temperatureTarget)};
}

SetRequest requestOf(const Profile& p, const gpu::TuningRanges& r) {
    SetRequest q;
    if (p.gpuClock != 0 && r.baseClockMhz[0] > 0)
        q.fields |= nvapi::KEPT_GPU_OFFSET, q.gpuOffsetMhz = p.gpuClock - r.baseClockMhz[0];
    if (p.memoryClock != 0 && r.baseClockMhz[1] > 0)
        q.fields |= nvapi::KEPT_MEM_OFFSET, q.memOffsetMhz = p.memoryClock - r.baseClockMhz[1];
    if (p.power > 0) q.fields |= nvapi::KEPT_POWER, q.powerPercent = p.power;
    if (p.temperature != 0) q.fields |= nvapi::KEPT_TEMP_TARGET, q.tempTargetC = p.temperature;
    return q;
}

// The curve, form and period of the user's settings document, as the service keeps them.
Failure documentCurve(nvapi::KeptFanCurve& c) {
    const settings::SettingsReader s;
    const fan::FanCurve curve = fan::readFanCurve(s);
    const int32_t period = _wtol(s.read(settings::keys::kUpdateTime));
    if (period < int32_t(nvapi::KEPT_PERIOD_MIN_MS) || period > int32_t(nvapi::KEPT_PERIOD_MAX_MS))
        return {kExitRefused, "the fan curve's period (UpdateTime " + std::to_string(period) +
                                  " ms in the settings) is outside " +
                                  std::to_string(nvapi::KEPT_PERIOD_MIN_MS) + " to " +
                                  std::to_string(nvapi::KEPT_PERIOD_MAX_MS) + " ms"};
    for (int i = 0; i < fan::kFanPointCount; ++i) {
        const fan::FanPoint& p = curve.points[size_t(i)];
        if (p.x < -1000 || p.x > 1000 || p.y < -1000 || p.y > 1000)
            return {kExitRefused, "the fan curve's point " + std::to_string(i + 1) + " (" +
                                      std::to_string(p.x) + " °C, " + std::to_string(p.y) +
                                      " %) is not a temperature and a level"};
        c.x[i] = p.x;
        c.y[i] = p.y;
    }
    c.stepped = curve.stepped() ? 1 : 0;
    c.periodMs = uint32_t(period);
    c.minChangeMs = kKeptMinChangeMs;
    return {};
}

std::string outside(int gpu, const std::string& what, long value, const char* unit,
                    const gpu::ValueRange& r) {
    if (!r.known) return "GPU " + std::to_string(gpu) + ": the card has no " + what + " to set";
    return "GPU " + std::to_string(gpu) + ": " + what + " " + std::to_string(value) + " " + unit +
           " is outside the card's range " + std::to_string(r.min) + " to " + std::to_string(r.max) + " " +
           unit;
}

// The request as the service keeps it, each value checked against the card's ranges.
Failure plan(int gpu, const SetRequest& q, const gpu::TuningRanges& r, const nvapi::KeptFanCurve& curve,
             KeptSettings& k) {
    k = KeptSettings{};
    k.version = nvapi::KEPT_SETTINGS_VER;
    k.fields = q.fields;
    if ((q.fields & nvapi::KEPT_GPU_OFFSET) && !r.gpuOffsetMhz.holds(q.gpuOffsetMhz))
        return {kExitRefused, outside(gpu, "GPU clock offset", q.gpuOffsetMhz, "MHz", r.gpuOffsetMhz)};
    if ((q.fields & nvapi::KEPT_MEM_OFFSET) && !r.memOffsetMhz.holds(q.memOffsetMhz))
        return {kExitRefused, outside(gpu, "memory clock offset", q.memOffsetMhz, "MHz", r.memOffsetMhz)};
    if ((q.fields & nvapi::KEPT_POWER) && !r.powerPercent.holds(q.powerPercent))
        return {kExitRefused, outside(gpu, "power target", q.powerPercent, "%", r.powerPercent)};
    if ((q.fields & nvapi::KEPT_TEMP_TARGET) && !r.tempTargetC.holds(q.tempTargetC))
        return {kExitRefused, outside(gpu, "temperature target", q.tempTargetC, "°C", r.tempTargetC)};
    if ((q.fields & nvapi::KEPT_FAN) && q.fan != SetRequest::Fan::Auto) {
        if (!r.fanPercent.known)
            return {kExitRefused, "GPU " + std::to_string(gpu) + ": the card has no fan control"};
        if (q.fan == SetRequest::Fan::Fixed && !r.fanPercent.holds(q.fanLevel))
            return {kExitRefused, outside(gpu, "fan level", q.fanLevel, "%", r.fanPercent)};
    }
    k.gpuOffsetKHz = q.gpuOffsetMhz * 1000;
    k.memOffsetKHz = q.memOffsetMhz * 1000;
    k.power = uint32_t(q.powerPercent) * 1000;
    k.tempTargetC = q.tempTargetC;
    k.fanMode = q.fan == SetRequest::Fan::Fixed   ? nvapi::KEPT_FAN_FIXED
                : q.fan == SetRequest::Fan::Curve ? nvapi::KEPT_FAN_CURVE
                                                  : nvapi::KEPT_FAN_DRIVER;
    k.fanLevel = uint32_t(q.fanLevel);
    if (k.fanMode == nvapi::KEPT_FAN_CURVE) {
        k.curve = curve;
        k.curve.hysteresisC = uint32_t(q.hysteresisC);
    }
    return {};
}

// One write of the planned values, in-process or through the service; the first refusal named.
Failure writeOnce(int gpu, const KeptSettings& k, bool priority) {
    auto refused = [gpu](const char* what) {
        return Failure{kExitRefused, "GPU " + std::to_string(gpu) + ": the driver refused the " + what};
    };
    if ((k.fields & nvapi::KEPT_GPU_OFFSET) && !gpu::setGpuClockOffset(k.gpuOffsetKHz / 1000))
        return refused("GPU clock offset");
    if ((k.fields & nvapi::KEPT_MEM_OFFSET) && !gpu::setMemoryClockOffset(k.memOffsetKHz / 1000))
        return refused("memory clock offset");
    if ((k.fields & nvapi::KEPT_POWER) && !gpu::setPowerTarget(k.power / 1000))
        return refused("power target");
    if ((k.fields & nvapi::KEPT_TEMP_TARGET) && !gpu::setTemperatureTarget(float(k.tempTargetC), priority))
        return refused("temperature target");
    if ((k.fields & nvapi::KEPT_FAN) && !gpu::restoreFanDefault())
        return refused("fan's hand-back to the driver");
    return {};
}

std::string describe(const KeptSettings& k) {
    std::vector<std::string> parts;
    auto sign = [](int32_t v) { return (v > 0 ? "+" : "") + std::to_string(v); };
    if (k.fields & nvapi::KEPT_GPU_OFFSET)
        parts.push_back("GPU clock offset " + sign(k.gpuOffsetKHz / 1000) + " MHz");
    if (k.fields & nvapi::KEPT_MEM_OFFSET)
        parts.push_back("memory clock offset " + sign(k.memOffsetKHz / 1000) + " MHz");
    if (k.fields & nvapi::KEPT_POWER)
        parts.push_back("power target " + std::to_string(k.power / 1000) + " %");
    if (k.fields & nvapi::KEPT_TEMP_TARGET)
        parts.push_back("temperature target " + std::to_string(k.tempTargetC) + " °C");
    if (k.fields & nvapi::KEPT_FAN) {
        if (k.fanMode == nvapi::KEPT_FAN_FIXED)
            parts.push_back("fan " + std::to_string(k.fanLevel) + " %");
        else if (k.fanMode == nvapi::KEPT_FAN_CURVE)
            parts.push_back("fan curve every " + std::to_string(k.curve.periodMs) + " ms, hysteresis " +
                            std::to_string(k.curve.hysteresisC) + " °C");
        else
            parts.push_back("fan by the driver");
    }
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : ", ") + p;
    return text.empty() ? "nothing" : text;
}

}  // namespace

int runSetCommand(const CommandLine& c, std::FILE* out, std::FILE* err) {
    const bool curve = (c.set.fields & nvapi::KEPT_FAN) && c.set.fan == SetRequest::Fan::Curve;
    const bool profile = c.run == CommandLine::Run::ApplyProfile;
    // The settings document is the user's, found as the window finds it.
    if ((curve || profile) && !platform::enterWorkingDir()) {
        std::fprintf(err, "vantrel: no folder for the user's settings\n");
        return 1;
    }
    nvapi::KeptFanCurve documentFan{};
    if (curve) {
        if (const Failure f = documentCurve(documentFan); f.code) {
            std::fprintf(err, "vantrel: %s\n", f.text.c_str());
            return f.code;
        }
    }
    const Profile stored = profile ? readProfile(c.profile) : Profile{};
    gpu::DiagnosticRedirect quiet(nullptr);
    gpu::GpuContext context;
    std::vector<int> gpus;
    if (const Failure f = targets(context, c.status.gpu, gpus); f.code) {
        std::fprintf(err, "vantrel: %s\n", f.text.c_str());
        return f.code;
    }
    gpu::GlobalContextScope global(context);
    // Everything is checked on every GPU before anything is written.
    std::vector<KeptSettings> plans(gpus.size());
    std::vector<bool> priority(gpus.size());
    for (size_t i = 0; i < gpus.size(); ++i) {
        context.selectedIndex = gpus[i];
        const gpu::TuningRanges ranges = gpu::readTuningRanges();
        priority[i] = ranges.temperaturePriority;
        const SetRequest q = profile ? requestOf(stored, ranges) : c.set;
        if (profile && q.fields == 0) {
            std::fprintf(err, "vantrel: profile %d holds nothing to apply\n", c.profile);
            return kExitRefused;
        }
        if (const Failure f = plan(gpus[i], q, ranges, documentFan, plans[i]); f.code) {
            std::fprintf(err, "vantrel: %s; nothing written\n", f.text.c_str());
            return f.code;
        }
    }
    if (c.persist) {
        context.selectedIndex = gpus.front();
        nvapi::ServiceStatus probe{};
        if (gpu::readServiceStatus(probe) != nvapi::OK) {
            std::fprintf(
                err,
                "vantrel: --persist needs the service vantreld, which does not answer; nothing written\n");
            return kExitNoService;
        }
    }
    for (size_t i = 0; i < gpus.size(); ++i) {
        context.selectedIndex = gpus[i];
        if (c.persist) {
            const int32_t status = gpu::keepSettings(plans[i]);
            if (status != nvapi::OK) {
                std::fprintf(err, "vantrel: GPU %d: the service refused to keep %s (status %d)\n", gpus[i],
                             describe(plans[i]).c_str(), status);
                return status == nvapi::NO_IMPLEMENTATION ? kExitNoService : kExitRefused;
            }
        } else if (const Failure f = writeOnce(gpus[i], plans[i], priority[i]); f.code) {
            std::fprintf(err, "vantrel: %s\n", f.text.c_str());
            return f.code;
        }
        std::fprintf(out, "GPU %d: %s %s\n", gpus[i], describe(plans[i]).c_str(),
                     c.persist ? "kept by the service and applied" : "written");
    }
    std::fflush(out);
    return kExitOk;
}

}  // namespace app
