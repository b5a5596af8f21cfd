// Unit conversions between NVML's units and the NVAPI structures'.
#pragma once

#include <cstdint>
#include <string_view>

namespace nvml_bridge {

// Power as thousandths of a percent of the default limit (100000 = the default).
// Readings round to nearest so a limit written from a whole percentage reads back exactly.
uint32_t powerToThousandths(uint64_t milliwatts, uint64_t defaultMilliwatts);
// Range ends are rounded inward, so every value in range converts to milliwatts within the constraints.
uint32_t minLimitToThousandths(uint64_t milliwatts, uint64_t defaultMilliwatts);
uint32_t maxLimitToThousandths(uint64_t milliwatts, uint64_t defaultMilliwatts);
uint64_t thousandthsToMilliwatts(uint32_t thousandths, uint64_t defaultMilliwatts);

// NVML's memory clock offset counts transfers, twice the memory clock NVML reports; the NVAPI
// delta is in kHz of that reported clock. One transfer-rate MHz is 500 kHz of delta.
constexpr int32_t memoryOffsetToDeltaKhz(int offset) {
    return offset * 500;
}
constexpr int memoryDeltaKhzToOffset(int32_t deltaKhz) {
    return deltaKhz / 500;
}
constexpr int32_t mhzToKhz(int mhz) {
    return mhz * 1000;
}
constexpr int khzToMhz(int32_t khz) {
    return khz / 1000;
}

// Thermal policy temperatures are 1/256 °C; NVML thresholds are whole °C.
constexpr int32_t celsiusToPolicy(int celsius) {
    return celsius * 256;
}
constexpr int policyToCelsius(int32_t value) {
    return value / 256;
}  // truncates toward zero

// Bytes to KB, saturating at what a 32-bit field holds.
uint32_t bytesToKb(unsigned long long bytes);

// "550.54.14" -> 55054: major * 100 + the first two digits of the minor part ("535.154" -> 53515),
// the form the program prints as "550.54". 0 when the text has no leading number.
uint32_t driverVersionNumber(std::string_view text);

}  // namespace nvml_bridge
