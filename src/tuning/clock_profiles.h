// Where the clock panel keeps its three profiles in the settings document.
#pragma once

#include <array>

namespace tuning {

inline constexpr std::array<const char*, 3> kProfilePaths = {
    "/Vantrel/ClockSetDlg/One", "/Vantrel/ClockSetDlg/Two", "/Vantrel/ClockSetDlg/Three"};
inline constexpr const char* kProfileGpuClock = "GPUClock";
inline constexpr const char* kProfileMemClock = "MemoryClock";
inline constexpr const char* kProfileFanSpeed = "FanSpeed";
inline constexpr const char* kProfilePower = "TDP";
inline constexpr const char* kProfileTemp = "GPUTemp";
inline constexpr const char* kProfileVoltageMax = "GPUVoltageMax";
inline constexpr const char* kProfileVoltageMin = "GPUVoltageMin";

}  // namespace tuning
