// The bridge's read interfaces against the complete fake NVML: mappings and units.
#include "bridge_fixture.h"

using namespace nvapi;

TEST_F(BridgeTest, AnswersEveryContractInterfaceAndNothingElse) {
    const uint32_t ids[] = {ID_Initialize,
                            ID_Unload,
                            ID_GetErrorMessage,
                            ID_EnumPhysicalGPUs,
                            ID_GPU_GetFullName,
                            ID_GPU_GetVbiosVersionString,
                            ID_GPU_GetRamType,
                            ID_GPU_GetRamBusWidth,
                            ID_GPU_GetMemoryInfo,
                            ID_SYS_GetDriverVersion,
                            ID_SYS_GetChipSetInfo,
                            ID_GPU_GetAllClockFrequencies,
                            ID_GPU_GetPstates20,
                            ID_GPU_SetPstates20,
                            ID_GPU_EnableOverclockedPstates,
                            ID_GPU_GetDynamicPstatesInfoEx,
                            ID_GPU_GetThermalSettings,
                            ID_GPU_GetVoltageStatus,
                            ID_GPU_GetTachReading,
                            ID_GPU_GetCoolerSettings,
                            ID_GPU_SetCoolerLevels,
                            ID_GPU_PowerTopologyGetInfo,
                            ID_GPU_PowerTopologyGetStatus,
                            ID_GPU_PowerPoliciesGetInfo,
                            ID_GPU_PowerPoliciesGetStatus,
                            ID_GPU_PowerPoliciesSetStatus,
                            ID_GPU_ThermalPoliciesGetInfo,
                            ID_GPU_ThermalPoliciesGetStatus,
                            ID_GPU_ThermalPoliciesSetStatus,
                            ID_VT_GPU_GetIdentity,
                            ID_VT_GPU_GetPowerWatts};
    for (uint32_t id : ids) EXPECT_NE(qi(id), nullptr) << std::hex << id;
    EXPECT_EQ(qi(0x12345678), nullptr);
}

TEST_F(BridgeTest, TwoDevicesGetTheirOwnHandlesAndValues) {
    EXPECT_EQ(call<GetFullNameFn>(ID_GPU_GetFullName, nullptr, nullptr), INVALID_ARGUMENT);
    char name[SHORT_STRING];
    // Before initialise nothing answers for a GPU.
    EXPECT_EQ(call<EnumPhysicalGPUsFn>(ID_EnumPhysicalGPUs, handles, &count), API_NOT_INITIALIZED);
    fake->count = 2;
    fake->dev[1].temperature = 71;
    start();
    ASSERT_EQ(count, 2);
    EXPECT_NE(handle(0), handle(1));
    ASSERT_EQ(call<GetFullNameFn>(ID_GPU_GetFullName, handle(1), name), OK);
    EXPECT_STREQ(name, "NVIDIA Fake RTX 4080");
    ThermalSettings t{};
    t.version = THERMAL_SETTINGS_VER;
    t.count = 3;
    ASSERT_EQ(call<GetThermalSettingsFn>(ID_GPU_GetThermalSettings, handle(1), 0u, &t), OK);
    ASSERT_EQ(t.count, 1u);
    EXPECT_EQ(t.sensor[0].target, THERMAL_TARGET_GPU);
    EXPECT_EQ(t.sensor[0].currentTemp, 71);
    // A handle the bridge never gave out, and the null handle, are refused.
    auto bogus = reinterpret_cast<NvPhysicalGpuHandle>(reinterpret_cast<uintptr_t>(handle(1)) + 0x10);
    EXPECT_EQ(call<GetFullNameFn>(ID_GPU_GetFullName, bogus, name), EXPECTED_PHYSICAL_GPU_HANDLE);
    EXPECT_EQ(call<GetFullNameFn>(ID_GPU_GetFullName, nullptr, name), EXPECTED_PHYSICAL_GPU_HANDLE);
    // Handles are fetched once: enumerating again makes no NVML call.
    const unsigned long calls = fake->calls;
    call<EnumPhysicalGPUsFn>(ID_EnumPhysicalGPUs, handles, &count);
    EXPECT_EQ(fake->calls, calls);
}

