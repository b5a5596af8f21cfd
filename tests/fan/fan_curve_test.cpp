#include "fan/fan_curve.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using fan::FanPoints;

FanPoints points(std::initializer_list<std::pair<int, int>> xy) {
    FanPoints p{};
    int i = 0;
    for (auto [x, y] : xy)
        if (i < fan::kFanPointCount) p[size_t(i++)] = {x, y};
    // Unlisted points continue at the last listed one.
    for (; i > 0 && i < fan::kFanPointCount; ++i) p[size_t(i)] = p[size_t(i - 1)];
    return p;
}

TEST(InterpolatedLevel, RisingSegmentsTruncateTheLevel) {
    const auto p = points({{30, 30}, {50, 40}, {60, 55}, {70, 60}, {75, 70}, {80, 80}, {85, 90}, {90, 100}});
    EXPECT_EQ(fan::interpolatedLevel(p, 45), 37);  // 37.5
    EXPECT_EQ(fan::interpolatedLevel(p, 55), 47);  // 47.5
    EXPECT_EQ(fan::interpolatedLevel(p, 50), 40);  // a point itself
    EXPECT_EQ(fan::interpolatedLevel(p, 31), 30);  // 30.5
    EXPECT_EQ(fan::interpolatedLevel(p, 89), 98);
}

TEST(InterpolatedLevel, FallingSegmentCountsFromItsEnd) {
    const auto p = points({{30, 30}, {60, 80}, {70, 60}, {80, 90}, {85, 95}, {90, 96}, {95, 97}, {100, 100}});
    EXPECT_EQ(fan::interpolatedLevel(p, 65), 70);
    EXPECT_EQ(fan::interpolatedLevel(p, 61), 78);
    EXPECT_EQ(fan::interpolatedLevel(p, 69), 62);
}

TEST(InterpolatedLevel, BeyondBothEnds) {
    const auto p = points({{30, 30}, {50, 40}, {60, 55}, {70, 60}, {75, 70}, {80, 80}, {85, 90}, {90, 100}});
    EXPECT_EQ(fan::interpolatedLevel(p, 30), 30);
    EXPECT_EQ(fan::interpolatedLevel(p, -40), 30);
    EXPECT_EQ(fan::interpolatedLevel(p, 90), 100);
    EXPECT_EQ(fan::interpolatedLevel(p, 91), 100);
    EXPECT_EQ(fan::interpolatedLevel(p, std::numeric_limits<int32_t>::max()), 100);
}

TEST(InterpolatedLevel, SharedTemperaturesJump) {
    // x1 = x2: the first segment takes the level after the jump.
    auto p = points({{30, 30}, {50, 40}, {50, 70}, {60, 80}, {70, 90}, {80, 95}, {90, 100}, {95, 100}});
    EXPECT_EQ(fan::interpolatedLevel(p, 31), 70);
    EXPECT_EQ(fan::interpolatedLevel(p, 50), 70);
    EXPECT_EQ(fan::interpolatedLevel(p, 55), 75);
    // x0 = x1: at and below the first temperature the second speed holds.
    p = points({{40, 20}, {40, 50}, {60, 60}, {70, 70}, {80, 80}, {85, 90}, {90, 95}, {95, 100}});
    EXPECT_EQ(fan::interpolatedLevel(p, 40), 50);
    EXPECT_EQ(fan::interpolatedLevel(p, 0), 50);
    EXPECT_EQ(fan::interpolatedLevel(p, 50), 55);
    // A jump at the last point applies to the segment before it.
    p = points({{30, 30}, {40, 40}, {50, 50}, {60, 60}, {70, 70}, {80, 80}, {90, 85}, {90, 100}});
    EXPECT_EQ(fan::interpolatedLevel(p, 85), 100);
    EXPECT_EQ(fan::interpolatedLevel(p, 75), 75);
}

TEST(InterpolatedLevel, ExtremeValuesDoNotOverflow) {
    const int32_t lo = std::numeric_limits<int32_t>::min();
    const int32_t hi = std::numeric_limits<int32_t>::max();
    const auto p = points({{lo, lo}, {hi, hi}});
    const int32_t level = fan::interpolatedLevel(p, 0);
    EXPECT_GE(level, lo);
    EXPECT_LE(level, hi);
    const auto flat = points({{lo, 50}, {hi, 50}});
    EXPECT_EQ(fan::interpolatedLevel(flat, 0), 50);
}

TEST(SteppedLevel, EachSpeedHoldsUpToTheNextPoint) {
    const auto p = points({{30, 30}, {50, 50}, {60, 60}, {70, 70}, {80, 80}, {85, 90}, {90, 95}, {95, 100}});
    EXPECT_EQ(fan::steppedLevel(p, 20), 30);
    EXPECT_EQ(fan::steppedLevel(p, 49), 30);
    EXPECT_EQ(fan::steppedLevel(p, 50), 50);
    EXPECT_EQ(fan::steppedLevel(p, 59), 50);
    EXPECT_EQ(fan::steppedLevel(p, 94), 95);
    EXPECT_EQ(fan::steppedLevel(p, 95), 100);
    EXPECT_EQ(fan::steppedLevel(p, 200), 100);
}

TEST(SteppedLevel, SharedTemperatureBelongsToTheLastPointAsTheStaircaseShows) {
    const auto p = points({{30, 30}, {50, 40}, {60, 55}, {60, 75}, {60, 85}, {80, 90}, {90, 95}, {95, 100}});
    EXPECT_EQ(fan::steppedLevel(p, 60), 85);
    EXPECT_EQ(fan::steppedLevel(p, 61), 85);
    EXPECT_EQ(fan::steppedLevel(p, 59), 40);
}

TEST(SteppedLevel, OutOfOrderPointsStillGiveALevel) {
    const auto p = points({{30, 30}, {50, 40}, {40, 50}, {40, 60}, {40, 70}, {40, 80}, {40, 90}, {90, 100}});
    EXPECT_EQ(fan::steppedLevel(p, 55), 90);  // x6 = 40 <= 55 < x7 = 90
    EXPECT_EQ(fan::steppedLevel(p, 45), 30);  // below x1
    EXPECT_EQ(fan::steppedLevel(p, 50), 90);  // x6 = 40 <= 50 < x7 = 90
}

TEST(LevelForTemperature, FormFlagChoosesTheForm) {
    fan::FanCurve c;
    c.points = points({{30, 30}, {50, 40}, {60, 55}, {70, 60}, {75, 70}, {80, 80}, {85, 90}, {90, 100}});
    c.blLine = 0;
    EXPECT_EQ(fan::levelForTemperature(c, 45), 37);
    c.blLine = 1;
    EXPECT_EQ(fan::levelForTemperature(c, 45), 30);
    c.blLine = -7;  // any non-zero value means steps
    EXPECT_EQ(fan::levelForTemperature(c, 55), 40);
}

}  // namespace
