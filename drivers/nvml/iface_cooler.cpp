// Fans: the cooler table read from NVML's per-fan values, and level writes to every fan.
#include <algorithm>
#include <cstring>

#include "bridge.h"
#include "interfaces.h"

namespace nvml_bridge {
namespace {

constexpr uint32_t kCoolerTypeFan = 1;
constexpr uint32_t kCoolerControllerInternal = 2;
constexpr uint32_t kCoolerTargetGpu = 1;
constexpr uint32_t kCoolerControlVariable = 2;

bool knownCoolerVersion(uint32_t word) {
    return word == COOLER_SETTINGS_VER3 || word == COOLER_SETTINGS_VER1 || word == COOLER_SETTINGS_VER2;
}

uint32_t fanPolicy(Bridge& b, Device& d, unsigned fan) {
    unsigned policy = 0;
    if (b.fn().getFanControlPolicy && b.fn().getFanControlPolicy(d.nvml, fan, &policy) == nvml::SUCCESS)
        return policy == nvml::FAN_POLICY_MANUAL ? COOLER_POLICY_MANUAL : COOLER_POLICY_DRIVER;
    return (d.manualFans & (1u << fan)) ? COOLER_POLICY_MANUAL : COOLER_POLICY_DRIVER;
}

int32_t setManual(Bridge& b, Device& d, uint32_t level) {
    if (!b.fn().setFanSpeed) return b.own(NOT_SUPPORTED);
    // NVML refuses levels outside the card's range; the nearest allowed level is what was meant.
    const unsigned speed = std::clamp<unsigned>(level, d.minFanSpeed, d.maxFanSpeed);
    int32_t first = OK;
    for (unsigned fan = 0; fan < d.fanCount; ++fan) {
        const nvmlReturn_t r = b.fn().setFanSpeed(d.nvml, fan, speed);
        if (r == nvml::SUCCESS)
            d.manualFans |= 1u << fan;
        else if (first == OK)
            first = b.check(r);
    }
    return first;
}

int32_t giveBack(Bridge& b, Device& d) {
    if (!b.fn().setDefaultFanSpeed) return b.own(NOT_SUPPORTED);
    int32_t first = OK;
    for (unsigned fan = 0; fan < d.fanCount; ++fan) {  // every fan, even after one refuses
        const nvmlReturn_t r = b.fn().setDefaultFanSpeed(d.nvml, fan);
        if (r == nvml::SUCCESS)
            d.manualFans &= ~(1u << fan);
        else if (first == OK)
            first = b.check(r);
    }
    return first;
}

}  // namespace

int32_t getCoolerSettings(NvPhysicalGpuHandle h, uint32_t coolerTarget, CoolerSettings* s) {
    Bridge& b = bridge();
    if (!s) return b.own(INVALID_ARGUMENT);
    if (!knownCoolerVersion(s->version)) return b.own(INCOMPATIBLE_STRUCT_VERSION);
    if (coolerTarget != COOLER_TARGET_ALL) return b.own(INVALID_ARGUMENT);
    return onDevice(h, [&](Bridge& b, Device& d) {
        if (d.fanCount == 0) return b.own(NOT_SUPPORTED);
        const uint32_t ver = versionNumber(s->version);
        CoolerSettings out{};
        out.version = s->version;
        out.count = std::min<uint32_t>(d.fanCount, coolerMaxEntries(ver));
        for (unsigned fan = 0; fan < out.count; ++fan) {
            unsigned speed = 0;
            const nvmlReturn_t r = b.fn().getFanSpeed(d.nvml, fan, &speed);
            if (r != nvml::SUCCESS) return b.check(r);
            auto word = [&](CoolerField f) -> uint32_t& {
                return coolerWord(out, ver, static_cast<int>(fan), f);
            };
            word(COOLER_TYPE) = kCoolerTypeFan;
            word(COOLER_CONTROLLER) = kCoolerControllerInternal;
            word(COOLER_DEFAULT_MIN_LEVEL) = d.minFanSpeed;
            word(COOLER_DEFAULT_MAX_LEVEL) = d.maxFanSpeed;
            word(COOLER_CURRENT_MIN_LEVEL) = d.minFanSpeed;
            word(COOLER_CURRENT_MAX_LEVEL) = d.maxFanSpeed;
            word(COOLER_CURRENT_LEVEL) = std::min(speed, 100u);  // NVML may report above 100 %
            word(COOLER_DEFAULT_POLICY) = COOLER_POLICY_DRIVER;
            word(COOLER_CURRENT_POLICY) = fanPolicy(b, d, fan);
            word(COOLER_TARGET) = kCoolerTargetGpu;
            word(COOLER_CONTROL_TYPE) = kCoolerControlVariable;
            word(COOLER_ACTIVE) = 1;
        }
        std::memcpy(s, &out, versionSize(s->version));
        return int32_t{OK};
    });
}

// Entry 0 applies to every fan: the manual policy sets its level, any other policy hands the
// fan back to the driver.
int32_t setCoolerLevels(NvPhysicalGpuHandle h, uint32_t coolerTarget, CoolerLevels* levels) {
    Bridge& b = bridge();
    if (!levels) return b.own(INVALID_ARGUMENT);
    if (levels->version != COOLER_LEVELS_VER) return b.own(INCOMPATIBLE_STRUCT_VERSION);
    if (coolerTarget != COOLER_TARGET_ALL) return b.own(INVALID_ARGUMENT);
    return onDevice(h, [&](Bridge& b, Device& d) {
        if (int32_t s = OK; forwarded(b, d, ID_GPU_SetCoolerLevels, coolerTarget, levels, sizeof *levels, s))
            return s;
        if (d.fanCount == 0) return b.own(NOT_SUPPORTED);
        const CoolerLevel wanted = levels->cooler[0];
        return wanted.policy == COOLER_POLICY_MANUAL ? setManual(b, d, wanted.level) : giveBack(b, d);
    });
}

}  // namespace nvml_bridge