TEST_F(BridgeTest, ClocksAreInKhzPerDomainAndClockType) {
    start();
    ClockFrequencies c{};
    c.version = CLOCK_FREQUENCIES_VER;
    ASSERT_EQ(call<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies, handle(), &c), OK);
    EXPECT_EQ(c.domain[CLOCK_DOMAIN_GRAPHICS].frequency, 1500000u);
    EXPECT_EQ(c.domain[CLOCK_DOMAIN_MEMORY].frequency, 9501000u);
    EXPECT_EQ(c.domain[CLOCK_DOMAIN_PROCESSOR].frequency, 1500000u);
    EXPECT_EQ(c.domain[CLOCK_DOMAIN_MEMORY].flags & 1u, 1u);
    EXPECT_EQ(c.domain[1].flags, 0u);
    // Base: the default application clock, by clock id; the processor clock runs with the graphics clock.
    c.flags = 1;
    fake->dev[0].p0MaxGraphics = 1950;
    ASSERT_EQ(call<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies, handle(), &c), OK);
    EXPECT_EQ(c.domain[CLOCK_DOMAIN_GRAPHICS].frequency, 1710000u);
    EXPECT_EQ(c.domain[CLOCK_DOMAIN_PROCESSOR].frequency, 1710000u);
    EXPECT_EQ(c.domain[CLOCK_DOMAIN_MEMORY].frequency, 9501000u);
    // A driver without the clock-id call answers through the older one.
    std::strcpy(fake->failFunction, "nvmlDeviceGetClock");
    fake->failReturn = 26;
    fake->dev[0].appDefaultGraphics = 1650;
    ASSERT_EQ(call<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies, handle(), &c), OK);
    EXPECT_EQ(c.domain[CLOCK_DOMAIN_GRAPHICS].frequency, 1650000u);
    // No default application clock at all: the top of P0 stands in.
    fake->dev[0].appDefaultGraphics = 0;
    ASSERT_EQ(call<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies, handle(), &c), OK);
    EXPECT_EQ(c.domain[CLOCK_DOMAIN_GRAPHICS].frequency, 1950000u);
    // A failing GPU is not papered over by a fallback.
    fake->failReturn = 15;
    EXPECT_EQ(call<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies, handle(), &c),
              HANDLE_INVALIDATED);
    fake->failFunction[0] = '\0';
    c.flags = 3;
    EXPECT_EQ(call<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies, handle(), &c), INVALID_ARGUMENT);
    c.version = makeVersion(200, 2);
    EXPECT_EQ(call<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies, handle(), &c),
              INCOMPATIBLE_STRUCT_VERSION);
}

TEST_F(BridgeTest, LoadTachometerAndVoltage) {
    start();
    DynamicPstatesInfo u{};
    u.version = DYNAMIC_PSTATES_VER;
    ASSERT_EQ(call<GetDynamicPstatesInfoExFn>(ID_GPU_GetDynamicPstatesInfoEx, handle(), &u), OK);
    EXPECT_EQ(u.utilization[0].percentage, 37u);
    EXPECT_EQ(u.utilization[1].percentage, 12u);
    EXPECT_EQ(u.utilization[0].flags & u.utilization[1].flags & 1u, 1u);
    uint32_t rpm = 0;
    ASSERT_EQ(call<GetTachReadingFn>(ID_GPU_GetTachReading, handle(), &rpm), OK);
    EXPECT_EQ(rpm, 1400u);
    VoltageStatus v{};
    v.version = VOLTAGE_STATUS_VER;
    EXPECT_EQ(call<GetVoltageStatusFn>(ID_GPU_GetVoltageStatus, handle(), &v), NOT_SUPPORTED);
    EXPECT_EQ(errorText(NOT_SUPPORTED), "not supported by this card or driver");
}

TEST_F(BridgeTest, TemperatureFromTheVersionedCallElseTheOlderOne) {
    start();
    ThermalSettings t{};
    t.version = THERMAL_SETTINGS_VER;
    fake->dev[0].temperature = 64;
    ASSERT_EQ(call<GetThermalSettingsFn>(ID_GPU_GetThermalSettings, handle(), 0u, &t), OK);
    EXPECT_EQ(t.sensor[0].currentTemp, 64);
    std::strcpy(fake->failFunction, "nvmlDeviceGetTemperatureV");
    fake->failReturn = 25;  // a structure version this driver does not know
    fake->dev[0].temperature = 66;
    ASSERT_EQ(call<GetThermalSettingsFn>(ID_GPU_GetThermalSettings, handle(), 0u, &t), OK);
    EXPECT_EQ(t.sensor[0].currentTemp, 66);
    fake->failReturn = 15;
    EXPECT_EQ(call<GetThermalSettingsFn>(ID_GPU_GetThermalSettings, handle(), 0u, &t), HANDLE_INVALIDATED);
}

