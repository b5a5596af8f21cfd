#include <pugixml.hpp>

#include "settings/settings_reader.h"
#include "settings_test_support.h"

using settings::SettingsReader;

namespace {

const char* const kElements[] = {
    "/Vantrel/Version",
    "/Vantrel/GeneralDlg/StartMinized",
    "/Vantrel/GeneralDlg/UpadteCheck",
    "/Vantrel/GeneralDlg/UpadteDay",
    "/Vantrel/GeneralDlg/UpdateWeek",
    "/Vantrel/GeneralDlg/UpadteMonth",
    "/Vantrel/FanDlg/EnableFan",
    "/Vantrel/FanDlg/AutoSystem",
    "/Vantrel/FanDlg/UpdateTime",
    "/Vantrel/MonitoringDlg/RefreshRate",
    "/Vantrel/MonitoringDlg/blLogToFile",
    "/Vantrel/MonitoringDlg/LogToFilePath",
    "/Vantrel/QuickSightSettingsDlg/Left",
    "/Vantrel/QuickSightSettingsDlg/Right",
    "/Vantrel/UIDlg/SaveToFilePath",
};
const char* const kSensors[] = {"GPUClock",   "MemoryClock", "GPUTemperature", "GPUUsage",    "MemoryUsage",
                                "GPUVoltage", "FanSpeed",    "FanTachometer",  "PowerTarget", "ShaderClock"};
const char* const kFanPoints[] = {"One", "Two", "Three", "Four", "Five", "Six", "Sever", "Eight"};
const char* const kProfileKeys[] = {"GPUClock", "MemoryClock",   "FanSpeed",     "TDP",
                                    "GPUTemp",  "GPUVoltageMax", "GPUVoltageMin"};

bool hasAttribute(const pugi::xml_document& d, const std::string& element, const std::string& name) {
    return bool(d.select_node((element + "/@" + name).c_str()));
}

}  // namespace

TEST(ShippedDocument, HoldsEveryNodeOfTheTreeWithATextValue) {
    const pugi::xml_document& d = settings::shippedDocument();
    ASSERT_STREQ(d.document_element().name(), "Vantrel");
    for (const char* element : kElements) {
        const pugi::xml_node node = d.select_node(element).node();
        ASSERT_TRUE(node) << element;
        EXPECT_EQ(node.first_child().type(), pugi::node_pcdata) << element;
    }
    for (const char* point : kFanPoints) {
        EXPECT_TRUE(hasAttribute(d, "/Vantrel/FanDlg/FanMap", std::string(point) + "X")) << point;
        EXPECT_TRUE(hasAttribute(d, "/Vantrel/FanDlg/FanMap", std::string(point) + "Y")) << point;
    }
    EXPECT_TRUE(hasAttribute(d, "/Vantrel/FanDlg/FanMap", "blLine"));
    for (const char* profile : {"One", "Two", "Three"})
        for (const char* key : kProfileKeys)
            EXPECT_TRUE(hasAttribute(d, std::string("/Vantrel/ClockSetDlg/") + profile, key))
                << profile << key;
    for (const char* sensor : kSensors)
        for (const char* key : {"Max", "Min"})
            EXPECT_TRUE(hasAttribute(d, std::string("/Vantrel/MonitoringDlg/") + sensor, key)) << sensor;
    EXPECT_TRUE(hasAttribute(d, "/Vantrel/UIDlg/HotKey", "VirtualKeyCode"));
    EXPECT_TRUE(hasAttribute(d, "/Vantrel/UIDlg/HotKey", "Modifiers"));
}

using ShippedValues = SettingsFolder;

TEST_F(ShippedValues, AreSafeForARealCard) {
    SettingsReader s(path());  // recreated from the shipped document
    EXPECT_EQ(s.integer("/Vantrel/Version"), 1);
    EXPECT_EQ(s.integer("/Vantrel/GeneralDlg/UpadteCheck"), 0);
    EXPECT_FALSE(s.textFlag("/Vantrel/FanDlg/EnableFan"));
    EXPECT_EQ(s.integer("/Vantrel/FanDlg/UpdateTime"), 1000);
    EXPECT_EQ(s.integer("/Vantrel/MonitoringDlg/RefreshRate"), 1000);
    EXPECT_EQ(s.text("/Vantrel/MonitoringDlg/LogToFilePath"), "Vantrel.txt");
    EXPECT_EQ(s.integer("/Vantrel/UIDlg/HotKey", "VirtualKeyCode"), 0);
    EXPECT_EQ(s.integer("/Vantrel/UIDlg/HotKey", "Modifiers"), 0);

    // The curve rises with the temperature, within 0..100, and reaches full speed.
    int32_t lastX = 0, lastY = 0;
    for (const char* point : kFanPoints) {
        const int32_t x = s.integer("/Vantrel/FanDlg/FanMap", std::string(point) + "X");
        const int32_t y = s.integer("/Vantrel/FanDlg/FanMap", std::string(point) + "Y");
        EXPECT_GE(x, lastX) << point;
        EXPECT_GE(y, lastY) << point;
        EXPECT_LE(x, 100);
        EXPECT_LE(y, 100);
        lastX = x;
        lastY = y;
    }
    EXPECT_EQ(lastY, 100);
    EXPECT_LE(lastX, 90);

    int active = 0;
    for (const char* sensor : kSensors) {
        const std::string element = std::string("/Vantrel/MonitoringDlg/") + sensor;
        active += s.numberFlag(element);
        EXPECT_LT(s.integer(element, "Min"), s.integer(element, "Max")) << sensor;
    }
    EXPECT_EQ(active, 4);
}

TEST(ShippedDocument, TheRuntimeCopyIsTheCompiledOne) {
    std::ifstream in(VANTREL_RUNTIME_DIR "/Vantrel.xml", std::ios::binary);
    ASSERT_TRUE(in) << "the build copies the document into the runtime folder";
    const std::string copy{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(copy, settings::shippedDocumentText());
}
