#include "monitor/monitor_settings.h"

#include "platform/wtol.h"
#include "settings/settings_writer.h"

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
    return parseMonitoringTexts(readMonitoringTexts(reader));
}

MonitoringTexts readMonitoringTexts(const settings::SettingsReader& reader) {
    MonitoringTexts t;
    t.refreshRate = reader.text(kRefreshRatePath);
    t.logToFile = reader.numberFlag(kLogToFilePath);
    t.logPath = reader.text(kLogPathPath);
    for (int kind = 0; kind < kSensorCount; ++kind) {
        const std::string path = sensorPath(kind);
        SensorTexts& sensor = t.sensors[size_t(kind)];
        sensor.active = reader.numberFlag(path);
        sensor.max = reader.text(path, kMaxAttribute);
        sensor.min = reader.text(path, kMinAttribute);
    }
    return t;
}

void writeMonitoringTexts(settings::SettingsWriter& writer, const MonitoringTexts& t) {
    writer.setText(kRefreshRatePath, t.refreshRate);
    writer.setFlag(kLogToFilePath, t.logToFile);
    writer.setText(kLogPathPath, t.logPath);
    for (int kind = 0; kind < kSensorCount; ++kind) {
        const std::string path = sensorPath(kind);
        const SensorTexts& sensor = t.sensors[size_t(kind)];
        writer.setInteger(path, sensor.active ? 1 : 0);
        writer.setAttribute(path, kMaxAttribute, std::string_view(sensor.max));
        writer.setAttribute(path, kMinAttribute, std::string_view(sensor.min));
    }
}

MonitorSettings parseMonitoringTexts(const MonitoringTexts& t) {
    MonitorSettings s;
    s.refreshRate = _wtol(t.refreshRate);
    s.logToFile = t.logToFile;
    s.logPath = t.logPath;
    for (size_t kind = 0; kind < s.sensors.size(); ++kind) {
        const SensorTexts& sensor = t.sensors[kind];
        s.sensors[kind] = SensorEntry{sensor.active, _wtol(sensor.max), _wtol(sensor.min)};
    }
    s.graphSlots = assignSlots(s.sensors);
    return s;
}

}  // namespace monitor
