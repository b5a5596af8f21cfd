// The bridge's conversions and status handling, without any library loaded.
#include "units.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "host_bridge.h"
#include "nvapi_contract.h"
#include "status_map.h"

using namespace nvml_bridge;

TEST(NvmlUnits, PowerRoundTripsWholePercentagesOnAwkwardDefaults) {
    for (uint64_t def : {320000ull, 333333ull, 285000ull, 75000ull}) {
        for (uint32_t pct = 30; pct <= 130; ++pct) {
            const uint64_t mw = thousandthsToMilliwatts(pct * 1000, def);
            EXPECT_EQ(powerToThousandths(mw, def), pct * 1000) << def << " " << pct;
        }
    }
    EXPECT_EQ(powerToThousandths(1000, 0), 0u);  // an unknown default never divides by zero
}

TEST(NvmlUnits, LimitRangeRoundsInwardSoEveryValueInRangeIsAllowed) {
    const uint64_t def = 350000, lo = 150000, hi = 400001;
    const uint32_t minT = minLimitToThousandths(lo, def), maxT = maxLimitToThousandths(hi, def);
    EXPECT_EQ(minT, 42858u);   // 42857.14 up
    EXPECT_EQ(maxT, 114286u);  // 114286.0 down
    EXPECT_GE(thousandthsToMilliwatts(minT, def), lo);
    EXPECT_LE(thousandthsToMilliwatts(maxT, def), hi);
}

TEST(NvmlUnits, MemoryOffsetAndTemperatures) {
    EXPECT_EQ(memoryOffsetToDeltaKhz(3000), 1500000);
    EXPECT_EQ(memoryDeltaKhzToOffset(1500000), 3000);
    EXPECT_EQ(memoryDeltaKhzToOffset(-250000), -500);
    EXPECT_EQ(policyToCelsius(21478), 83);
    EXPECT_EQ(policyToCelsius(-300), -1);
    EXPECT_EQ(bytesToKb(1ull << 50), 0xFFFFFFFFu);
}

TEST(NvmlUnits, DriverVersionNumbers) {
    EXPECT_EQ(driverVersionNumber("550.54.14"), 55054u);
    EXPECT_EQ(driverVersionNumber("535.154.05"), 53515u);
    EXPECT_EQ(driverVersionNumber("470.5"), 47005u);
    EXPECT_EQ(driverVersionNumber("560"), 56000u);
    EXPECT_EQ(driverVersionNumber(""), 0u);
    EXPECT_EQ(driverVersionNumber("r550"), 0u);
    EXPECT_EQ(driverVersionNumber("99999999999999.1"), driverVersionNumber("99999999999999.1"));
}

TEST(NvmlStatus, MappingAndTexts) {
    EXPECT_EQ(toNvapiStatus(0), nvapi::OK);
    EXPECT_EQ(toNvapiStatus(3), nvapi::NOT_SUPPORTED);
    EXPECT_EQ(toNvapiStatus(4), nvapi::INVALID_USER_PRIVILEGE);
    EXPECT_EQ(toNvapiStatus(15), nvapi::HANDLE_INVALIDATED);
    EXPECT_EQ(toNvapiStatus(16), nvapi::HANDLE_INVALIDATED);
    EXPECT_EQ(toNvapiStatus(2), nvapi::INVALID_ARGUMENT);
    EXPECT_EQ(toNvapiStatus(12345), nvapi::ERROR);

    StatusRecord rec;
    auto nvmlText = [](nvmlReturn_t r) { return r == 3 ? "Not Supported" : "Other"; };
    char text[8];
    rec.fromNvml(3);
    rec.text(nvapi::NOT_SUPPORTED, nvmlText, text, sizeof text);
    EXPECT_STREQ(text, "Not Sup");  // truncated, terminated
    rec.own(nvapi::NOT_SUPPORTED);  // the bridge's own refusal replaces NVML's text
    char full[64];
    rec.text(nvapi::NOT_SUPPORTED, nvmlText, full, sizeof full);
    EXPECT_STREQ(full, "not supported by this card or driver");
    rec.text(-12345, nullptr, full, sizeof full);
    EXPECT_STREQ(full, "unknown status");
}

TEST(NvmlHostBridge, ReadsSysfsIdsAndRejectsJunk) {
    const auto dir = std::filesystem::temp_directory_path() / ("vantrel-hb-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto write = [&](const char* name, const char* text) {
        std::FILE* f = std::fopen((dir / name).c_str(), "w");
        std::fputs(text, f);
        std::fclose(f);
    };
    HostBridge hb;
    EXPECT_FALSE(readHostBridge(dir.string(), hb));
    write("vendor", "0x8086\n");
    write("device", "0x4660\n");
    ASSERT_TRUE(readHostBridge(dir.string(), hb));
    EXPECT_EQ(hb.vendorId, 0x8086u);
    EXPECT_EQ(hb.deviceId, 0x4660u);
    EXPECT_EQ(hb.subVendorId, 0u);
    EXPECT_STREQ(pciVendorName(hb.vendorId), "Intel");
    write("device", "garbage");
    EXPECT_FALSE(readHostBridge(dir.string(), hb));
    write("device", "0x123456");
    EXPECT_FALSE(readHostBridge(dir.string(), hb));
    std::filesystem::remove_all(dir);
}
