#include "gpu/tuning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "gpu/emergency_hand_back.h"
#include "gpu/gpu_context.h"
#include "gpu/readings.h"
#include "support/diagnostic_capture.h"
#include "support/sim_card.h"

namespace {

using testsupport::SimCard;
using Trace = std::vector<std::string>;

// The typical card (power 50-100-115 %, thermal 60-82-92 °C), time frozen.
class Tuning : public ::testing::Test {
  protected:
    explicit Tuning(const std::string& xml = "<card frozen=\"1\"><gpu/></card>")
        : card(xml), global(context) {}
    // What f writes on standard output.
    template <typename F>
    static std::string printedBy(F f) {
        testsupport::DiagnosticCapture captured1;
        f();
        return captured1.text();
    }

    SimCard card;
    gpu::GpuContext context;
    gpu::GlobalContextScope global;
};

TEST_F(Tuning, PowerTargetIsWrittenInsideThePolicyRangeOnly) {
    EXPECT_TRUE(gpu::setPowerTarget(100));
    EXPECT_EQ(card.trace(),
              Trace{"GPU_PowerPoliciesSetStatus gpu=0 count=1 policy0=0 power0=100000 status=0"});
    card.clearTrace();
    std::string printed = printedBy([] {
        EXPECT_FALSE(gpu::setPowerTarget(120));
        EXPECT_FALSE(gpu::setPowerTarget(49));
        EXPECT_FALSE(gpu::setPowerTarget(4294968u));  // × 1000 does not fit 32 bits
    });
    EXPECT_TRUE(card.trace().empty());
    EXPECT_EQ(printed,
              "Requested power policy limit exceeds max allowed value!\n"
              "Requested power policy limit exceeds max allowed value!\n"
              "Requested power policy limit exceeds max allowed value!\n");
    EXPECT_TRUE(gpu::setPowerTarget(115));
    int32_t power[5] = {};
    ASSERT_TRUE(gpu::readPowerStatus(power));
    EXPECT_EQ(power[3], 115);
}

TEST_F(Tuning, TemperatureTargetIsTruncatedToSixteenthsOfADegreeAndBounded) {
    EXPECT_EQ(printedBy([] { EXPECT_TRUE(gpu::setTemperatureTarget(83.9f, true)); }),
              "Requested policy limit applied successfully\n");
    EXPECT_EQ(
        card.trace(),
        Trace{"GPU_ThermalPoliciesSetStatus gpu=0 count=1 controller0=1 target0=21478 flags0=1 status=0"});
    card.clearTrace();
    EXPECT_FALSE(gpu::setTemperatureTarget(92.5f, false));
    EXPECT_FALSE(gpu::setTemperatureTarget(59.9f, false));
    EXPECT_FALSE(gpu::setTemperatureTarget(std::numeric_limits<float>::quiet_NaN(), false));
    EXPECT_FALSE(gpu::setTemperatureTarget(1e30f, false));
    EXPECT_TRUE(card.trace().empty());

    int32_t policy[5] = {};
    ASSERT_TRUE(gpu::readThermalPolicy(policy));
    EXPECT_EQ(std::vector<int32_t>(policy, policy + 5), (std::vector<int32_t>{60, 82, 92, 83, 1}));
    card.clearTrace();
    gpu::clearTemperaturePriority();
    EXPECT_EQ(
        card.trace(),
        Trace{"GPU_ThermalPoliciesSetStatus gpu=0 count=1 controller0=1 target0=21478 flags0=0 status=0"});
}

TEST_F(Tuning, LinkedTargetsFollowTheirSegments) {
    float out[2] = {};
    ASSERT_TRUE(gpu::temperatureForPowerTarget(100, out));
    EXPECT_FLOAT_EQ(out[0], 100);
    EXPECT_FLOAT_EQ(out[1], 82);
    ASSERT_TRUE(gpu::temperatureForPowerTarget(115, out));
    EXPECT_FLOAT_EQ(out[1], 92);
    ASSERT_TRUE(gpu::temperatureForPowerTarget(75, out));
    EXPECT_FLOAT_EQ(out[1], 71);
    EXPECT_EQ(printedBy([&] { EXPECT_FALSE(gpu::temperatureForPowerTarget(116, out)); }),
              "Requested power policy limit exceeds allowed range!\n");

    // The current power target picks the segment, not the temperature.
    ASSERT_TRUE(gpu::powerForTemperatureTarget(90, 95, out));
    EXPECT_NEAR(out[0], 100 + 8.0 / 22 * 50, 1e-3);
    EXPECT_FLOAT_EQ(out[1], 90);
    ASSERT_TRUE(gpu::powerForTemperatureTarget(90, 105, out));
    EXPECT_NEAR(out[0], 112, 1e-3);
    ASSERT_TRUE(gpu::powerForTemperatureTarget(99, 105, out));
    EXPECT_FLOAT_EQ(out[0], 115);  // capped at the maximum
    ASSERT_TRUE(gpu::powerForTemperatureTarget(40, 50, out));
    EXPECT_FLOAT_EQ(out[0], 50);  // capped at the minimum
    EXPECT_FALSE(gpu::powerForTemperatureTarget(std::numeric_limits<float>::infinity(), 105, out));
    EXPECT_FALSE(gpu::temperatureForPowerTarget(std::numeric_limits<float>::quiet_NaN(), out));
    EXPECT_TRUE(card.trace().empty());
}

class FlatPolicies : public Tuning {
  protected:
    FlatPolicies()
        : Tuning(R"(<card frozen="1"><gpu>
            <powerPolicies valid="1"><policy id="0" min="100000" default="100000" max="115000" limit="100000"/></powerPolicies>
            <thermalPolicies valid="1"><policy controller="1" min="15360" default="23552" max="23552" target="20992"/></thermalPolicies>
          </gpu></card>)") {}
};

TEST_F(FlatPolicies, ASegmentWithoutWidthGivesNoLinkedValue) {
    float out[2] = {-7, -7};
    EXPECT_FALSE(gpu::temperatureForPowerTarget(100, out));
    EXPECT_FALSE(gpu::powerForTemperatureTarget(85, 110, out));
    EXPECT_FLOAT_EQ(out[0], -7);
    EXPECT_FLOAT_EQ(out[1], -7);
    ASSERT_TRUE(gpu::temperatureForPowerTarget(110, out));  // the upper segment still has a width
    ASSERT_TRUE(gpu::powerForTemperatureTarget(80, 100, out));
}

TEST_F(Tuning, ClockAndVoltageWritesCarryOnlyWhatChanges) {
    EXPECT_TRUE(gpu::setGpuClockOffset(100));
    EXPECT_TRUE(gpu::setMemoryClockOffset(-200));
    EXPECT_TRUE(gpu::setCoreVoltageOffset(25000));
    EXPECT_TRUE(gpu::setOverVoltage(12500));
    EXPECT_EQ(card.trace(),
              (Trace{"GPU_EnableOverclockedPstates gpu=0 enable=1 status=0",
                     "GPU_SetPstates20 gpu=0 version=1 numPstates=1 numClocks=1 numBaseVol=0 p0.id=0 "
                     "p0.clock0.domain=0 p0.clock0.delta=100000 status=0",
                     "GPU_SetPstates20 gpu=0 version=1 numPstates=1 numClocks=1 numBaseVol=0 p0.id=0 "
                     "p0.clock0.domain=4 p0.clock0.delta=-200000 status=0",
                     "GPU_SetPstates20 gpu=0 version=1 numPstates=1 numClocks=0 numBaseVol=1 p0.id=0 "
                     "p0.volt0.domain=0 p0.volt0.delta=25000 status=0",
                     "GPU_SetPstates20 gpu=0 version=2 numPstates=0 numClocks=0 numBaseVol=0 numOverVol=1 "
                     "ov0.domain=0 ov0.delta=12500 status=0"}));

    int32_t range[5] = {};
    ASSERT_TRUE(gpu::readVoltageRange(range));
    EXPECT_EQ(std::vector<int32_t>(range, range + 4),
              (std::vector<int32_t>{950000, 1050000, 1000000, 50000}));
    EXPECT_EQ(range[4], 1000000 + 25000 + 12500);
    int32_t over[3] = {};
    ASSERT_TRUE(gpu::readOverVoltage(over));
    EXPECT_EQ(std::vector<int32_t>(over, over + 3), (std::vector<int32_t>{0, 37500, 12500}));
    int32_t clocks[3] = {}, base[3] = {};
    ASSERT_TRUE(gpu::readClocks(context, clocks, 0));
    ASSERT_TRUE(gpu::readClocks(context, base, 1));
    EXPECT_EQ(clocks[1], base[1] - 200);
}

TEST_F(Tuning, ARefusedWriteReportsFailure) {
    EXPECT_FALSE(gpu::setGpuClockOffset(10000));  // outside the table's delta range: the card says -5
    EXPECT_EQ(printedBy([] { EXPECT_FALSE(gpu::setOverVoltage(1000000)); }),
              "API call failed with error -5\n");
}

TEST_F(Tuning, PstateClocksGiveTheEffectiveClocksOrTheDeltaMaxima) {
    int32_t out[2] = {};
    std::string printed = printedBy([&] { gpu::readPstateClocks(out, context, false); });
    int32_t base[3] = {};
    ASSERT_TRUE(gpu::readClocks(context, base, 1));
    EXPECT_EQ(out[0], base[0]);
    EXPECT_EQ(out[1], 1502);
    EXPECT_EQ(printed.rfind("API call succeeded\n\n------------------------------------------------------\n"
                            "ps20Info.bIsEditable = 1\nps20Info.numPstates  = 1\nps20Info.numClocks   = 2\n",
                            0),
              0u);
    EXPECT_NE(printed.find("ps20Info.pstates[0].clocks[0].data.range.domainId      = 0\n"),
              std::string::npos);
    EXPECT_NE(printed.find("ps20Info.pstates[0].clocks[1].data.single.freq_kHz     = 1502000\n"),
              std::string::npos);

    gpu::setGpuClockOffset(50);
    gpu::readPstateClocks(out, context, false);
    EXPECT_EQ(out[0], base[0] + 50);

    printed = printedBy([&] { gpu::readPstateClocks(out, context, true); });
    EXPECT_EQ(out[0], 200);
    EXPECT_EQ(out[1], 1000);
    EXPECT_NE(
        printed.find("ps20Info.pstates[0].clocks[0].freqDelta_kHz            = 50000 [-135000, 200000]\n"),
        std::string::npos);
}

TEST_F(Tuning, FanLevelsAndHandingTheFanBack) {
    gpu::setFanLevel(37);
    gpu::setFanLevel(150);  // more than full speed is full speed
    gpu::setFanLevel(-1);
    gpu::setFanLevel(-20);  // any negative level means the driver's control
    EXPECT_EQ(card.trace(), (Trace{"GPU_SetCoolerLevels gpu=0 target=7 level0=37 policy0=1 status=0",
                                   "GPU_SetCoolerLevels gpu=0 target=7 level0=100 policy0=1 status=0",
                                   "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0",
                                   "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0"}));
    card.clearTrace();
    gpu::setFanLevel(60);
    int32_t fan[4] = {};
    ASSERT_TRUE(gpu::readFanStatus(fan));
    EXPECT_EQ(fan[2], 60);
    EXPECT_TRUE(gpu::restoreFanDefault());
    EXPECT_EQ(card.trace().back(), "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0");
}

// Whatever cooler-settings version the driver knows, and whichever write form it
// takes, the fan goes back to the driver.
TEST(FanHandBack, WorksOnEveryCoolerSettingsVersionAndCoolerByCooler) {
    for (const char* accept : {"1", "2", "3"}) {
        SCOPED_TRACE(accept);
        SimCard card(
            std::string(R"(<card frozen="1"><gpu><versions interface="GPU_GetCoolerSettings" accept=")") +
            accept + R"("/></gpu></card>)");
        gpu::GpuContext context;
        gpu::GlobalContextScope global(context);
        gpu::setFanLevel(60);
        EXPECT_TRUE(gpu::restoreFanDefault());
        gpu::setFanLevel(60);
        gpu::setFanLevel(-1);
        gpu::setFanLevel(60);
        EXPECT_TRUE(gpu::restoreDefaultTuning());
        const Trace trace = card.trace();
        const std::string back = "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0";
        EXPECT_EQ(std::count(trace.begin(), trace.end(), back), 3);
        EXPECT_EQ(trace.back(), back);
    }
    // A driver that refuses the all-coolers write: each cooler on its own target.
    SimCard card(R"(<card frozen="1"><gpu><coolers>
        <cooler defaultMin="25" defaultPolicy="32" target="1"/><cooler defaultMin="35" defaultPolicy="32" target="2"/>
        </coolers><fault interface="GPU_SetCoolerLevels" status="-5" times="1"/></gpu></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    EXPECT_TRUE(gpu::restoreFanDefault());
    EXPECT_EQ(card.trace(), (Trace{"GPU_SetCoolerLevels gpu=0 target=7 level0=25 policy0=32 status=-5",
                                   "GPU_SetCoolerLevels gpu=0 target=1 level0=25 policy0=32 status=0",
                                   "GPU_SetCoolerLevels gpu=0 target=2 level0=35 policy0=32 status=0"}));
}

TEST(FanHandBack, TheEmergencyPathUsesTheEntriesResolvedAheadUntilTheDriverGoesAway) {
    SimCard card(
        R"(<card frozen="1"><gpu><versions interface="GPU_GetCoolerSettings" accept="1"/></gpu></card>)");
    {
        gpu::GpuContext context;
        gpu::GlobalContextScope global(context);
        EXPECT_EQ(gpu::emergencyHandBack(), -4);  // not armed: nothing resolved, nothing written
        ASSERT_TRUE(gpu::armEmergencyHandBack());
        gpu::setFanLevel(60);
        EXPECT_EQ(gpu::emergencyHandBack(), 0);
        EXPECT_EQ(card.trace().back(), "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0");
    }
    EXPECT_FALSE(gpu::emergencyHandBackArmed());  // the unload disarmed it
    EXPECT_EQ(gpu::emergencyHandBack(), -4);
}

TEST_F(Tuning, DefaultTuningResetsClocksPowerAndFan) {
    gpu::setPowerTarget(110);
    card.clearTrace();
    EXPECT_TRUE(gpu::restoreDefaultTuning());
    EXPECT_EQ(card.trace(),
              (Trace{"GPU_EnableOverclockedPstates gpu=0 enable=1 status=0",
                     "GPU_SetPstates20 gpu=0 version=1 numPstates=1 numClocks=1 numBaseVol=0 p0.id=0 "
                     "p0.clock0.domain=0 p0.clock0.delta=0 status=0",
                     "GPU_SetPstates20 gpu=0 version=1 numPstates=1 numClocks=1 numBaseVol=0 p0.id=0 "
                     "p0.clock0.domain=4 p0.clock0.delta=0 status=0",
                     "GPU_PowerPoliciesSetStatus gpu=0 count=1 policy0=0 power0=100000 status=0",
                     "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0"}));
}

class NoPowerPolicies : public Tuning {
  protected:
    NoPowerPolicies() : Tuning(R"(<card frozen="1"><gpu><powerPolicies valid="0"/></gpu></card>)") {}
};

TEST_F(NoPowerPolicies, DefaultTuningNeverWritesAZeroPowerLimit) {
    EXPECT_TRUE(gpu::restoreDefaultTuning());
    for (const std::string& line : card.trace())
        EXPECT_EQ(line.find("PowerPolicies"), std::string::npos) << line;
    EXPECT_EQ(printedBy([] { EXPECT_FALSE(gpu::setPowerTarget(100)); }),
              "Power policies are not supported!\n");
}

class PstatesVersionOne : public Tuning {
  protected:
    PstatesVersionOne()
        : Tuning(R"(<card frozen="1"><gpu>
            <versions interface="GPU_GetPstates20 GPU_SetPstates20" accept="1"/></gpu></card>)") {}
};

TEST_F(PstatesVersionOne, ReadingsWorkButOverVoltageIsUnavailable) {
    int32_t voltage[4] = {};
    EXPECT_TRUE(gpu::readVoltage(voltage));
    EXPECT_EQ(voltage[0], 1000000);
    int32_t range[5] = {};
    EXPECT_TRUE(gpu::readVoltageRange(range));
    EXPECT_TRUE(gpu::setGpuClockOffset(20));
    card.clearTrace();

    EXPECT_FALSE(gpu::setOverVoltage(12500));
    EXPECT_EQ(card.trace(), Trace{"GPU_SetPstates20 gpu=0 status=-9"});
    int32_t over[3] = {-1, -2, -3};
    EXPECT_TRUE(gpu::readOverVoltage(over));
    EXPECT_EQ(std::vector<int32_t>(over, over + 3), (std::vector<int32_t>{-1, -2, -3}));
}

}  // namespace

namespace {

std::string lastFanWrite(const SimCard& card) {
    const Trace trace = card.trace();
    for (auto it = trace.rbegin(); it != trace.rend(); ++it)
        if (it->rfind("GPU_SetCoolerLevels", 0) == 0) return *it;
    return {};
}

}  // namespace

// The hand-back needs no read: once the cooler read starts failing, the table of
// the last good read gives each cooler its default; with none ever read, the
// driver's policy at level 0 goes out; nonsense defaults are not written back.
TEST(FanHandBack, AFailingCoolerReadStillGivesTheFanBack) {
    {
        SimCard card(R"(<card frozen="1"><gpu><coolers><cooler defaultMin="30" defaultPolicy="32"/></coolers>
            <fault interface="GPU_GetCoolerSettings" status="-1" after="1"/></gpu></card>)");
        gpu::GpuContext context;
        gpu::GlobalContextScope global(context);
        gpu::setFanLevel(60);  // the one good read comes before the first fixed level
        EXPECT_TRUE(gpu::restoreFanDefault());
        EXPECT_EQ(lastFanWrite(card), "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0");
        ASSERT_TRUE(gpu::armEmergencyHandBack());
        gpu::setFanLevel(60);
        EXPECT_EQ(gpu::emergencyHandBack(), 0);
        EXPECT_EQ(lastFanWrite(card), "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0");
    }
    {
        SimCard card(R"(<card frozen="1"><gpu>
            <fault interface="GPU_GetCoolerSettings" status="-1"/></gpu></card>)");
        gpu::GpuContext context;
        gpu::GlobalContextScope global(context);
        EXPECT_TRUE(gpu::restoreFanDefault());
        EXPECT_EQ(card.trace(), (Trace{"GPU_SetCoolerLevels gpu=0 target=7 level0=0 policy0=32 status=0"}));
    }
    {
        SimCard card(R"(<card frozen="1"><gpu><coolers>
            <cooler defaultMin="-30" defaultPolicy="32" target="1"/><cooler defaultMin="35" defaultPolicy="1" target="2"/>
            </coolers></gpu></card>)");
        gpu::GpuContext context;
        gpu::GlobalContextScope global(context);
        EXPECT_TRUE(gpu::restoreFanDefault());
        // The simulator applies entry 0; both entries are the driver's policy at level 0.
        EXPECT_EQ(card.trace(), (Trace{"GPU_SetCoolerLevels gpu=0 target=7 level0=0 policy0=32 status=0"}));
    }
}

// The program's end gives back every fan it set, not only the GPU in use, and says how it went.
TEST(FanHandBack, EveryFanSetIsGivenBackAtTheEnd) {
    SimCard card(R"(<card frozen="1"><gpu/><gpu name="Second"/></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    context.selectedIndex = 1;
    gpu::setFanLevel(70);
    context.selectedIndex = 0;
    gpu::setFanLevel(50);
    card.clearTrace();
    testsupport::DiagnosticCapture captured2;
    EXPECT_TRUE(gpu::restoreEveryFan());
    const std::string printed = captured2.text();
    EXPECT_EQ(card.trace(), (Trace{"GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0",
                                   "GPU_SetCoolerLevels gpu=1 target=7 level0=30 policy0=32 status=0"}));
    EXPECT_NE(printed.find("Fan of GPU 1 given back to the driver\n"), std::string::npos);
    EXPECT_NE(printed.find("Fan of GPU 2 given back to the driver\n"), std::string::npos);
    // Given back once: the second GPU is no longer held.
    card.clearTrace();
    testsupport::DiagnosticCapture captured3;
    EXPECT_TRUE(gpu::restoreEveryFan());
    captured3.text();
    EXPECT_EQ(card.trace(), (Trace{"GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0"}));
}

// A GPU whose cooler calls answer "not supported" has no fan to drive: nothing
// is written to it, and a hand-back is no failure.
TEST(FanHandBack, AGpuWithoutFanControlGetsNoFanWrite) {
    for (const char* status : {"-104", "-3"}) {
        SCOPED_TRACE(status);
        SimCard card(
            std::string(
                R"(<card frozen="1"><gpu><fault interface="GPU_GetCoolerSettings GPU_SetCoolerLevels" status=")") +
            status + R"("/></gpu></card>)");
        gpu::GpuContext context;
        gpu::GlobalContextScope global(context);
        testsupport::MessageBoxRecorder boxes;
        int32_t fan[4] = {};
        EXPECT_FALSE(gpu::readFanStatus(fan));
        EXPECT_FALSE(gpu::fanControllable());
        gpu::setFanLevel(60);
        EXPECT_TRUE(gpu::restoreFanDefault());
        EXPECT_TRUE(gpu::restoreEveryFan());
        EXPECT_TRUE(card.trace().empty());
        EXPECT_TRUE(boxes.seen.empty());
    }
}
