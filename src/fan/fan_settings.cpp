#include "fan/fan_settings.h"

#include "settings/settings_reader.h"
#include "settings/settings_writer.h"

namespace fan {

FanCurve readFanCurve(const settings::SettingsReader& reader) {
    static_assert(settings::keys::kFanMapPoints.size() == kFanPointCount);
    FanCurve curve;
    for (int i = 0; i < kFanPointCount; ++i) {
        curve.points[i].x = reader.read(settings::keys::kFanMapPoints[size_t(i)].temperature);
        curve.points[i].y = reader.read(settings::keys::kFanMapPoints[size_t(i)].speed);
    }
    curve.blLine = reader.read(settings::keys::kFanMapForm);
    return curve;
}

void writeFanCurve(settings::SettingsWriter& writer, const FanCurve& curve) {
    for (int i = 0; i < kFanPointCount; ++i) {
        writer.write(settings::keys::kFanMapPoints[size_t(i)].temperature, curve.points[i].x);
        writer.write(settings::keys::kFanMapPoints[size_t(i)].speed, curve.points[i].y);
    }
    writer.write(settings::keys::kFanMapForm, curve.blLine);
}

}  // namespace fan
