#include "monitor/monitor_settings.h"

#include "platform/wtol.h"
#include "settings/settings_writer.h"

namespace monitor {

namespace keys = settings::keys;
static_assert(keys::kMonitorSensors.size() == kSensorCount);

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
    t.refreshRate = reader.read(keys::kRefreshRate);
    t.logToFile = reader.read(keys::kLogToFile);
    t.logPath = reader.read(keys::kLogToFilePath);
    for (size_t kind = 0; kind < t.sensors.size(); ++kind) {
        SensorTexts& sensor = t.sensors[kind];
        sensor.active = reader.read(keys::kMonitorSensors[kind].active);
        sensor.max = reader.read(keys::kMonitorSensors[kind].max);
        sensor.min = reader.read(keys::kMonitorSensors[kind].min);
    }
    return t;
}

void writeMonitoringTexts(settings::SettingsWriter& writer, const MonitoringTexts& t) {
    writer.write(keys::kRefreshRate, t.refreshRate);
    writer.write(keys::kLogToFile, t.logToFile);
    writer.write(keys::kLogToFilePath, t.logPath);
    for (size_t kind = 0; kind < t.sensors.size(); ++kind) {
        const SensorTexts& sensor = t.sensors[kind];
        writer.write(keys::kMonitorSensors[kind].active, sensor.active);
        writer.write(keys::kMonitorSensors[kind].max, sensor.max);
        writer.write(keys::kMonitorSensors[kind].min, sensor.min);
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
