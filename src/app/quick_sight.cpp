#include "app/quick_sight.h"

#include <QtGlobal>
#include <array>

#include "gpu/gpu_context.h"
#include "gpu/readings.h"

namespace app {

const char* quickSightCaption(int choice) {
    static constexpr std::array<const char*, 6> kCaptions = {
        QT_TRANSLATE_NOOP("QuickSight", "GPU Clock"),    QT_TRANSLATE_NOOP("QuickSight", "Memory Clock"),
        QT_TRANSLATE_NOOP("QuickSight", "Fan Speed"),    QT_TRANSLATE_NOOP("QuickSight", "GPU Load"),
        QT_TRANSLATE_NOOP("QuickSight", "Power Target"), QT_TRANSLATE_NOOP("QuickSight", "GPU Voltage")};
    return isQuickSightChoice(choice) ? kCaptions[size_t(choice)] : "";
}

const char* quickSightUnit(int choice) {
    static constexpr std::array<const char*, 6> kUnits = {"MHz", "MHz", "%", "%", "%", "mV"};
    return isQuickSightChoice(choice) ? kUnits[size_t(choice)] : "";
}

int32_t quickSightRange(int choice) {
    static constexpr std::array<int32_t, 6> kRanges = {4000, 4000, 100, 100, 100, 2500};
    return isQuickSightChoice(choice) ? kRanges[size_t(choice)] : 0;
}

int32_t sampleQuickSight(int choice) {
    switch (choice) {
        case kSightGpuClock:
        case kSightMemoryClock: {
            int32_t clocks[3] = {};
            gpu::readClocks(gpu::globalContext(), clocks, 0);
            return clocks[choice == kSightGpuClock ? 0 : 1];
        }
        case kSightFanSpeed: {
            int32_t fan[4] = {};
            gpu::readFanStatus(fan);
            return fan[2];
        }
        case kSightGpuLoad: {
            int32_t usage[2] = {};
            gpu::readGpuUsage(usage);
            return usage[0];
        }
        case kSightPowerTarget: {
            int32_t power[5] = {};
            return gpu::readPowerStatus(power) ? power[3] : 0;
        }
        case kSightGpuVoltage: {
            int32_t voltage[4] = {};
            gpu::readVoltage(voltage);
            return voltage[3] / 1000;
        }
        default:
            return 0;
    }
}

}  // namespace app
