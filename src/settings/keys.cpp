#include "settings/keys.h"

namespace settings {

namespace {

template <Coding C>
void add(std::vector<KeyInfo>& out, const Key<C>& key) {
    out.push_back({key.path, key.attribute, C});
}

}  // namespace

std::vector<KeyInfo> declaredKeys() {
    using namespace keys;
    std::vector<KeyInfo> out;
    add(out, kVersion);
    add(out, kStartMinimized);
    for (const IntegerKey& key : {kUpdateCheck, kUpdateDay, kUpdateWeek, kUpdateMonth}) add(out, key);
    add(out, kEnableFan);
    add(out, kAutoSystem);
    add(out, kUpdateTime);
    for (const FanPointKeys& point : kFanMapPoints) {
        add(out, point.temperature);
        add(out, point.speed);
    }
    add(out, kFanMapForm);
    for (const ClockProfileKeys& p : kClockProfiles)
        for (const IntegerKey& key : {p.gpuClock, p.memoryClock, p.fanSpeed, p.powerTarget,
                                      p.temperatureTarget, p.voltageMax, p.voltageMin})
            add(out, key);
    add(out, kRefreshRate);
    add(out, kLogToFile);
    add(out, kLogToFilePath);
    for (const SensorKeys& sensor : kMonitorSensors) {
        add(out, sensor.active);
        add(out, sensor.max);
        add(out, sensor.min);
    }
    add(out, kQuickSightLeft);
    add(out, kQuickSightRight);
    add(out, kScreenshotFolder);
    add(out, kHotKeyVirtualKey);
    add(out, kHotKeyModifiers);
    return out;
}

}  // namespace settings
