// The bridge's write interfaces, refusals and failures against the complete fake NVML.
#include "bridge_fixture.h"

using namespace nvapi;

namespace {

CoolerLevels levels(uint32_t level, uint32_t policy) {
    CoolerLevels l{};
    l.version = COOLER_LEVELS_VER;
    l.cooler[0] = {level, policy};
    return l;
}

PowerPolicyStatus powerStatus(uint32_t power) {
    PowerPolicyStatus s{};
    s.version = POWER_POLICY_STATUS_VER;
    s.count = 1;
    s.entry[0].power = power;
    return s;
}

Pstates20Info clockDelta(uint32_t domain, int32_t kHz) {
    Pstates20Info p{};
    p.version = PSTATES20_VER1;
    p.numPstates = 1;
    p.numClocks = 1;
    p.pstates[0].clocks[0].domainId = domain;
    p.pstates[0].clocks[0].freqDelta_kHz.value = kHz;
    return p;
}

}  // namespace

TEST_F(BridgeTest, ManualLevelGoesToEveryFanWithinTheCardsRange) {
    start();
    CoolerLevels l = levels(20, COOLER_POLICY_MANUAL);  // below the 30 % minimum
    ASSERT_EQ(call<SetCoolerLevelsFn>(ID_GPU_SetCoolerLevels, handle(), COOLER_TARGET_ALL, &l), OK);
    EXPECT_EQ(setterLog(), "SetFanSpeed dev0 fan0 30\nSetFanSpeed dev0 fan1 30\n");
    CoolerSettings s{};
    s.version = COOLER_SETTINGS_VER3;
    ASSERT_EQ(call<GetCoolerSettingsFn>(ID_GPU_GetCoolerSettings, handle(), COOLER_TARGET_ALL, &s), OK);
    EXPECT_EQ(coolerWord(s, 3, 1, COOLER_CURRENT_POLICY), COOLER_POLICY_MANUAL);
    EXPECT_EQ(coolerWord(s, 3, 1, COOLER_CURRENT_LEVEL), 30u);

    // Writing the default policy read from the table hands every fan back.
    clearLog();
    l = levels(coolerWord(s, 3, 0, COOLER_DEFAULT_MIN_LEVEL), coolerWord(s, 3, 0, COOLER_DEFAULT_POLICY));
    ASSERT_EQ(call<SetCoolerLevelsFn>(ID_GPU_SetCoolerLevels, handle(), COOLER_TARGET_ALL, &l), OK);
    EXPECT_EQ(setterLog(), "SetDefaultFanSpeed dev0 fan0\nSetDefaultFanSpeed dev0 fan1\n");
    l.version = makeVersion(164, 2);
    EXPECT_EQ(call<SetCoolerLevelsFn>(ID_GPU_SetCoolerLevels, handle(), COOLER_TARGET_ALL, &l),
              INCOMPATIBLE_STRUCT_VERSION);
}

TEST_F(BridgeTest, UnloadHandsManualFansBack) {
    fake->count = 2;
    start();
    CoolerLevels l = levels(70, COOLER_POLICY_MANUAL);
    ASSERT_EQ(call<SetCoolerLevelsFn>(ID_GPU_SetCoolerLevels, handle(1), COOLER_TARGET_ALL, &l), OK);
    clearLog();
    call<UnloadFn>(ID_Unload);
    EXPECT_EQ(setterLog(), "SetDefaultFanSpeed dev1 fan0\nSetDefaultFanSpeed dev1 fan1\n");
    EXPECT_EQ(fake->initialised, 0);
}

TEST_F(BridgeTest, PowerLimitWritesMilliwattsWithinTheConstraints) {
    start();
    PowerPolicyStatus s = powerStatus(110000);
    ASSERT_EQ(call<PowerPoliciesSetStatusFn>(ID_GPU_PowerPoliciesSetStatus, handle(), &s), OK);
    EXPECT_EQ(setterLog(), "SetPowerManagementLimit dev0 352000\n");
    PowerPolicyStatus back{};
    back.version = POWER_POLICY_STATUS_VER;
    ASSERT_EQ(call<PowerPoliciesGetStatusFn>(ID_GPU_PowerPoliciesGetStatus, handle(), &back), OK);
    EXPECT_EQ(back.entry[0].power, 110000u);
    // The same limit again, and anything outside the range, write nothing.
    clearLog();
    EXPECT_EQ(call<PowerPoliciesSetStatusFn>(ID_GPU_PowerPoliciesSetStatus, handle(), &s), OK);
    s = powerStatus(120000);
    EXPECT_EQ(call<PowerPoliciesSetStatusFn>(ID_GPU_PowerPoliciesSetStatus, handle(), &s), INVALID_ARGUMENT);
    s = powerStatus(31249);
    EXPECT_EQ(call<PowerPoliciesSetStatusFn>(ID_GPU_PowerPoliciesSetStatus, handle(), &s), INVALID_ARGUMENT);
    s = powerStatus(31250);  // the minimum converts to exactly 100 W
    EXPECT_EQ(call<PowerPoliciesSetStatusFn>(ID_GPU_PowerPoliciesSetStatus, handle(), &s), OK);
    s.count = 5;
    EXPECT_EQ(call<PowerPoliciesSetStatusFn>(ID_GPU_PowerPoliciesSetStatus, handle(), &s), INVALID_ARGUMENT);
    EXPECT_EQ(setterLog(), "SetPowerManagementLimit dev0 100000\n");
}

