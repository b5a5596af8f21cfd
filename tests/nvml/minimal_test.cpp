// The bridge against a fake NVML that lacks every optional symbol: what cannot be read is
// "not supported", what can still be read still works.
#include <set>

#include "bridge_fixture.h"

using namespace nvapi;

TEST_F(BridgeTest, MissingOptionalSymbolsAnswerNotSupported) {
    start();
    uint32_t rpm = 0;
    EXPECT_EQ(call<GetTachReadingFn>(ID_GPU_GetTachReading, handle(), &rpm), NOT_SUPPORTED);
    ThermalPolicyInfo ti{};
    ti.version = THERMAL_POLICY_INFO_VER;
    EXPECT_EQ(call<ThermalPoliciesGetInfoFn>(ID_GPU_ThermalPoliciesGetInfo, handle(), &ti), NOT_SUPPORTED);
    PowerPolicyInfo pi{};
    pi.version = POWER_POLICY_INFO_VER;
    EXPECT_EQ(call<PowerPoliciesGetInfoFn>(ID_GPU_PowerPoliciesGetInfo, handle(), &pi), NOT_SUPPORTED);
    PowerPolicyStatus ps{};
    ps.version = POWER_POLICY_STATUS_VER;
    ps.count = 1;
    ps.entry[0].power = 100000;
    EXPECT_EQ(call<PowerPoliciesSetStatusFn>(ID_GPU_PowerPoliciesSetStatus, handle(), &ps), NOT_SUPPORTED);
    EXPECT_EQ(std::string(fake->log), "");
}

TEST_F(BridgeTest, WhatRemainsStillWorks) {
    start();
    // The draw needs only the default limit and the usage.
    PowerTopologyStatus ts{};
    ts.version = POWER_TOPOLOGY_STATUS_VER;
    ASSERT_EQ(call<PowerTopologyGetStatusFn>(ID_GPU_PowerTopologyGetStatus, handle(), &ts), OK);
    EXPECT_EQ(ts.entry[0].power, 50000u);
    // Without P-state ranges the table spans 0 to the maximum clock, offsets without their range.
    Pstates20Info p{};
    p.version = PSTATES20_VER2;
    ASSERT_EQ(call<GetPstates20Fn>(ID_GPU_GetPstates20, handle(), &p), OK);
    EXPECT_EQ(p.pstates[0].clocks[0].data.range.minFreq_kHz, 0u);
    EXPECT_EQ(p.pstates[0].clocks[0].data.range.maxFreq_kHz, 2100000u);
    EXPECT_EQ(p.pstates[0].clocks[0].freqDelta_kHz.max, 0);
    EXPECT_EQ(p.pstates[0].clocks[0].flags & 1u, 1u);
    // Fans with NVML's default range and no policy query: the bridge's own record of what it set.
    CoolerLevels l{};
    l.version = COOLER_LEVELS_VER;
    l.cooler[0] = {35, COOLER_POLICY_MANUAL};
    ASSERT_EQ(call<SetCoolerLevelsFn>(ID_GPU_SetCoolerLevels, handle(), COOLER_TARGET_ALL, &l), OK);
    CoolerSettings s{};
    s.version = COOLER_SETTINGS_VER3;
    ASSERT_EQ(call<GetCoolerSettingsFn>(ID_GPU_GetCoolerSettings, handle(), COOLER_TARGET_ALL, &s), OK);
    EXPECT_EQ(coolerWord(s, 3, 0, COOLER_DEFAULT_MIN_LEVEL), 0u);
    EXPECT_EQ(coolerWord(s, 3, 0, COOLER_CURRENT_LEVEL), 35u);
    EXPECT_EQ(coolerWord(s, 3, 0, COOLER_CURRENT_POLICY), COOLER_POLICY_MANUAL);
}

TEST_F(BridgeTest, EveryInterfaceOfTheContractIsAnsweredByItsOwnFunction) {
    std::set<void*> functions;
    for (const InterfaceSpec& spec : kInterfaceTable) {
        void* f = qi(spec.id);
        EXPECT_NE(f, nullptr) << spec.name;
        functions.insert(f);
    }
    EXPECT_EQ(functions.size(), size_t(INTERFACE_COUNT));
    EXPECT_EQ(qi(0x12345678), nullptr);
}