TEST_F(BridgeTest, MemoryInfoInKbWritesOnlyTheCallersVersion) {
    fake->count = 2;
    fake->dev[1].memTotal = 4ull << 30;
    start();
    MemoryInfo m{};
    m.version = MEMORY_INFO_VER2;
    ASSERT_EQ(call<GetMemoryInfoFn>(ID_GPU_GetMemoryInfo, nullptr, &m), OK);  // handle 0: first GPU
    EXPECT_EQ(m.dedicatedVideoMemory, 10u << 20);
    EXPECT_EQ(m.availableDedicatedVideoMemory, 10u << 20);
    EXPECT_EQ(m.curAvailableDedicatedVideoMemory, 8u << 20);
    ASSERT_EQ(call<GetMemoryInfoFn>(ID_GPU_GetMemoryInfo, handle(1), &m), OK);
    EXPECT_EQ(m.dedicatedVideoMemory, 4u << 20);
    MemoryInfo v1{};
    v1.version = MEMORY_INFO_VER1;
    v1.curAvailableDedicatedVideoMemory = 0xABCD;
    ASSERT_EQ(call<GetMemoryInfoFn>(ID_GPU_GetMemoryInfo, handle(0), &v1), OK);
    EXPECT_EQ(v1.dedicatedVideoMemory, 10u << 20);
    EXPECT_EQ(v1.curAvailableDedicatedVideoMemory, 0xABCDu);
}

TEST_F(BridgeTest, StaticFacts) {
    start();
    char text[SHORT_STRING];
    ASSERT_EQ(call<GetVbiosVersionStringFn>(ID_GPU_GetVbiosVersionString, handle(), text), OK);
    EXPECT_STREQ(text, "94.02.42.00.00");
    uint32_t width = 0, location = 9;
    ASSERT_EQ(call<GetRamBusWidthFn>(ID_GPU_GetRamBusWidth, handle(), &width, &location), OK);
    EXPECT_EQ(width, 320u);
    int32_t type = -1;
    ASSERT_EQ(call<GetRamTypeFn>(ID_GPU_GetRamType, handle(), &type), OK);
    EXPECT_EQ(type, 0);  // unknown type
    DisplayDriverVersion dv{};
    dv.version = DISPLAY_DRIVER_VERSION_VER;
    ASSERT_EQ(call<GetDriverVersionFn>(ID_SYS_GetDriverVersion, nullptr, &dv), OK);
    EXPECT_EQ(dv.drvVersion, 55054u);
    EXPECT_STREQ(dv.szBuildBranchString, "550.54.14");
    ChipsetInfo ci{};
    ci.version = makeVersion(100, 1);
    EXPECT_EQ(call<GetChipSetInfoFn>(ID_SYS_GetChipSetInfo, &ci), INCOMPATIBLE_STRUCT_VERSION);
}

TEST_F(BridgeTest, CoolerTableInEachLayout) {
    fake->dev[0].fanSpeed[1] = 55;
    start();
    CoolerSettings s{};
    s.version = COOLER_SETTINGS_VER3;
    ASSERT_EQ(call<GetCoolerSettingsFn>(ID_GPU_GetCoolerSettings, handle(), COOLER_TARGET_ALL, &s), OK);
    ASSERT_EQ(s.count, 2u);
    EXPECT_EQ(coolerWord(s, 3, 0, COOLER_DEFAULT_MIN_LEVEL), 30u);
    EXPECT_EQ(coolerWord(s, 3, 0, COOLER_DEFAULT_MAX_LEVEL), 100u);
    EXPECT_EQ(coolerWord(s, 3, 1, COOLER_CURRENT_LEVEL), 55u);
    EXPECT_NE(coolerWord(s, 3, 0, COOLER_DEFAULT_POLICY), COOLER_POLICY_MANUAL);

    CoolerSettings v1{};
    v1.version = COOLER_SETTINGS_VER1;
    v1.words[40] = 0xDEAD;  // past the 152 bytes of version 1
    ASSERT_EQ(call<GetCoolerSettingsFn>(ID_GPU_GetCoolerSettings, handle(), COOLER_TARGET_ALL, &v1), OK);
    EXPECT_EQ(coolerWord(v1, 1, 1, COOLER_CURRENT_LEVEL), 55u);  // 12-word entries
    EXPECT_EQ(v1.words[40], 0xDEADu);

    s.version = makeVersion(1288, 4);
    EXPECT_EQ(call<GetCoolerSettingsFn>(ID_GPU_GetCoolerSettings, handle(), COOLER_TARGET_ALL, &s),
              INCOMPATIBLE_STRUCT_VERSION);
    s.version = COOLER_SETTINGS_VER3;
    EXPECT_EQ(call<GetCoolerSettingsFn>(ID_GPU_GetCoolerSettings, handle(), 1u, &s), INVALID_ARGUMENT);
    fake->dev[0].numFans = 0;  // a passively cooled card, seen at the next initialise
    call<UnloadFn>(ID_Unload);
    start();
    EXPECT_EQ(call<GetCoolerSettingsFn>(ID_GPU_GetCoolerSettings, handle(), COOLER_TARGET_ALL, &s),
              NOT_SUPPORTED);
}

