#include "monitor/sensor_kind.h"

#include "platform/translation.h"

namespace monitor {

const SensorInfo& sensorInfo(int kind) {
    static constexpr std::array<SensorInfo, kSensorCount> kInfo = {{
        // Captions translated where they are shown; the log stays as it is.
        {QT_TRANSLATE_NOOP("CMonitorDlg", "GPU Clock,MHz"), "GPU clock", 20},
        {QT_TRANSLATE_NOOP("CMonitorDlg", "Memory Clock,MHz"), "Memory clock", 37},
        {QT_TRANSLATE_NOOP("CMonitorDlg", "GPU Temperature,C"), "GPU temperature", 57},
        {QT_TRANSLATE_NOOP("CMonitorDlg", "GPU Usage,%"), "GPU usage", 80},
        {QT_TRANSLATE_NOOP("CMonitorDlg", "Memory Usage,MB"), "Memory usage", 97},
        {QT_TRANSLATE_NOOP("CMonitorDlg", "GPU Voltage,mV"), "GPU voltage", 117},
        {QT_TRANSLATE_NOOP("CMonitorDlg", "Fan Speed,%"), "Fan speed", 136},
        {QT_TRANSLATE_NOOP("CMonitorDlg", "Fan Tachometer,RPM"), "Fan tachometer", 153},
        {QT_TRANSLATE_NOOP("CMonitorDlg", "Power Target,%"), "PowerTarget", 175},
        {QT_TRANSLATE_NOOP("CMonitorDlg", "Shader Clock,MHz"), "Shader clock", 194},
    }};
    return kInfo[size_t(isSensorKind(kind) ? kind : 0)];
}

}  // namespace monitor
