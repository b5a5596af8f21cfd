// Where the fan curve lives in the settings document.
#pragma once

#include <array>

#include "fan/fan_curve.h"

namespace settings {
class SettingsReader;
class SettingsWriter;
}  // namespace settings

namespace fan {

inline constexpr const char* kFanMapPath = "/Vantrel/FanDlg/FanMap";
inline constexpr const char* kUpdateTimePath = "/Vantrel/FanDlg/UpdateTime";
inline constexpr const char* kEnableFanPath = "/Vantrel/FanDlg/EnableFan";
inline constexpr const char* kAutoSystemPath = "/Vantrel/FanDlg/AutoSystem";

// Attributes of the FanMap element: X then Y of the first to the eighth point
// (the seventh is spelled "Sever").
inline constexpr std::array<const char*, 2 * kFanPointCount> kFanMapAttributes = {
    "OneX",  "OneY",  "TwoX", "TwoY", "ThreeX", "ThreeY", "FourX",  "FourY",
    "FiveX", "FiveY", "SixX", "SixY", "SeverX", "SeverY", "EightX", "EightY"};
inline constexpr const char* kFormAttribute = "blLine";

// The eight points and the form flag, values used as they are.
FanCurve readFanCurve(const settings::SettingsReader& reader);
// The sixteen point attributes ("%d") and blLine.
void writeFanCurve(settings::SettingsWriter& writer, const FanCurve& curve);

}  // namespace fan