TEST_F(BridgeTest, TemperatureTargetWritesWholeDegreesInRange) {
    start();
    ThermalPolicyStatus s{};
    s.version = THERMAL_POLICY_STATUS_VER;
    s.count = 1;
    s.entry[0] = {THERMAL_CONTROLLER_GPU, 21478, 1};  // 83.9 °C: the current 83, nothing to write
    ASSERT_EQ(call<ThermalPoliciesSetStatusFn>(ID_GPU_ThermalPoliciesSetStatus, handle(), &s), OK);
    EXPECT_EQ(setterLog(), "");
    s.entry[0].targetTemp = 87 * 256;
    ASSERT_EQ(call<ThermalPoliciesSetStatusFn>(ID_GPU_ThermalPoliciesSetStatus, handle(), &s), OK);
    EXPECT_EQ(setterLog(), "SetTemperatureThreshold dev0 5 87\n");
    ThermalPolicyStatus back{};
    back.version = THERMAL_POLICY_STATUS_VER;
    ASSERT_EQ(call<ThermalPoliciesGetStatusFn>(ID_GPU_ThermalPoliciesGetStatus, handle(), &back), OK);
    EXPECT_EQ(back.entry[0].targetTemp, 87 * 256);
    EXPECT_EQ(back.entry[0].flags, 1u);
    s.entry[0].targetTemp = 92 * 256;
    EXPECT_EQ(call<ThermalPoliciesSetStatusFn>(ID_GPU_ThermalPoliciesSetStatus, handle(), &s),
              INVALID_ARGUMENT);
    s.entry[0].controller = 2;
    EXPECT_EQ(call<ThermalPoliciesSetStatusFn>(ID_GPU_ThermalPoliciesSetStatus, handle(), &s),
              INVALID_ARGUMENT);
}

// Clock offsets themselves are in clock_offsets_test.cpp.
TEST_F(BridgeTest, VoltageCannotChangeThroughNvml) {
    start();
    // A non-zero voltage delta fails and writes nothing at all, not even the clock beside it.
    Pstates20Info p = clockDelta(CLOCK_DOMAIN_GRAPHICS, 100000);
    p.numBaseVoltages = 1;
    p.pstates[0].baseVoltages[0].voltDelta_uV.value = 25000;
    EXPECT_EQ(call<SetPstates20Fn>(ID_GPU_SetPstates20, handle(), &p), NOT_SUPPORTED);
    EXPECT_EQ(setterLog(), "");
    p.pstates[0].baseVoltages[0].voltDelta_uV.value = 0;  // a zero delta is already true
    EXPECT_EQ(call<SetPstates20Fn>(ID_GPU_SetPstates20, handle(), &p), OK);
    EXPECT_EQ(setterLog(), "SetClockOffsets dev0 type0 100\n");
    EXPECT_EQ(call<EnableOverclockedPstatesFn>(ID_GPU_EnableOverclockedPstates, handle(), 1u), OK);
    clearLog();
    Pstates20Info ov{};
    ov.version = PSTATES20_VER2;
    ov.overVoltage.numVoltages = 1;
    ov.overVoltage.voltages[0].voltDelta_uV.value = 10000;
    EXPECT_EQ(call<SetPstates20Fn>(ID_GPU_SetPstates20, handle(), &ov), NOT_SUPPORTED);
    p.numClocks = 9;
    EXPECT_EQ(call<SetPstates20Fn>(ID_GPU_SetPstates20, handle(), &p), INVALID_ARGUMENT);
    EXPECT_EQ(setterLog(), "");
}

