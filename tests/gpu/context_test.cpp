#include <gtest/gtest.h>

#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"
#include "gpu/readings.h"
#include "gpu/tuning.h"
#include "support/diagnostic_capture.h"
#include "support/sim_card.h"

namespace {

using testsupport::SimCard;

TEST(Context, AGeneralInitialiseErrorIsPrintedAndStartUpGoesOn) {
    SimCard card(R"(<card frozen="1"><fault interface="Initialize" status="-1"/><gpu/></card>)");
    testsupport::DiagnosticCapture captured1;
    gpu::GpuContext context;
    EXPECT_EQ(captured1.text(), "NVAPI NvAPI_Initialize: NVAPI_ERROR\n");
    EXPECT_EQ(context.initializeStatus(), -1);
    EXPECT_FALSE(context.driverMissing());
    EXPECT_EQ(context.count, 1);
}

TEST(Context, ADriverAnsweringLibraryNotFoundCountsAsMissing) {
    SimCard card(R"(<card frozen="1"><fault interface="Initialize" status="-2"/><gpu/></card>)");
    gpu::GpuContext context;
    EXPECT_TRUE(context.driverMissing());
    EXPECT_EQ(context.count, 0);
}

TEST(Context, AFailedEnumerationLeavesNoGpuAndSaysNothing) {
    SimCard card(R"(<card frozen="1"><fault interface="EnumPhysicalGPUs" status="-1"/><gpu/><gpu/></card>)");
    testsupport::DiagnosticCapture captured2;
    gpu::GpuContext context;
    EXPECT_EQ(captured2.text(), "");
    EXPECT_EQ(context.count, 0);
    for (NvPhysicalGpuHandle h : context.handles) EXPECT_EQ(h, nullptr);

    gpu::GlobalContextScope global(context);
    int32_t out[3] = {};
    testsupport::DiagnosticCapture captured3;
    EXPECT_EQ(gpu::readGpuTemperature(out), -1);
    EXPECT_EQ(captured3.text(), "NVAPI Error: NVAPI_ERROR\n");
}

TEST(Context, TheTemperatureIsTheThermalStatusWhenTheSensorReadFails) {
    SimCard card(
        R"(<card frozen="1"><gpu><fault interface="GPU_GetThermalSettings" status="-5"/></gpu></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    int32_t out[3] = {};
    EXPECT_EQ(gpu::readGpuTemperature(out), -5);
    context.selectedIndex = 64;  // past the table: no handle, the driver refuses it
    EXPECT_LT(gpu::readGpuTemperature(out), 0);
    EXPECT_EQ(out[0], 0);
}

TEST(Context, ASecondContextEndingLeavesTheDriverAndAManualFanAlone) {
    SimCard card(R"(<card frozen="1"><gpu/></card>)");
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    gpu::setFanLevel(60);
    {
        gpu::GpuContext second;  // as the information panel has one
        EXPECT_EQ(second.count, 1);
    }
    EXPECT_TRUE(gpu::DriverBinding::isLoaded());
    // The simulator drops written state at its last unload: the level would read 35 again.
    int32_t fan[4] = {};
    ASSERT_TRUE(gpu::readFanStatus(fan));
    EXPECT_EQ(fan[2], 60);
    EXPECT_EQ(card.trace().size(), 1u);  // only the write itself, no hand-back
}

}  // namespace
