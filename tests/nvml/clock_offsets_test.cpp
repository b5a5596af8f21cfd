// Clock offsets through the P-state 2.0 interfaces, built twice: against a driver with the current
// offset calls (CURRENT_OFFSET_CALLS 1) and against one with only the older VF-offset calls.
#include "bridge_fixture.h"

using namespace nvapi;

namespace {

Pstates20Info clockDeltas(std::initializer_list<std::pair<uint32_t, int32_t>> deltas) {
    Pstates20Info p{};
    p.version = PSTATES20_VER1;
    p.numPstates = 1;
    for (const auto& [domain, kHz] : deltas) {
        Pstates20Clock& c = p.pstates[0].clocks[p.numClocks++];
        c.domainId = domain;
        c.freqDelta_kHz.value = kHz;
    }
    return p;
}

std::string graphicsWrite(int mhz) {
    return (CURRENT_OFFSET_CALLS ? "SetClockOffsets dev0 type0 " : "SetGpcClkVfOffset dev0 ") +
           std::to_string(mhz) + "\n";
}

std::string memoryWrite(int offset) {
    return (CURRENT_OFFSET_CALLS ? "SetClockOffsets dev0 type2 " : "SetMemClkVfOffset dev0 ") +
           std::to_string(offset) + "\n";
}

class ClockOffsetTest : public BridgeTest {
  protected:
    int32_t set(Pstates20Info p) { return call<SetPstates20Fn>(ID_GPU_SetPstates20, handle(), &p); }
    Pstates20Info read() {
        Pstates20Info p{};
        p.version = PSTATES20_VER2;
        EXPECT_EQ(call<GetPstates20Fn>(ID_GPU_GetPstates20, handle(), &p), OK);
        return p;
    }
};

}  // namespace

// The memory offset is in transfer-rate units, twice the reported memory clock: 500 kHz of delta each.
TEST_F(ClockOffsetTest, DeltasBecomeOffsetsInNvmlUnitsAndReadBack) {
    start();
    ASSERT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 100000}, {CLOCK_DOMAIN_MEMORY, 500000}})), OK);
    EXPECT_EQ(setterLog(), graphicsWrite(100) + memoryWrite(1000));
    EXPECT_EQ(fake->dev[0].memOffset, 1000);

    const Pstates20Info p = read();
    const Pstates20Clock& g = p.pstates[0].clocks[0];
    const Pstates20Clock& m = p.pstates[0].clocks[1];
    EXPECT_EQ(g.freqDelta_kHz.value, 100000);
    EXPECT_EQ(g.freqDelta_kHz.min, -500000);
    EXPECT_EQ(g.freqDelta_kHz.max, 1000000);
    EXPECT_EQ(m.freqDelta_kHz.value, 500000);
    EXPECT_EQ(m.freqDelta_kHz.min, -1000000);
    EXPECT_EQ(m.freqDelta_kHz.max, 1500000);
    EXPECT_EQ(g.flags & m.flags & 1u, 1u);

    // The same offsets again change nothing and are not written.
    clearLog();
    ASSERT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 100000}, {CLOCK_DOMAIN_MEMORY, 500000}})), OK);
    EXPECT_EQ(setterLog(), "");
}

TEST_F(ClockOffsetTest, OutOfRangeOffsetsWriteNothing) {
    start();
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 1001000}})), INVALID_ARGUMENT);
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, -501000}})), INVALID_ARGUMENT);
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_MEMORY, 1500500}})), INVALID_ARGUMENT);  // 3001 units
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_MEMORY, -1000500}})), INVALID_ARGUMENT);
    // One bad value refuses the whole request, the good one included.
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 50000}, {CLOCK_DOMAIN_MEMORY, 2000000}})),
              INVALID_ARGUMENT);
    EXPECT_EQ(errorText(INVALID_ARGUMENT), "invalid argument");
    EXPECT_EQ(setterLog(), "");
    // The ends of the ranges are allowed.
    ASSERT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 1000000}, {CLOCK_DOMAIN_MEMORY, -1000000}})), OK);
    EXPECT_EQ(setterLog(), graphicsWrite(1000) + memoryWrite(-2000));
}

TEST_F(ClockOffsetTest, MissingPrivilegeAndLostGpuAreNotRetried) {
    start();
    fake->denySetters = 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 100000}})), INVALID_USER_PRIVILEGE);
    testing::internal::GetCapturedStderr();
    fake->denySetters = 0;
    fake->lost = 1;
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 100000}})), HANDLE_INVALIDATED);
    EXPECT_EQ(setterLog(), "");
    EXPECT_EQ(fake->dev[0].gpcOffset, 0);
}

#if CURRENT_OFFSET_CALLS
// The older calls stand in only when the current one is absent from this driver, never when it
// refuses the value.
TEST_F(ClockOffsetTest, OlderCallsOnlyWhenTheCurrentOneIsMissing) {
    start();
    std::strcpy(fake->failFunction, "nvmlDeviceSetClockOffsets");
    for (const int missing : {3, 13, 25, 26}) {
        clearLog();
        fake->failReturn = missing;
        ASSERT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 10000 * missing}})), OK) << missing;
        EXPECT_EQ(setterLog(), "SetGpcClkVfOffset dev0 " + std::to_string(10 * missing) + "\n");
    }
    clearLog();
    fake->failReturn = 2;  // the driver refuses the value
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_MEMORY, 500000}})), INVALID_ARGUMENT);
    fake->failReturn = 999;
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_MEMORY, 500000}})), ERROR);
    EXPECT_EQ(setterLog(), "");
    EXPECT_EQ(fake->dev[0].memOffset, 0);
}

// A range the current call cannot report is not replaced by the older calls' range.
TEST_F(ClockOffsetTest, ARefusedRangeReadWritesNothing) {
    start();
    std::strcpy(fake->failFunction, "nvmlDeviceGetClockOffsets");
    fake->failReturn = 2;
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 100000}})), INVALID_ARGUMENT);
    EXPECT_EQ(setterLog(), "");
    // Absent from the driver: the older calls answer for both the range and the write.
    fake->failReturn = 13;
    EXPECT_EQ(set(clockDeltas({{CLOCK_DOMAIN_GRAPHICS, 100000}})), OK);
    EXPECT_EQ(setterLog(), "SetClockOffsets dev0 type0 100\n");
}
#endif
