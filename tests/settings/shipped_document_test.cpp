#include <pugixml.hpp>

#include "settings/keys.h"
#include "settings/settings_reader.h"
#include "settings_test_support.h"

using settings::SettingsReader;

namespace keys = settings::keys;

using ShippedValues = SettingsFolder;

TEST_F(ShippedValues, AreSafeForARealCard) {
    SettingsReader s(path());  // recreated from the shipped document
    EXPECT_EQ(s.read(keys::kVersion), 1);
    EXPECT_EQ(s.read(keys::kUpdateCheck), 0);
    EXPECT_FALSE(s.read(keys::kEnableFan));
    EXPECT_EQ(s.read(keys::kUpdateTime), "1000");
    EXPECT_EQ(s.read(keys::kRefreshRate), "1000");
    EXPECT_EQ(s.read(keys::kLogToFilePath), "Vantrel.txt");
    EXPECT_EQ(s.read(keys::kHotKeyVirtualKey), 0);
    EXPECT_EQ(s.read(keys::kHotKeyModifiers), 0);

    // The curve rises with the temperature, within 0..100, and reaches full speed.
    int32_t lastX = 0, lastY = 0;
    for (const keys::FanPointKeys& point : keys::kFanMapPoints) {
        const int32_t x = s.read(point.temperature);
        const int32_t y = s.read(point.speed);
        EXPECT_GE(x, lastX) << point.temperature.attribute;
        EXPECT_GE(y, lastY) << point.speed.attribute;
        EXPECT_LE(x, 100);
        EXPECT_LE(y, 100);
        lastX = x;
        lastY = y;
    }
    EXPECT_EQ(lastY, 100);
    EXPECT_LE(lastX, 90);

    int active = 0;
    for (const keys::SensorKeys& sensor : keys::kMonitorSensors) {
        active += s.read(sensor.active);
        EXPECT_LT(std::stoi(s.read(sensor.min)), std::stoi(s.read(sensor.max))) << sensor.active.path;
    }
    EXPECT_EQ(active, 4);
}

TEST(ShippedDocument, TheRuntimeCopyIsTheCompiledOne) {
    std::ifstream in(VANTREL_RUNTIME_DIR "/Vantrel.xml", std::ios::binary);
    ASSERT_TRUE(in) << "the build copies the document into the runtime folder";
    const std::string copy{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(copy, settings::shippedDocumentText());
}
