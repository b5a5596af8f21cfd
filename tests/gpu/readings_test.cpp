#include "gpu/readings.h"

#include <gtest/gtest.h>

#include "gpu/gpu_context.h"
#include "support/diagnostic_capture.h"
#include "support/sim_card.h"

namespace {

using testsupport::MessageBoxRecorder;
using testsupport::SimCard;

const char* const kTwoGpus = R"(<card frozen="1">
  <gpu name="First" ramType="8" busWidth="256">
    <memory dedicated="4194304" available="4194304" used="1048576"/>
    <clocks base="1000000" boost="1100000" memory="1500000"/>
    <load gpu="10" frameBuffer="5" swing="0"/>
    <temperature initial="40"/>
  </gpu>
  <gpu name="Second" ramType="5" busWidth="128">
    <memory dedicated="2097152" available="2097152" used="524288"/>
    <clocks base="800000" boost="900000" memory="900000"/>
    <load gpu="70" frameBuffer="30" swing="0"/>
    <temperature initial="60"/>
    <thermal><sensor controller="1" target="1" defaultMin="5" defaultMax="105"/></thermal>
    <coolers maxRpm="2000"><cooler defaultMin="20" defaultMax="90" level="50"/></coolers>
    <powerTopology valid="1"><domain id="0" power="66000"/></powerTopology>
    <powerPolicies valid="1"><policy id="0" domain="0" min="60000" default="100000" max="110000" limit="90000"/></powerPolicies>
  </gpu>
</card>)";

// Every reading of the GPU in use, with its result.
struct Round {
    int32_t temperature[3] = {}, clocks[3] = {}, usage[2] = {}, memory[3] = {}, voltage[4] = {}, fan[4] = {},
            power[5] = {};
    int32_t temperatureResult = 0;
    bool clocksOk = false, usageOk = false, memoryOk = false, voltageOk = false, fanOk = false,
         powerOk = false;

    explicit Round(const gpu::GpuContext& context) {
        temperatureResult = gpu::readGpuTemperature(temperature);
        clocksOk = gpu::readClocks(context, clocks, 0);
        usageOk = gpu::readGpuUsage(usage);
        memoryOk = gpu::readMemoryUsage(memory);
        voltageOk = gpu::readVoltage(voltage);
        fanOk = gpu::readFanStatus(fan);
        powerOk = gpu::readPowerStatus(power);
    }
};

TEST(Readings, TheTypicalCardReadsEveryValue) {
    SimCard card("<card frozen=\"1\"><gpu/></card>");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    ASSERT_EQ(context.count, 1);
    testsupport::DiagnosticCapture captured1;
    Round r(context);
    std::string printed = captured1.text();

    EXPECT_EQ(r.temperatureResult, 38);
    EXPECT_EQ(std::vector<int32_t>(r.temperature, r.temperature + 3), (std::vector<int32_t>{38, 0, 127}));
    EXPECT_TRUE(r.clocksOk);
    // base + (boost - base) × 40 % load, each domain truncated to whole MHz on its own.
    EXPECT_EQ(r.clocks[0], 1026);
    EXPECT_EQ(r.clocks[1], 1502);
    EXPECT_EQ(r.clocks[2], 2053);
    EXPECT_TRUE(r.usageOk);
    EXPECT_EQ(r.usage[0], 40);
    EXPECT_EQ(r.usage[1], 25);
    EXPECT_TRUE(r.memoryOk);
    EXPECT_EQ(std::vector<int32_t>(r.memory, r.memory + 3),
              (std::vector<int32_t>{786432, 8388608 - 786432, 8388608}));
    EXPECT_TRUE(r.voltageOk);
    EXPECT_EQ(std::vector<int32_t>(r.voltage, r.voltage + 4),
              (std::vector<int32_t>{1000000, 950000, 1050000, 1000000}));
    EXPECT_TRUE(r.fanOk);
    EXPECT_EQ(r.fan[0], 30);
    EXPECT_EQ(r.fan[1], 100);
    EXPECT_EQ(r.fan[2], 35);
    EXPECT_EQ(r.fan[3], 1225);
    EXPECT_TRUE(r.powerOk);
    EXPECT_EQ(std::vector<int32_t>(r.power, r.power + 4), (std::vector<int32_t>{50, 115, 100, 100}));
    EXPECT_GT(r.power[4], 0);
    EXPECT_EQ(printed, "Power topology info:\nPower topology status:\nPower policy info:\n");
}

