#include "fan/fan_curve_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the controller told the card.
class RecordingFanIo : public fan::FanIo {
  public:
    int32_t temperature = 45;
    bool readFails = false;
    bool restoreSucceeds = true;
    std::vector<std::string> calls;

    int32_t readGpuTemperature(int32_t out[3]) override {
        calls.push_back("read");
        if (readFails) return -1;
        out[0] = temperature;
        return temperature;
    }
    void setFanLevel(int32_t percent) override { calls.push_back("set " + std::to_string(percent)); }
    bool restoreFanDefault() override {
        calls.push_back("restore");
        return restoreSucceeds;
    }
    bool controllable = true;
    bool fanControllable() override { return controllable; }
    bool hasRange = false;
    int32_t lowest = 0, highest = 100;
    bool readFanRange(int32_t range[2]) override {
        range[0] = lowest;
        range[1] = highest;
        return hasRange;
    }
};

fan::FanCurve workedCurve() {
    fan::FanCurve c;
    c.points = {{{30, 30}, {50, 40}, {60, 55}, {70, 60}, {75, 70}, {80, 80}, {85, 90}, {90, 100}}};
    return c;
}

TEST(FanCurveStep, WritesTheLevelOnEveryTick) {
    RecordingFanIo io;
    fan::FanCurveController c(io);
    c.setCurve(workedCurve());
    c.step();
    c.step();
    io.temperature = 55;
    c.step();
    EXPECT_EQ(io.calls, (std::vector<std::string>{"read", "set 37", "read", "set 37", "read", "set 47"}));
}

TEST(FanCurveStep, AFanTheDriverKeepsIsNeverWritten) {
    RecordingFanIo io;
    io.controllable = false;
    fan::FanCurveController c(io);
    c.setCurve(workedCurve());
    c.step();
    io.readFails = true;
    for (int i = 0; i < 4; ++i) c.step();
    EXPECT_TRUE(io.calls.empty());
}

TEST(FanCurveStep, FailedReadsWriteNothingThenHandTheFanBack) {
    RecordingFanIo io;
    fan::FanCurveController c(io);
    c.setCurve(workedCurve());
    io.readFails = true;
    c.step();
    c.step();
    EXPECT_EQ(io.calls, (std::vector<std::string>{"read", "read"}));
    c.step();  // third failure in a row
    c.step();  // already with the driver: nothing more
    EXPECT_EQ(io.calls, (std::vector<std::string>{"read", "read", "read", "restore", "read"}));
    EXPECT_TRUE(c.handedBack());
    io.readFails = false;
    io.calls.clear();
    c.step();
    EXPECT_EQ(io.calls, (std::vector<std::string>{"read", "set 37"}));
    EXPECT_FALSE(c.handedBack());
}

TEST(FanCurveStep, SuccessInBetweenRestartsTheFailureCount) {
    RecordingFanIo io;
    fan::FanCurveController c(io);
    c.setCurve(workedCurve());
    for (bool fails : {true, true, false, true, true}) {
        io.readFails = fails;
        c.step();
    }
    EXPECT_EQ(c.failedTicks(), 2);
    for (const auto& call : io.calls) EXPECT_NE(call, "restore");
}

TEST(FanCurveStep, RefusedHandBackIsRetried) {
    RecordingFanIo io;
    fan::FanCurveController c(io);
    io.readFails = true;
    io.restoreSucceeds = false;
    for (int i = 0; i < 4; ++i) c.step();
    EXPECT_EQ(io.calls, (std::vector<std::string>{"read", "read", "read", "restore", "read", "restore"}));
}

TEST(FanCurveStep, LevelsStayPercentages) {
    RecordingFanIo io;
    fan::FanCurveController c(io);
    fan::FanCurve curve;
    curve.blLine = 1;
    curve.points = {{{0, -20}, {10, 250}, {20, 250}, {30, 250}, {40, 250}, {50, 250}, {60, 250}, {70, 250}}};
    c.setCurve(curve);
    io.temperature = 5;
    c.step();
    io.temperature = 80;
    c.step();
    EXPECT_EQ(io.calls, (std::vector<std::string>{"read", "set 0", "read", "set 100"}));

    // Within the coolers' own range when the card reports one.
    io.hasRange = true;
    io.lowest = 30;
    io.highest = 90;
    io.calls.clear();
    io.temperature = 5;
    c.step();
    io.temperature = 80;
    c.step();
    EXPECT_EQ(io.calls, (std::vector<std::string>{"read", "set 30", "read", "set 90"}));
    io.lowest = 95;  // a range upside down is not believed
    io.calls.clear();
    c.step();
    EXPECT_EQ(io.calls, (std::vector<std::string>{"read", "set 100"}));
}

}  // namespace
