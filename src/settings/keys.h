// Every value of the settings document, declared once: where it is and how its
// text is coded. The element and attribute names are the stored files' own,
// misspellings included ("StartMinized", "UpadteCheck", "SeverX"); changing one
// would lose the value in every file already written.
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace settings {

enum class Coding {
    Integer,     // _wtol of the text, written "%d"
    TextFlag,    // true unless exactly "0", written "1" / "0"
    NumberFlag,  // true when the integer is not 0, written "1" / "0"
    Text,        // stored as entered
};

// One value: the text of the element at `path`, or its attribute of that name.
template <Coding C>
struct Key {
    std::string_view path;
    std::string_view attribute = {};
    static constexpr Coding coding = C;
};
using IntegerKey = Key<Coding::Integer>;
using TextFlagKey = Key<Coding::TextFlag>;
using NumberFlagKey = Key<Coding::NumberFlag>;
using TextKey = Key<Coding::Text>;

// A key of any coding, for listing them all.
struct KeyInfo {
    std::string_view path;
    std::string_view attribute;
    Coding coding;
};

namespace keys {

inline constexpr IntegerKey kVersion{"/Vantrel/Version"};

// GeneralDlg
inline constexpr TextFlagKey kStartMinimized{"/Vantrel/GeneralDlg/StartMinized"};
inline constexpr IntegerKey kUpdateCheck{"/Vantrel/GeneralDlg/UpadteCheck"};
// Stamps of the last scheduled update check.
inline constexpr IntegerKey kUpdateDay{"/Vantrel/GeneralDlg/UpadteDay"};
inline constexpr IntegerKey kUpdateWeek{"/Vantrel/GeneralDlg/UpdateWeek"};
inline constexpr IntegerKey kUpdateMonth{"/Vantrel/GeneralDlg/UpadteMonth"};

// FanDlg
inline constexpr TextFlagKey kEnableFan{"/Vantrel/FanDlg/EnableFan"};
inline constexpr TextFlagKey kAutoSystem{"/Vantrel/FanDlg/AutoSystem"};
// Milliseconds between fan-curve steps; the Fan page stores it as typed.
inline constexpr TextKey kUpdateTime{"/Vantrel/FanDlg/UpdateTime"};

struct FanPointKeys {
    IntegerKey temperature;  // X
    IntegerKey speed;        // Y
};
namespace detail {
inline constexpr std::string_view kFanMap = "/Vantrel/FanDlg/FanMap";
constexpr FanPointKeys fanPoint(std::string_view x, std::string_view y) {
    return {{kFanMap, x}, {kFanMap, y}};
}
}  // namespace detail
// The eight curve points, first to eighth.
inline constexpr std::array<FanPointKeys, 8> kFanMapPoints = {
    detail::fanPoint("OneX", "OneY"),     detail::fanPoint("TwoX", "TwoY"),
    detail::fanPoint("ThreeX", "ThreeY"), detail::fanPoint("FourX", "FourY"),
    detail::fanPoint("FiveX", "FiveY"),   detail::fanPoint("SixX", "SixY"),
    detail::fanPoint("SeverX", "SeverY"), detail::fanPoint("EightX", "EightY")};
// 0 interpolated, otherwise stepped.
inline constexpr IntegerKey kFanMapForm{detail::kFanMap, "blLine"};

// ClockSetDlg: the clock panel's three profiles. A stored 0 means "not set".
struct ClockProfileKeys {
    IntegerKey gpuClock;
    IntegerKey memoryClock;
    IntegerKey fanSpeed;
    IntegerKey powerTarget;
    IntegerKey temperatureTarget;
    IntegerKey voltageMax;
    IntegerKey voltageMin;
};
namespace detail {
constexpr ClockProfileKeys clockProfile(std::string_view path) {
    return {{path, "GPUClock"}, {path, "MemoryClock"},   {path, "FanSpeed"},     {path, "TDP"},
            {path, "GPUTemp"},  {path, "GPUVoltageMax"}, {path, "GPUVoltageMin"}};
}
}  // namespace detail
inline constexpr std::array<ClockProfileKeys, 3> kClockProfiles = {
    detail::clockProfile("/Vantrel/ClockSetDlg/One"), detail::clockProfile("/Vantrel/ClockSetDlg/Two"),
    detail::clockProfile("/Vantrel/ClockSetDlg/Three")};

// MonitoringDlg. The Monitoring page stores the numbers as typed.
inline constexpr TextKey kRefreshRate{"/Vantrel/MonitoringDlg/RefreshRate"};
inline constexpr NumberFlagKey kLogToFile{"/Vantrel/MonitoringDlg/blLogToFile"};
inline constexpr TextKey kLogToFilePath{"/Vantrel/MonitoringDlg/LogToFilePath"};

struct SensorKeys {
    NumberFlagKey active;
    TextKey max;
    TextKey min;
};
namespace detail {
constexpr SensorKeys sensor(std::string_view path) {
    return {{path}, {path, "Max"}, {path, "Min"}};
}
}  // namespace detail
// One per monitored quantity, in SensorKind order.
inline constexpr std::array<SensorKeys, 10> kMonitorSensors = {
    detail::sensor("/Vantrel/MonitoringDlg/GPUClock"),
    detail::sensor("/Vantrel/MonitoringDlg/MemoryClock"),
    detail::sensor("/Vantrel/MonitoringDlg/GPUTemperature"),
    detail::sensor("/Vantrel/MonitoringDlg/GPUUsage"),
    detail::sensor("/Vantrel/MonitoringDlg/MemoryUsage"),
    detail::sensor("/Vantrel/MonitoringDlg/GPUVoltage"),
    detail::sensor("/Vantrel/MonitoringDlg/FanSpeed"),
    detail::sensor("/Vantrel/MonitoringDlg/FanTachometer"),
    detail::sensor("/Vantrel/MonitoringDlg/PowerTarget"),
    detail::sensor("/Vantrel/MonitoringDlg/ShaderClock")};

// QuickSightSettingsDlg: the quantity each gauge of the main window shows.
inline constexpr IntegerKey kQuickSightLeft{"/Vantrel/QuickSightSettingsDlg/Left"};
inline constexpr IntegerKey kQuickSightRight{"/Vantrel/QuickSightSettingsDlg/Right"};

// UIDlg: the screenshot folder and hot key.
inline constexpr TextKey kScreenshotFolder{"/Vantrel/UIDlg/SaveToFilePath"};
inline constexpr IntegerKey kHotKeyVirtualKey{"/Vantrel/UIDlg/HotKey", "VirtualKeyCode"};
inline constexpr IntegerKey kHotKeyModifiers{"/Vantrel/UIDlg/HotKey", "Modifiers"};

}  // namespace keys

// Every key above.
std::vector<KeyInfo> declaredKeys();

}  // namespace settings
