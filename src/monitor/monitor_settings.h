// The MonitoringDlg section of the settings document as the monitor panel uses
// it: sampling period, log switch and path, and the four graph slots.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "monitor/sensor_kind.h"

namespace settings {
class SettingsReader;
class SettingsWriter;
}  // namespace settings

namespace monitor {

constexpr int kGraphCount = 4;

// One quantity's entry of the section: shown when active, with its graph range.
struct SensorEntry {
    bool active = false;
    int32_t max = 0;
    int32_t min = 0;
};
using SensorEntries = std::array<SensorEntry, kSensorCount>;

// What one graph shows.
struct GraphSlot {
    std::string caption;
    int32_t max = 0;
    int32_t min = 0;
    int32_t kind = kNoSensor;
    bool operator==(const GraphSlot&) const = default;
};
using GraphSlots = std::array<GraphSlot, kGraphCount>;

// The first four active quantities, in SensorKind order, fill the slots; later
// ones are ignored, and slots left over hold no quantity.
GraphSlots assignSlots(const SensorEntries& entries);

struct MonitorSettings {
    int32_t refreshRate = 0;  // milliseconds
    bool logToFile = false;
    std::string logPath;
    SensorEntries sensors;
    GraphSlots graphSlots;
};

MonitorSettings readMonitorSettings(const settings::SettingsReader& reader);

// The section as the Monitoring page edits it: texts as typed, stored unchanged.
struct SensorTexts {
    bool active = false;
    std::string max;
    std::string min;
};
struct MonitoringTexts {
    std::string refreshRate;
    bool logToFile = false;
    std::string logPath;
    std::array<SensorTexts, kSensorCount> sensors;
};

MonitoringTexts readMonitoringTexts(const settings::SettingsReader& reader);
void writeMonitoringTexts(settings::SettingsWriter& writer, const MonitoringTexts& texts);
// The numbers the texts stand for, as the panel reads them.
MonitorSettings parseMonitoringTexts(const MonitoringTexts& texts);

}  // namespace monitor
