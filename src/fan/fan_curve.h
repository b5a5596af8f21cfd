// The eight-point fan curve and the fan level it gives for a GPU temperature.
#pragma once

#include <array>
#include <cstdint>

namespace fan {

// One curve point: GPU temperature in °C, fan speed in percent.
struct FanPoint {
    int32_t x = 0;
    int32_t y = 0;
};

constexpr int kFanPointCount = 8;
using FanPoints = std::array<FanPoint, kFanPointCount>;

struct FanCurve {
    FanPoints points{};
    int32_t blLine = 0;  // 0: straight segments between the points; anything else: steps
    bool stepped() const { return blLine != 0; }
};

// Each point's speed holds from its own temperature up to the next point's.
int32_t steppedLevel(const FanPoints& p, int32_t t);

// Straight segments between the points, slope in single precision, truncated.
int32_t interpolatedLevel(const FanPoints& p, int32_t t);

// The level of the curve's own form.
int32_t levelForTemperature(const FanCurve& curve, int32_t t);

}  // namespace fan
