#include "monitor/monitor_settings.h"

#include "settings/settings_reader.h"

namespace monitor {

std::string sensorPath(int kind) {
    return std::string(kSectionPath) + "/" + sensorInfo(kind).element;
}

GraphSlots assignSlots(const SensorEntries& entries) {
    GraphSlots graphSlots;
    size_t next = 0;
    for (int kind = 0; kind < kSensorCount && next < graphSlots.size(); ++kind) {
        const SensorEntry& entry = entries[size_t(kind)];
        if (!entry.active) continue;
        graphSlots[next++] = GraphSlot{sensorInfo(kind).caption, entry.max, entry.min, kind};
    }
    return graphSlots;
}

MonitorSettings readMonitorSettings(const settings::SettingsReader& reader) {
    MonitorSettings s;
    s.refreshRate = reader.integer(kRefreshRatePath);
    s.logPath = reader.text(kLogPathPath);
    s.logToFile = reader.numberFlag(kLogToFilePath);
    for (int kind = 0; kind < kSensorCount; ++kind) {
        const std::string path = sensorPath(kind);
        SensorEntry& entry = s.sensors[size_t(kind)];
        entry.active = reader.numberFlag(path);
        entry.max = reader.integer(path, kMaxAttribute);
        entry.min = reader.integer(path, kMinAttribute);
    }
    s.graphSlots = assignSlots(s.sensors);
    return s;
}

}  // namespace monitor