TEST_F(BridgeTest, PowerAsThousandthsOfTheDefaultLimit) {
    start();
    PowerTopologyInfo ti{};
    ti.version = POWER_TOPOLOGY_INFO_VER;
    ASSERT_EQ(call<PowerTopologyGetInfoFn>(ID_GPU_PowerTopologyGetInfo, handle(), &ti), OK);
    EXPECT_EQ(ti.valid, 1);
    EXPECT_EQ(ti.count, 1);
    PowerTopologyStatus ts{};
    ts.version = POWER_TOPOLOGY_STATUS_VER;
    ASSERT_EQ(call<PowerTopologyGetStatusFn>(ID_GPU_PowerTopologyGetStatus, handle(), &ts), OK);
    EXPECT_EQ(ts.entry[0].power, 50000u);  // 160 W of 320 W
    PowerPolicyInfo pi{};
    pi.version = POWER_POLICY_INFO_VER;
    ASSERT_EQ(call<PowerPoliciesGetInfoFn>(ID_GPU_PowerPoliciesGetInfo, handle(), &pi), OK);
    EXPECT_EQ(pi.entry[0].minPower, 31250u);
    EXPECT_EQ(pi.entry[0].defaultPower, 100000u);
    EXPECT_EQ(pi.entry[0].maxPower, 115625u);
    PowerPolicyStatus ps{};
    ps.version = POWER_POLICY_STATUS_VER;
    ASSERT_EQ(call<PowerPoliciesGetStatusFn>(ID_GPU_PowerPoliciesGetStatus, handle(), &ps), OK);
    EXPECT_EQ(ps.count, 1u);
    EXPECT_EQ(ps.entry[0].power, 100000u);
}

