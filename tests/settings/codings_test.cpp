#include "settings/settings_reader.h"
#include "settings/value_coding.h"
#include "settings_test_support.h"

using settings::SettingsReader;

using Codings = SettingsFolder;

TEST_F(Codings, FlagsOfAnEmptyTextDifferByKind) {
    writeFile(shippedWith("<StartMinized>0</StartMinized>", "<StartMinized></StartMinized>"));
    SettingsReader first(path());
    EXPECT_TRUE(first.textFlag("/Vantrel/GeneralDlg/StartMinized"));

    writeFile(shippedWith("<blLogToFile>0</blLogToFile>", "<blLogToFile/>"));
    SettingsReader second(path());
    EXPECT_FALSE(second.numberFlag("/Vantrel/MonitoringDlg/blLogToFile"));
    EXPECT_EQ(second.text("/Vantrel/MonitoringDlg/blLogToFile"), "");
}

TEST_F(Codings, TextFlagIsFalseOnlyForExactlyZero) {
    EXPECT_FALSE(settings::decodeTextFlag("0"));
    EXPECT_TRUE(settings::decodeTextFlag(""));
    EXPECT_TRUE(settings::decodeTextFlag("00"));
    EXPECT_TRUE(settings::decodeTextFlag(" 0"));
    EXPECT_TRUE(settings::decodeTextFlag("no"));
    EXPECT_FALSE(settings::decodeNumberFlag("00"));
    EXPECT_FALSE(settings::decodeNumberFlag("no"));
    EXPECT_TRUE(settings::decodeNumberFlag(" -1x"));
}

TEST_F(Codings, HandEditedIntegersReadAsTheRuntimeConversionDoes) {
    std::string text = shippedWith("<UpdateTime>1000</UpdateTime>", "<UpdateTime>1000ms</UpdateTime>");
    text = text.replace(text.find("<RefreshRate>1000</RefreshRate>"), 31, "<RefreshRate>fast</RefreshRate>");
    text = text.replace(text.find("<Left>0</Left>"), 14, "<Left>99999999999999</Left>");
    text = text.replace(text.find("<Right>2</Right>"), 16, "<Right>-3</Right>");
    text = text.replace(text.find("OneX=\"30\""), 9, "OneX=\"  -12 \"");
    text = text.replace(text.find("OneY=\"30\""), 9, "OneY=\"\"");
    writeFile(text);

    SettingsReader s(path());
    EXPECT_EQ(s.integer("/Vantrel/FanDlg/UpdateTime"), 1000);
    EXPECT_EQ(s.integer("/Vantrel/MonitoringDlg/RefreshRate"), 0);
    EXPECT_EQ(s.integer("/Vantrel/QuickSightSettingsDlg/Left"), INT32_MAX);
    EXPECT_EQ(s.integer("/Vantrel/QuickSightSettingsDlg/Right"), -3);
    EXPECT_EQ(s.integer("/Vantrel/FanDlg/FanMap", "OneX"), -12);
    EXPECT_EQ(s.integer("/Vantrel/FanDlg/FanMap", "OneY"), 0);  // present and empty: not the default
    EXPECT_EQ(s.text("/Vantrel/FanDlg/UpdateTime"), "1000ms");
}

TEST_F(Codings, EntitiesAndCdataReadAsTheirText) {
    writeFile(shippedWith("<LogToFilePath>Vantrel.txt</LogToFilePath>",
                          "<LogToFilePath>/tmp/a&amp;b <![CDATA[<log>]]>.txt</LogToFilePath>"));
    SettingsReader s(path());
    EXPECT_EQ(s.text("/Vantrel/MonitoringDlg/LogToFilePath"), "/tmp/a&b <log>.txt");
}

TEST_F(Codings, AbsentNodesReadAsTheShippedValues) {
    std::string text = shippedWith(" TwoY=\"35\"", "");  // one attribute gone
    const size_t from = text.find("\t<MonitoringDlg>");  // a whole section gone
    const size_t to = text.find("</MonitoringDlg>") + std::string("</MonitoringDlg>\n").size();
    text.erase(from, to - from);
    text = text.replace(text.find("<UpdateTime>1000</UpdateTime>"), 29, "");  // one element gone
    writeFile(text);

    SettingsReader s(path());
    EXPECT_EQ(s.integer("/Vantrel/FanDlg/FanMap", "TwoY"), 35);
    EXPECT_EQ(s.integer("/Vantrel/FanDlg/UpdateTime"), 1000);
    EXPECT_EQ(s.integer("/Vantrel/MonitoringDlg/RefreshRate"), 1000);
    EXPECT_EQ(s.text("/Vantrel/MonitoringDlg/LogToFilePath"), "Vantrel.txt");
    EXPECT_EQ(s.integer("/Vantrel/MonitoringDlg/GPUClock", "Max"), 3000);
    EXPECT_TRUE(s.numberFlag("/Vantrel/MonitoringDlg/GPUClock"));
    EXPECT_EQ(readFile(), text) << "a reading access never writes";
}

TEST_F(Codings, UnknownOrMalformedPathsReadAsEmpty) {
    writeFile(std::string(settings::shippedDocumentText()));
    SettingsReader s(path());
    EXPECT_EQ(s.text("/Vantrel/NoSuchDlg/Key"), "");
    EXPECT_EQ(s.text("/Vantrel/FanDlg/FanMap", "NinthX"), "");
    EXPECT_EQ(s.text("Vantrel/FanDlg/UpdateTime"), "");
    EXPECT_EQ(s.text("/Vantrel//UpdateTime"), "");
    EXPECT_EQ(s.text("/Other/FanDlg/UpdateTime"), "");
    EXPECT_EQ(s.text("/Vantrel/FanDlg/UpdateTime/"), "");
    EXPECT_EQ(s.text(""), "");
    EXPECT_EQ(s.integer("/Vantrel/Version"), 1);
}
