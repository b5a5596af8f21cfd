#include "gpu/information.h"

#include <gtest/gtest.h>

#include "gpu/gpu_context.h"
#include "support/diagnostic_capture.h"
#include "support/sim_card.h"

namespace {

using testsupport::SimCard;
using Strings = std::vector<std::string>;

Strings information(gpu::GpuContext& context) {
    Strings list;
    testsupport::DiagnosticCapture captured1;
    gpu::queryGpuInformation(context, list);
    captured1.text();
    return list;
}

TEST(Information, TheTypicalCardGivesFourteenStringsInOrder) {
    SimCard card("<card frozen=\"1\"><gpu/></card>");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    EXPECT_EQ(context.memoryDataRate, 0);
    Strings live;
    testsupport::DiagnosticCapture captured2;
    gpu::queryLiveClockInformation(live);
    captured2.text();
    EXPECT_EQ(live.at(2), "0.0GB/s");  // no data rate before the information query

    Strings list = information(context);
    ASSERT_EQ(list.size(), 14u);
    EXPECT_EQ(list[0], "Vantrel Sim 680");
    EXPECT_EQ(list[1], "");
    EXPECT_EQ(list[2], "8192MB");
    EXPECT_EQ(list[3], "GDDR5");
    EXPECT_EQ(list[4], "1006MHz");
    EXPECT_EQ(list[5], "1006MHz");
    EXPECT_EQ(list[6], "314.21");
    EXPECT_EQ(list[7], "Intel   8086");
    EXPECT_EQ(list[8], "");
    EXPECT_EQ(list[9], "256Bit");
    EXPECT_EQ(list[10], "192.3GB/s");
    EXPECT_EQ(list[11], "1502MHz");
    EXPECT_EQ(list[12], "1000MHz");
    EXPECT_EQ(list[13], "80.04.09.00.01");
    EXPECT_EQ(context.memoryDataRate, 4);

    live.clear();
    testsupport::DiagnosticCapture captured3;
    gpu::queryLiveClockInformation(live);
    captured3.text();
    EXPECT_EQ(live, (Strings{"1006MHz", "1502MHz", "192.3GB/s"}));
    EXPECT_EQ(gpu::readGpuName(context.handles[0]), "Vantrel Sim 680");
}

TEST(Information, RefusedAndOldDriverAnswersStillFillTheList) {
    SimCard card(R"(<card frozen="1">
        <driver version="7"/>
        <versions interface="SYS_GetChipSetInfo" accept="2"/>
        <versions interface="GPU_GetMemoryInfo" accept="1"/>
        <gpu ramType="0" busWidth="128">
          <fault interface="GPU_GetFullName GPU_GetVbiosVersionString" status="-1"/>
        </gpu></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    Strings list = information(context);
    ASSERT_EQ(list.size(), 14u);
    EXPECT_EQ(list[0], "Unknown");
    EXPECT_EQ(list[2], "8192MB");          // memory information version 1
    EXPECT_EQ(list[3], "Unknown");         // type 0 ...
    EXPECT_EQ(context.memoryDataRate, 2);  // ... still counts double data rate
    EXPECT_EQ(list[6], ".7");
    EXPECT_EQ(list[7], "Intel   8086");  // chipset version 2
    EXPECT_EQ(list[10], "48.1GB/s");
    EXPECT_EQ(list[13], "Unknown");
    EXPECT_EQ(gpu::readGpuName(context.handles[0]), "");
}

TEST(Information, FailuresEverywhereStillGiveFourteenStrings) {
    SimCard card(R"(<card frozen="1">
        <fault interface="SYS_GetDriverVersion SYS_GetChipSetInfo GPU_GetMemoryInfo" status="-1"/>
        <gpu><fault interface="GPU_GetRamType GPU_GetRamBusWidth GPU_GetPstates20 GPU_GetAllClockFrequencies" status="-1"/></gpu>
      </card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    context.memoryDataRate = 4;
    Strings list = information(context);
    EXPECT_EQ(list, (Strings{"Vantrel Sim 680", "", "Unknown", "Unknown", "0MHz", "0MHz", "Unknown",
                             "Unknown", "", "Unknown", "0.0GB/s", "0MHz", "0MHz", "80.04.09.00.01"}));
    EXPECT_EQ(context.memoryDataRate, 4);  // a failed type read keeps the factor
}

TEST(Information, FormattingHelpers) {
    EXPECT_EQ(gpu::formatDriverVersion(31421), "314.21");
    EXPECT_EQ(gpu::formatDriverVersion(55054), "550.54");
    EXPECT_EQ(gpu::formatDriverVersion(5), ".5");
    EXPECT_EQ(gpu::formatBandwidth(4, 1502, 256), "192.3GB/s");
    EXPECT_EQ(gpu::formatBandwidth(0, 1502, 256), "0.0GB/s");
    // The product wraps as an unsigned 32-bit value, as the display always did.
    EXPECT_EQ(gpu::formatBandwidth(4, 1 << 20, 1024), "0.0GB/s");
    const char* texts[] = {"Unknown", "SDRAM", "DDR1", "DDR2",  "GDDR2",
                           "GDDR3",   "GDDR4", "DDR3", "GDDR5", "LPDDR2"};
    const int factors[] = {2, 1, 2, 2, 2, 2, 4, 2, 4, 2};
    for (int code = 0; code < 10; ++code) {
        EXPECT_STREQ(gpu::memoryTypeText(code), texts[code]);
        EXPECT_EQ(gpu::memoryDataRateFactor(code), factors[code]);
    }
    EXPECT_STREQ(gpu::memoryTypeText(10), "Unknown");
    EXPECT_STREQ(gpu::memoryTypeText(-1), "Unknown");
    EXPECT_EQ(gpu::memoryDataRateFactor(10), 0);
}

}  // namespace
