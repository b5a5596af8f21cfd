// The fan curve as the settings document keeps it.
#pragma once

#include "fan/fan_curve.h"

namespace settings {
class SettingsReader;
class SettingsWriter;
}  // namespace settings

namespace fan {

// The eight points and the form flag, values used as they are.
FanCurve readFanCurve(const settings::SettingsReader& reader);
// The sixteen point attributes ("%d") and blLine.
void writeFanCurve(settings::SettingsWriter& writer, const FanCurve& curve);

}  // namespace fan