TEST_F(BridgeTest, MissingPrivilegeIsNamedOnceAndInTheErrorText) {
    fake->denySetters = 1;
    start();
    testing::internal::CaptureStderr();
    PowerPolicyStatus s = powerStatus(110000);
    EXPECT_EQ(call<PowerPoliciesSetStatusFn>(ID_GPU_PowerPoliciesSetStatus, handle(), &s),
              INVALID_USER_PRIVILEGE);
    CoolerLevels l = levels(50, COOLER_POLICY_MANUAL);
    EXPECT_EQ(call<SetCoolerLevelsFn>(ID_GPU_SetCoolerLevels, handle(), COOLER_TARGET_ALL, &l),
              INVALID_USER_PRIVILEGE);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(
        err,
        "vantrel: changing the card's settings needs root privileges; the card's settings were left "
        "unchanged. With the service vantreld running, members of the group \"vantrel\" can change them "
        "without root\n");
    EXPECT_EQ(errorText(INVALID_USER_PRIVILEGE), "changing the card's settings needs root privileges");
    EXPECT_EQ(setterLog(), "");
}

TEST_F(BridgeTest, LostGpuInvalidatesTheHandleMidRun) {
    start();
    ThermalSettings t{};
    t.version = THERMAL_SETTINGS_VER;
    ASSERT_EQ(call<GetThermalSettingsFn>(ID_GPU_GetThermalSettings, handle(), 0u, &t), OK);
    fake->lost = 1;
    t.sensor[0].currentTemp = -7;
    EXPECT_EQ(call<GetThermalSettingsFn>(ID_GPU_GetThermalSettings, handle(), 0u, &t), HANDLE_INVALIDATED);
    EXPECT_EQ(t.sensor[0].currentTemp, -7);  // left as it was
    ClockFrequencies c{};
    c.version = CLOCK_FREQUENCIES_VER;
    EXPECT_EQ(call<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies, handle(), &c),
              HANDLE_INVALIDATED);
    Pstates20Info p{};
    p.version = PSTATES20_VER2;
    EXPECT_EQ(call<GetPstates20Fn>(ID_GPU_GetPstates20, handle(), &p), HANDLE_INVALIDATED);
    EXPECT_EQ(errorText(HANDLE_INVALIDATED), "GPU is lost");
}

TEST_F(BridgeTest, ErrorTextIsNvmlsOwnForStatusesFromNvml) {
    start();
    std::strcpy(fake->failFunction, "nvmlDeviceGetUtilizationRates");
    fake->failReturn = 999;
    DynamicPstatesInfo u{};
    u.version = DYNAMIC_PSTATES_VER;
    EXPECT_EQ(call<GetDynamicPstatesInfoExFn>(ID_GPU_GetDynamicPstatesInfoEx, handle(), &u), ERROR);
    EXPECT_EQ(errorText(ERROR), "Unknown Error");
    EXPECT_EQ(errorText(INCOMPATIBLE_STRUCT_VERSION), "structure version not supported");
    EXPECT_EQ(call<GetErrorMessageFn>(ID_GetErrorMessage, ERROR, nullptr), INVALID_ARGUMENT);
}

// Every refusal of NVML's start is the program's start-up failure, with NVML's reason on stderr
// and in the error text.
TEST_F(BridgeTest, InitialiseFailures) {
    for (const int refusal : {9, 4, 999}) {  // driver not loaded, no permission, unknown
        fake->initReturn = refusal;
        testing::internal::CaptureStderr();
        EXPECT_EQ(call<InitializeFn>(ID_Initialize), LIBRARY_NOT_FOUND);
        const std::string err = testing::internal::GetCapturedStderr();
        const std::string text = refusal == 9   ? "Driver Not Loaded"
                                 : refusal == 4 ? "Insufficient Permissions"
                                                : "Unknown Error";
        EXPECT_EQ(err, "vantrel: NVML cannot start: " + text + "\n");
        EXPECT_EQ(err.find("root"), std::string::npos);
        EXPECT_EQ(errorText(LIBRARY_NOT_FOUND), text);
    }
    fake->initReturn = 0;
    std::strcpy(fake->failFunction, "nvmlDeviceGetCount_v2");
    fake->failReturn = 4;
    testing::internal::CaptureStderr();
    EXPECT_EQ(call<InitializeFn>(ID_Initialize), LIBRARY_NOT_FOUND);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(fake->initialised, 0);  // shut down again
    fake->failFunction[0] = '\0';
    fake->count = 0;
    EXPECT_EQ(call<InitializeFn>(ID_Initialize), OK);
    EXPECT_EQ(call<EnumPhysicalGPUsFn>(ID_EnumPhysicalGPUs, handles, &count), NVIDIA_DEVICE_NOT_FOUND);
    EXPECT_EQ(count, 0);
}
