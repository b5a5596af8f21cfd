// The hysteresis of a kept fan curve: the README's worked example, the least time between two
// changes, and a jump of more than a step that goes out at once.
#include "fan/fan_level_gate.h"

#include <gtest/gtest.h>

namespace {

// The README's curve: 40 % below 60 °C, 70 % from 60 °C, 100 % from 80 °C.
fan::FanCurve readmeCurve() {
    fan::FanCurve c;
    c.points = {{{0, 40}, {60, 70}, {60, 70}, {60, 70}, {60, 70}, {60, 70}, {60, 70}, {80, 100}}};
    c.blLine = 1;
    return c;
}

}  // namespace

TEST(FanLevelGate, HysteresisHoldsAroundAStepAndFollowsRealMoves) {
    const fan::FanCurve curve = readmeCurve();
    fan::FanLevelGate gate(3, fan::largestStep(curve.points), 0);
    int64_t t = 0;
    auto at = [&](int32_t celsius) {
        return gate.pass(celsius, fan::levelForTemperature(curve, celsius), t += 1000);
    };
    EXPECT_TRUE(at(60));  // the first level always goes out: 70 %
    for (int32_t celsius : {58, 62, 58, 61, 59, 62, 58}) EXPECT_FALSE(at(celsius)) << celsius << " °C";
    EXPECT_TRUE(at(56));   // 4 °C below the last change: 40 %
    EXPECT_FALSE(at(59));  // back up 3 °C, not past the hysteresis
    EXPECT_TRUE(at(60));   // 4 °C: 70 %
    EXPECT_TRUE(at(85));   // 100 %
    EXPECT_FALSE(at(85));  // the same level never goes out twice
}

TEST(FanLevelGate, LeastTimeBetweenChangesAndAFastRise) {
    fan::FanLevelGate gate(5, 20, 2000);
    EXPECT_TRUE(gate.pass(50, 40, 0));
    EXPECT_FALSE(gate.pass(60, 50, 1000));  // moved far enough, but too soon
    EXPECT_TRUE(gate.pass(60, 50, 2000));
    // Within the hysteresis, yet more than a step higher: out as soon as the least time allows.
    EXPECT_FALSE(gate.pass(63, 80, 3000));
    EXPECT_TRUE(gate.pass(63, 80, 4000));
    gate.reset();
    EXPECT_TRUE(gate.pass(63, 81, 4001));
}