TEST(Readings, WithNoGpuEveryReadingFails) {
    SimCard card("<card frozen=\"1\"></card>");
    MessageBoxRecorder boxes;
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    EXPECT_EQ(context.count, 0);
    EXPECT_EQ(context.handles[0], nullptr);
    testsupport::DiagnosticCapture captured2;
    Round r(context);
    std::string printed = captured2.text();
    EXPECT_LT(r.temperatureResult, 0);
    EXPECT_FALSE(r.clocksOk || r.usageOk || r.memoryOk || r.voltageOk || r.fanOk || r.powerOk);
    EXPECT_NE(printed.find("NVAPI Error: "), std::string::npos);
    for (int32_t v : r.power) EXPECT_EQ(v, 0);
    for (int32_t v : r.temperature) EXPECT_EQ(v, 0);
}

TEST(Readings, EachGpuReadsItsOwnValuesButMemoryUseIsTheDefaultGpus) {
    SimCard card(kTwoGpus);
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    ASSERT_EQ(context.count, 2);
    EXPECT_NE(context.handles[0], context.handles[1]);
    context.selectedIndex = 1;
    testsupport::DiagnosticCapture captured3;
    Round second(context);
    captured3.text();

    EXPECT_EQ(second.temperatureResult, 60);
    EXPECT_EQ(second.temperature[1], 5);
    EXPECT_EQ(second.temperature[2], 105);
    EXPECT_EQ(second.clocks[0], 870);
    EXPECT_EQ(second.clocks[1], 900);
    EXPECT_EQ(second.clocks[2], 1740);
    EXPECT_EQ(second.usage[0], 70);
    EXPECT_EQ(second.usage[1], 30);
    EXPECT_EQ(second.fan[0], 20);
    EXPECT_EQ(second.fan[1], 90);
    EXPECT_EQ(second.fan[2], 50);
    EXPECT_EQ(second.fan[3], 1000);
    EXPECT_EQ(std::vector<int32_t>(second.power, second.power + 5),
              (std::vector<int32_t>{60, 110, 100, 90, 66}));
    // The first GPU's memory, whichever GPU is selected.
    EXPECT_EQ(std::vector<int32_t>(second.memory, second.memory + 3),
              (std::vector<int32_t>{1048576, 4194304 - 1048576, 4194304}));

    context.selectedIndex = 0;
    int32_t temperature[3] = {};
    EXPECT_EQ(gpu::readGpuTemperature(temperature), 40);
    int32_t clocks[3] = {};
    ASSERT_TRUE(gpu::readClocks(context, clocks, 1));
    EXPECT_EQ(clocks[0], 1000);
    EXPECT_EQ(clocks[1], 1500);
}

TEST(Readings, WithoutAGpuTargetSensorTheTemperatureIsMinusOneAndOutStaysZero) {
    SimCard card(R"(<card frozen="1"><gpu>
        <thermal><sensor controller="1" target="2"/><sensor controller="2" target="4"/></thermal>
      </gpu></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    int32_t out[3] = {};
    EXPECT_EQ(gpu::readGpuTemperature(out), -1);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 0);
}

TEST(Readings, CoolersAreReadWithTheVersionOneLayoutWhenThatIsAllTheDriverKnows) {
    SimCard card(R"(<card frozen="1"><gpu>
        <coolers maxRpm="3000">
          <cooler defaultMin="25" defaultMax="95" level="40"/>
          <cooler defaultMin="15" defaultMax="85" level="45"/>
        </coolers>
        <versions interface="GPU_GetCoolerSettings" accept="1"/>
      </gpu></card>)");
    MessageBoxRecorder boxes;
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    int32_t out[4] = {};
    ASSERT_TRUE(gpu::readFanStatus(out));
    // The last listed cooler's levels remain.
    EXPECT_EQ(out[0], 15);
    EXPECT_EQ(out[1], 85);
    EXPECT_EQ(out[2], 45);
    EXPECT_EQ(out[3], 1200);
    EXPECT_TRUE(boxes.seen.empty());
}

