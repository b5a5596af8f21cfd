#include "bridge.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace nvml_bridge {
namespace {

// Handles are tagged indexes, so a stray value is recognised instead of dereferenced.
constexpr uintptr_t kHandleBase = 0x4E564D00;
constexpr uintptr_t kHandleStep = 0x10;
constexpr unsigned kMaxFans = 20;  // cooler entries in the largest structure

}  // namespace

Bridge& bridge() {
    // Never destroyed: at process exit NVML may already be finalised.
    static Bridge* instance = new Bridge;
    return *instance;
}

NvPhysicalGpuHandle Bridge::handleOf(unsigned index) {
    return reinterpret_cast<NvPhysicalGpuHandle>(kHandleBase + index * kHandleStep);
}

Device* Bridge::device(NvPhysicalGpuHandle h) {
    const auto v = reinterpret_cast<uintptr_t>(h);
    if (v < kHandleBase || (v - kHandleBase) % kHandleStep != 0) return nullptr;
    const uintptr_t index = (v - kHandleBase) / kHandleStep;
    return index < devices_.size() ? &devices_[index] : nullptr;
}

int32_t Bridge::initialize() {
    if (initialized_) return nvapi::OK;
    if (!library_.open()) {
        startProblem_.clear();
        std::fprintf(stderr, "vantrel: NVIDIA's NVML library cannot be used: %s\n",
                     library_.problem().c_str());
        return own(nvapi::LIBRARY_NOT_FOUND);
    }
    const nvml::Functions& f = fn();
    // Any refusal here (no kernel driver, a mismatch, no access to the device files) means no
    // card can be reached: the program's start-up failure, with NVML's own reason on stderr.
    nvmlReturn_t r = f.init();
    unsigned count = 0;
    if (r == nvml::SUCCESS) {
        r = f.getCount(&count);
        if (r != nvml::SUCCESS) f.shutdown();
    }
    if (r != nvml::SUCCESS) {
        const char* why = f.errorString(r);
        startProblem_ = why ? why : "unknown error";
        std::fprintf(stderr, "vantrel: NVML cannot start: %s\n", startProblem_.c_str());
        library_.close();
        return own(nvapi::LIBRARY_NOT_FOUND);
    }
    startProblem_.clear();
    devices_.clear();
    count = std::min<unsigned>(count, nvapi::MAX_PHYSICAL_GPUS);
    for (unsigned i = 0; i < count; ++i) {
        Device d;
        d.index = i;
        if (f.getHandleByIndex(i, &d.nvml) != nvml::SUCCESS) continue;  // e.g. a GPU hidden from us
        readFacts(d);
        devices_.push_back(d);
    }
    initialized_ = true;
    return nvapi::OK;
}

void Bridge::readFacts(Device& d) {
    const nvml::Functions& f = fn();
    if (!f.getPowerDefaultLimit || f.getPowerDefaultLimit(d.nvml, &d.defaultLimitMw) != nvml::SUCCESS)
        d.defaultLimitMw = 0;
    if (d.defaultLimitMw > 0 && f.getPowerLimitConstraints &&
        f.getPowerLimitConstraints(d.nvml, &d.minLimitMw, &d.maxLimitMw) == nvml::SUCCESS)
        d.hasPowerLimits = d.minLimitMw <= d.maxLimitMw;

    unsigned fans = 0;
    if (f.getNumFans && f.getFanSpeed && f.getNumFans(d.nvml, &fans) == nvml::SUCCESS)
        d.fanCount = std::min(fans, kMaxFans);
    unsigned lo = 0, hi = 0;
    if (f.getMinMaxFanSpeed && f.getMinMaxFanSpeed(d.nvml, &lo, &hi) == nvml::SUCCESS && lo <= hi && hi > 0 &&
        hi <= 100) {
        d.minFanSpeed = lo;
        d.maxFanSpeed = hi;
    }

    unsigned amin = 0, amax = 0, acur = 0;
    if (f.getTemperatureThreshold &&
        f.getTemperatureThreshold(d.nvml, nvml::THRESHOLD_ACOUSTIC_MIN, &amin) == nvml::SUCCESS &&
        f.getTemperatureThreshold(d.nvml, nvml::THRESHOLD_ACOUSTIC_MAX, &amax) == nvml::SUCCESS &&
        f.getTemperatureThreshold(d.nvml, nvml::THRESHOLD_ACOUSTIC_CURR, &acur) == nvml::SUCCESS &&
        amin <= amax && amax < 256) {
        d.hasAcousticRange = true;
        d.acousticMin = static_cast<int>(amin);
        d.acousticMax = static_cast<int>(amax);
        d.acousticDefault = static_cast<int>(std::clamp(acur, amin, amax));
    }
}

void Bridge::releaseManualFans() {
    if (!fn().setDefaultFanSpeed) return;
    for (Device& d : devices_) {
        for (unsigned fan = 0; fan < kMaxFans; ++fan)
            if (d.manualFans & (1u << fan)) fn().setDefaultFanSpeed(d.nvml, fan);
        d.manualFans = 0;
    }
}

int32_t Bridge::unload() {
    service_.close();
    if (initialized_) {
        releaseManualFans();
        fn().shutdown();
    }
    initialized_ = false;
    devices_.clear();
    library_.close();
    status_.clear();
    return nvapi::OK;
}

void Bridge::errorText(int32_t status, char* out, std::size_t size) const {
    if (status == nvapi::LIBRARY_NOT_FOUND && !startProblem_.empty() && size > 0) {
        std::snprintf(out, size, "%s", startProblem_.c_str());
        return;
    }
    status_.text(status, library_.isOpen() ? fn().errorString : nullptr, out, size);
}

}  // namespace nvml_bridge
