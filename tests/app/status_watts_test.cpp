// The status report's identity and power-in-watts fields, through the real program on the
// simulated card and on the NVML bridge over the fake NVML.
#include <gtest/gtest.h>

#include "run_program.h"

namespace {

const char* const kWattFields =
    "uuid,pci_bus_id,power_draw_w,power_limit_w,power_default_w,power_min_w,power_max_w";

// The first GPU is described in full, its draw pinned at 50 % of 200 W; the second is left to the defaults.
const char* const kTwoCards = R"(<card frozen="1">
    <gpu name="Alpha" uuid="GPU-00112233-4455-6677-8899-aabbccddeeff" busLocation="3" defaultPowerW="200">
      <powerTopology><domain id="0" power="50000"/></powerTopology>
    </gpu>
    <gpu name="Beta"/></card>)";

TEST(StatusWatts, TheSimulatedCardGivesItsIdentityAndWattsInEachFormat) {
    CardFile card(kTwoCards);
    const std::string sim = std::string("--simulate ") + card.path + " --status --gpu all";
    std::string out;
    ASSERT_EQ(runProgram(sim + " --format csv --query " + kWattFields, false, out), 0);
    // Limits are the policy's percentages (50 %, 100 %, 115 %) of the default watts.
    EXPECT_EQ(out, std::string(kWattFields) +
                       "\nGPU-00112233-4455-6677-8899-aabbccddeeff,00000000:03:00.0,100.00,200.00,200.00,"
                       "100.00,230.00\n"
                       "GPU-5a1d0c4e-0000-4000-8000-000000000001,00000000:01:00.0,"
                       "107.25,195.00,195.00,97.50,224.25\n");

    ASSERT_EQ(runProgram(sim + " --format json", false, out), 0);
    EXPECT_NE(out.find(R"("uuid":"GPU-00112233-4455-6677-8899-aabbccddeeff","pci_bus_id":"00000000:03:00.0",)"
                       R"("power_draw_w":100.00,"power_limit_w":200.00,"power_default_w":200.00,)"
                       R"("power_min_w":100.00,"power_max_w":230.00)"),
              std::string::npos)
        << out;
    // Every field in the full CSV too, after the older ones.
    ASSERT_EQ(runProgram(sim + " --format csv", false, out), 0);
    EXPECT_NE(out.find(std::string(",driver_version,") + kWattFields + ",timestamp\n"), std::string::npos)
        << out;
    ASSERT_EQ(runProgram(sim, false, out), 0);
    EXPECT_NE(
        out.find("\nPower in watts: limit 200.00 W (range 100.00 to 230.00 W, default 200.00 W), draw "
                 "100.00 W\nUUID: GPU-00112233-4455-6677-8899-aabbccddeeff\nPCI bus id: 00000000:03:00.0\n"),
        std::string::npos)
        << out;
}

// What the driver does not give is null (JSON) or empty (CSV), never a made-up number.
TEST(StatusWatts, WhatTheDriverDoesNotGiveIsAbsent) {
    struct Case {
        const char* gpu;  // the <gpu> element's inside
        const char* csv;
    };
    for (const Case& c : {
             Case{R"(<fault interface="VT_GPU_GetIdentity VT_GPU_GetPowerWatts" status="-104"/>)", ",,,,,,"},
             Case{R"(<fault interface="VT_GPU_GetPowerWatts" status="-1" after="0"/>)",
                  "GPU-5a1d0c4e-0000-4000-8000-000000000000,00000000:01:00.0,,,,,"},
             Case{R"(<powerPolicies supported="0"/>)",
                  "GPU-5a1d0c4e-0000-4000-8000-000000000000,00000000:01:00.0,107.25,,195.00,,"},
             Case{R"(<powerTopology valid="0"/>)",
                  "GPU-5a1d0c4e-0000-4000-8000-000000000000,00000000:01:00.0,,195.00,195.00,97.50,224.25"},
             Case{R"(<versions interface="VT_GPU_GetIdentity" accept="2"/>)",
                  ",,107.25,195.00,195.00,97.50,224.25"},
         }) {
        CardFile card(std::string(R"(<card frozen="1"><gpu>)") + c.gpu + "</gpu></card>");
        const std::string sim = std::string("--simulate ") + card.path + " --status";
        std::string out;
        EXPECT_EQ(runProgram(sim + " --format csv --no-header --query " + kWattFields, false, out), 0);
        EXPECT_EQ(out, std::string(c.csv) + "\n") << c.gpu;
    }
    // A card that does not know its power in watts.
    CardFile card(R"(<card frozen="1"><gpu defaultPowerW="0"/></card>)");
    std::string out;
    EXPECT_EQ(runProgram(std::string("--simulate ") + card.path + " --status --format json", false, out), 0);
    EXPECT_NE(
        out.find(R"("power_draw_w":null,"power_limit_w":null,"power_default_w":null,"power_min_w":null,)"
                 R"("power_max_w":null)"),
        std::string::npos)
        << out;
    EXPECT_EQ(runProgram(std::string("--simulate ") + card.path + " --status", false, out), 0);
    EXPECT_NE(out.find("\nPower in watts: unavailable\n"), std::string::npos) << out;
}

TEST(StatusWatts, ChosenFieldsWithoutHeaderOrUnits) {
    std::string out;
    ASSERT_EQ(runProgram("--simulate --status --query temperature_c,power_draw_w,fan_rpm --format csv "
                         "--no-header --no-units",
                         false, out),
              0);
    EXPECT_EQ(out, "38,107.25,1225\n");
}

TEST(StatusWatts, TheBridgeGivesNvmlsIdentityAndMilliwattsAsWatts) {
    const std::string full =
        std::string("LD_LIBRARY_PATH=") + FAKE_NVML_DIR + " FAKE_NVML_COUNT=2 VANTREL_SERVICE_SOCKET= ";
    std::string out;
    ASSERT_EQ(
        runProgram(std::string("--status --format csv --no-header --gpu all --query index,") + kWattFields,
                   false, out, full),
        0);
    EXPECT_EQ(
        out,
        "0,GPU-fa4e0000-0000-4000-8000-000000000000,00000000:01:00.0,160.00,320.00,320.00,100.00,370.00\n"
        "1,GPU-fa4e0000-0000-4000-8000-000000000001,00000000:02:00.0,160.00,320.00,320.00,100.00,370.00\n");
    ASSERT_EQ(runProgram("--status --format json --gpu 1", false, out, full), 0);
    EXPECT_NE(out.find(R"("uuid":"GPU-fa4e0000-0000-4000-8000-000000000001","pci_bus_id":"00000000:02:00.0",)"
                       R"("power_draw_w":160.00,"power_limit_w":320.00,"power_default_w":320.00,)"
                       R"("power_min_w":100.00,"power_max_w":370.00)"),
              std::string::npos)
        << out;
    // An NVML without the identity and constraint calls: those fields only are absent.
    const std::string minimal =
        std::string("LD_LIBRARY_PATH=") + FAKE_NVML_MINIMAL_DIR + " VANTREL_SERVICE_SOCKET= ";
    ASSERT_EQ(runProgram(std::string("--status --format csv --no-header --query ") + kWattFields, false, out,
                         minimal),
              0);
    EXPECT_EQ(out, ",,160.00,320.00,320.00,,\n");
}

}  // namespace