TEST(Readings, PowerPoliciesWithoutTopologyFailAndWriteNothing) {
    SimCard card(R"(<card frozen="1"><gpu><powerTopology supported="0"/></gpu></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    int32_t out[5] = {};
    testsupport::DiagnosticCapture captured4;
    EXPECT_FALSE(gpu::readPowerStatus(out));
    EXPECT_EQ(captured4.text(), "Power topology info:\n");
    for (int32_t v : out) EXPECT_EQ(v, 0);
}

TEST(Readings, PowerPoliciesThatAreNotValidSayNotAvailable) {
    SimCard card(R"(<card frozen="1"><gpu><powerPolicies valid="0"/></gpu></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    int32_t out[5] = {};
    testsupport::DiagnosticCapture captured5;
    EXPECT_FALSE(gpu::readPowerStatus(out));
    EXPECT_EQ(captured5.text(),
              "Power topology info:\nPower topology status:\nPower policy info:\n  ... not available!\n");
}

TEST(Readings, CoolerFailuresShowTheirMessageBoxesAndStillReportTheTachometer) {
    struct Case {
        int status;
        std::string box;
    };
    const Case cases[] = {
        {-101, "NVAPI信息| GPU物理地址无效.|16"},
        {-10, "NVAPI信息|Handle passed has been invalidated .|16"},
        {-5, "NVAPI信息|程序参数错误.|64"},
        {-1, "NVAPI信息|NVAPI读取GPU温度失败: |16"},
        {-9, ""},    // every version refused: a plain failure
        {-104, ""},  // no box for other statuses
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        SimCard card("<card frozen=\"1\"><gpu><fault interface=\"GPU_GetCoolerSettings\" status=\"" +
                     std::to_string(c.status) + "\"/></gpu></card>");
        MessageBoxRecorder boxes;
        gpu::GpuContext context;
        gpu::GlobalContextScope global(context);
        int32_t out[4] = {};
        EXPECT_FALSE(gpu::readFanStatus(out));
        EXPECT_EQ(out[0], 0);
        EXPECT_EQ(out[2], 0);
        EXPECT_EQ(out[3], 1225);
        if (c.box.empty())
            EXPECT_TRUE(boxes.seen.empty());
        else
            EXPECT_EQ(boxes.seen, std::vector<std::string>{c.box});
    }
}

// A GPU that goes away and comes back: one box per failure episode, the rest
// of the episode only prints.
TEST(Readings, ACoolerReadThatKeepsFailingShowsOneBoxPerEpisode) {
    SimCard card(R"(<card frozen="1"><gpu/></card>)");
    MessageBoxRecorder boxes;
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    int32_t out[4] = {};
    auto readLost = [&](int times) {
        context.selectedIndex = 5;  // no such GPU
        testsupport::DiagnosticCapture captured6;
        for (int i = 0; i < times; ++i) EXPECT_FALSE(gpu::readFanStatus(out));
        return captured6.text();
    };
    EXPECT_EQ(readLost(3), "NVAPI信息:  GPU物理地址无效.\nNVAPI信息:  GPU物理地址无效.\n");
    EXPECT_EQ(boxes.seen.size(), 1u);
    context.selectedIndex = 0;
    EXPECT_TRUE(gpu::readFanStatus(out));
    readLost(2);
    EXPECT_EQ(boxes.seen.size(), 2u);
}

TEST(Readings, VoltageComesFromTheFirstP0AndFallsBackToTableVersionOne) {
    SimCard card(R"(<card frozen="1"><gpu>
        <pstates editable="1">
          <pstate id="2"><baseVoltage domain="0" voltage="800000" deltaMin="-1000" deltaMax="1000"/></pstate>
          <pstate id="0"><baseVoltage domain="0" voltage="1100000" deltaMin="-25000" deltaMax="75000"/></pstate>
        </pstates>
        <versions interface="GPU_GetPstates20 GPU_SetPstates20" accept="1"/>
      </gpu></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    int32_t out[4] = {};
    ASSERT_TRUE(gpu::readVoltage(out));
    EXPECT_EQ(out[0], 1100000);
    EXPECT_EQ(out[1], 1075000);
    EXPECT_EQ(out[2], 1175000);
}

TEST(Readings, ATableWithoutP0LeavesThePresetRange) {
    SimCard card(R"(<card frozen="1"><gpu><pstates><pstate id="8"/></pstates></gpu></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    int32_t out[4] = {};
    ASSERT_TRUE(gpu::readVoltage(out));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 10000);
    EXPECT_EQ(out[2], 0);
}

TEST(Readings, ReadingsWriteNothingToTheCard) {
    SimCard card(kTwoGpus);
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    testsupport::DiagnosticCapture captured7;
    Round first(context);
    context.selectedIndex = 1;
    Round second(context);
    captured7.text();
    EXPECT_TRUE(card.trace().empty());
}

}  // namespace