TEST_F(BridgeTest, IdentityAndWattsPerDeviceEachPartOnItsOwn) {
    fake->count = 2;
    start();
    GpuIdentity id{};
    id.version = GPU_IDENTITY_VER;
    ASSERT_EQ(call<GetIdentityFn>(ID_VT_GPU_GetIdentity, handle(1), &id), OK);
    EXPECT_STREQ(id.uuid, "GPU-fa4e0000-0000-4000-8000-000000000001");
    EXPECT_STREQ(id.pciBusId, "00000000:02:00.0");
    PowerWatts w{};
    w.version = POWER_WATTS_VER;
    ASSERT_EQ(call<GetPowerWattsFn>(ID_VT_GPU_GetPowerWatts, handle(1), &w), OK);
    EXPECT_EQ(w.flags, POWER_WATTS_DRAW | POWER_WATTS_LIMIT | POWER_WATTS_DEFAULT | POWER_WATTS_RANGE);
    EXPECT_EQ(w.drawMw, 160000u);
    EXPECT_EQ(w.limitMw, 320000u);
    EXPECT_EQ(w.defaultMw, 320000u);
    EXPECT_EQ(w.minMw, 100000u);
    EXPECT_EQ(w.maxMw, 370000u);

    // A UUID that fills NVML's whole buffer without its NUL is cut, never overrun.
    std::memset(fake->dev[0].uuid, 'x', sizeof fake->dev[0].uuid);
    id = GpuIdentity{GPU_IDENTITY_VER, {}, {}};
    ASSERT_EQ(call<GetIdentityFn>(ID_VT_GPU_GetIdentity, handle(0), &id), OK);
    EXPECT_EQ(std::string(id.uuid), std::string(sizeof id.uuid - 1, 'x'));
    // Each part on its own: without the UUID the bus id is still given; without the draw, the limits.
    std::strcpy(fake->failFunction, "nvmlDeviceGetUUID");
    fake->failReturn = 999;
    id = GpuIdentity{GPU_IDENTITY_VER, {}, {}};
    ASSERT_EQ(call<GetIdentityFn>(ID_VT_GPU_GetIdentity, handle(0), &id), OK);
    EXPECT_STREQ(id.uuid, "");
    EXPECT_STREQ(id.pciBusId, "00000000:01:00.0");
    std::strcpy(fake->failFunction, "nvmlDeviceGetPowerUsage");
    w = PowerWatts{POWER_WATTS_VER, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(call<GetPowerWattsFn>(ID_VT_GPU_GetPowerWatts, handle(0), &w), OK);
    EXPECT_EQ(w.flags & POWER_WATTS_DRAW, 0u);
    EXPECT_EQ(w.limitMw, 320000u);

    // A lost GPU answers an error, not an empty identity; a wrong version is refused.
    fake->failFunction[0] = '\0';
    fake->lost = 1;
    EXPECT_NE(call<GetIdentityFn>(ID_VT_GPU_GetIdentity, handle(0), &id), OK);
    id.version = makeVersion(132, 2);
    fake->lost = 0;
    EXPECT_EQ(call<GetIdentityFn>(ID_VT_GPU_GetIdentity, handle(0), &id), INCOMPATIBLE_STRUCT_VERSION);
}

TEST_F(BridgeTest, ThermalPolicyFromTheAcousticThresholds) {
    fake->dev[0].acousticCurr = 80;
    start();
    ThermalPolicyInfo ti{};
    ti.version = THERMAL_POLICY_INFO_VER;
    ASSERT_EQ(call<ThermalPoliciesGetInfoFn>(ID_GPU_ThermalPoliciesGetInfo, handle(), &ti), OK);
    EXPECT_EQ(ti.flags & 1, 1);
    EXPECT_EQ(ti.entry[0].controller, THERMAL_CONTROLLER_GPU);
    EXPECT_EQ(ti.entry[0].minTemp, 65 * 256);
    EXPECT_EQ(ti.entry[0].defaultTemp, 80 * 256);  // the target found at start
    EXPECT_EQ(ti.entry[0].maxTemp, 91 * 256);
    ThermalPolicyStatus ts{};
    ts.version = THERMAL_POLICY_STATUS_VER;
    ASSERT_EQ(call<ThermalPoliciesGetStatusFn>(ID_GPU_ThermalPoliciesGetStatus, handle(), &ts), OK);
    EXPECT_EQ(ts.entry[0].targetTemp, 80 * 256);
}

TEST_F(BridgeTest, PstateTableFromP0RangesAndOffsets) {
    fake->dev[0].gpcOffset = 150;
    fake->dev[0].memOffset = 1000;
    start();
    Pstates20Info p{};
    p.version = PSTATES20_VER2;
    ASSERT_EQ(call<GetPstates20Fn>(ID_GPU_GetPstates20, handle(), &p), OK);
    EXPECT_EQ(p.flags & 1, 1u);
    ASSERT_EQ(p.numPstates, 1u);
    ASSERT_EQ(p.numClocks, 2u);
    EXPECT_EQ(p.numBaseVoltages, 0u);
    EXPECT_EQ(p.overVoltage.numVoltages, 0u);
    const Pstates20Clock& g = p.pstates[0].clocks[0];
    EXPECT_EQ(g.domainId, 0u);
    EXPECT_EQ(g.typeId, PSTATE_CLOCK_RANGE);
    EXPECT_EQ(g.data.range.minFreq_kHz, 210000u);
    EXPECT_EQ(g.data.range.maxFreq_kHz, 2100000u);
    EXPECT_EQ(g.freqDelta_kHz.value, 150000);
    EXPECT_EQ(g.freqDelta_kHz.min, -500000);
    EXPECT_EQ(g.freqDelta_kHz.max, 1000000);
    const Pstates20Clock& m = p.pstates[0].clocks[1];
    EXPECT_EQ(m.domainId, 4u);
    EXPECT_EQ(m.typeId, PSTATE_CLOCK_SINGLE);
    // The clock with its offset: 9501 MHz in the table, +500 MHz from the offset.
    EXPECT_EQ(m.data.single.freq_kHz, 10001000u);
    // Transfer-rate offsets are twice the reported clock: +1000 raises it by 500 MHz.
    EXPECT_EQ(m.freqDelta_kHz.value, 500000);
    EXPECT_EQ(m.freqDelta_kHz.min, -1000000);
    EXPECT_EQ(m.freqDelta_kHz.max, 1500000);

    Pstates20Info v1{};
    v1.version = PSTATES20_VER1;
    v1.overVoltage.numVoltages = 77;  // beyond the 7316 bytes of version 1
    ASSERT_EQ(call<GetPstates20Fn>(ID_GPU_GetPstates20, handle(), &v1), OK);
    EXPECT_EQ(v1.overVoltage.numVoltages, 77u);
    EXPECT_EQ(v1.pstates[0].clocks[1].data.single.freq_kHz, 10001000u);
}
