#include <sys/stat.h>

#include <filesystem>

#include "settings/settings_reader.h"
#include "settings/settings_writer.h"
#include "settings_test_support.h"

using settings::SettingsReader;
using settings::SettingsWriter;

using Writer = SettingsFolder;

TEST_F(Writer, SavingAnUntouchedDocumentKeepsEveryByte) {
    const std::string shipped(settings::shippedDocumentText());
    const std::string handEdited =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- mine -->\r\n<Vantrel>\r\n  <FanDlg>\r\n    "
        "<UpdateTime> 500 </UpdateTime>\r\n    <FanMap OneX=\"1\" OneY=\"2\"/>\r\n  </FanDlg>\r\n"
        "  <UIDlg><SaveToFilePath>/home/me/shots &amp; more</SaveToFilePath></UIDlg>\r\n</Vantrel>\r\n\r\n";
    for (const std::string& text : {shipped, handEdited}) {
        writeFile(text);
        SettingsWriter w(path());
        EXPECT_TRUE(w.save());
        EXPECT_EQ(readFile(), text);
    }
}

TEST_F(Writer, AWriteChangesOnlyTheBytesOfItsNode) {
    const std::string before(settings::shippedDocumentText());
    writeFile(before);
    SettingsWriter w(path());
    w.setInteger("/Vantrel/FanDlg/UpdateTime", 2500);
    ASSERT_TRUE(w.save());
    const std::string after = readFile();

    const size_t node = before.find("<UpdateTime>1000</UpdateTime>");
    ASSERT_EQ(after.substr(node, 16), "<UpdateTime>2500");
    EXPECT_EQ(after.substr(0, node) + "<UpdateTime>1000" + after.substr(node + 16), before);
}

TEST_F(Writer, AttributesAreAddedOrReplacedInPlace) {
    writeFile(shippedWith(" TwoX=\"40\"", ""));
    {
        SettingsWriter w(path());
        w.setAttribute("/Vantrel/FanDlg/FanMap", "OneX", 33);
        w.setAttribute("/Vantrel/FanDlg/FanMap", "TwoX", -4);
        w.setAttribute("/Vantrel/FanDlg/FanMap", "blLine", "1");
        EXPECT_EQ(w.integer("/Vantrel/FanDlg/FanMap", "OneX"), 33);
        ASSERT_TRUE(w.save());
    }
    const std::string text = readFile();
    EXPECT_NE(text.find("<FanMap OneX=\"33\" OneY=\"30\" TwoY=\"35\""), std::string::npos) << text;
    EXPECT_NE(text.find("EightY=\"100\" blLine=\"1\" TwoX=\"-4\"/>"), std::string::npos) << text;
    SettingsReader s(path());
    EXPECT_EQ(s.integer("/Vantrel/FanDlg/FanMap", "TwoX"), -4);
    EXPECT_TRUE(s.numberFlag("/Vantrel/FanDlg/FanMap", "blLine"));
}

TEST_F(Writer, ValuesAreCodedAsIntegersFlagsAndUnchangedTexts) {
    const std::string awkward = "  C:\\shots & <\"quoted\"> 'x' \xE6\x88\xAA\xE5\x9B\xBE\t\r\n ";
    {
        SettingsWriter w(path());
        w.setInteger("/Vantrel/GeneralDlg/UpadteCheck", -1);
        w.setInteger("/Vantrel/MonitoringDlg/RefreshRate", INT32_MIN);
        w.setFlag("/Vantrel/GeneralDlg/StartMinized", true);
        w.setFlag("/Vantrel/FanDlg/EnableFan", false);
        w.setText("/Vantrel/UIDlg/SaveToFilePath", awkward);
        w.setAttribute("/Vantrel/MonitoringDlg/GPUClock", "Max", awkward);
        w.setText("/Vantrel/MonitoringDlg/LogToFilePath", "");
        ASSERT_TRUE(w.save());
    }
    SettingsReader s(path());
    EXPECT_EQ(s.text("/Vantrel/GeneralDlg/UpadteCheck"), "-1");
    EXPECT_EQ(s.text("/Vantrel/MonitoringDlg/RefreshRate"), "-2147483648");
    EXPECT_EQ(s.text("/Vantrel/GeneralDlg/StartMinized"), "1");
    EXPECT_EQ(s.text("/Vantrel/FanDlg/EnableFan"), "0");
    EXPECT_EQ(s.text("/Vantrel/UIDlg/SaveToFilePath"), awkward);
    EXPECT_EQ(s.text("/Vantrel/MonitoringDlg/GPUClock", "Max"), awkward);
    EXPECT_EQ(s.text("/Vantrel/MonitoringDlg/LogToFilePath"), "")
        << "an emptied element is not a missing one";
}

TEST_F(Writer, MissingElementsOnThePathAreCreatedIndented) {
    writeFile("<?xml version=\"1.0\"?>\n<Vantrel>\n\t<Version>1</Version>\n</Vantrel>\n");
    {
        SettingsWriter w(path());
        w.setAttribute("/Vantrel/UIDlg/HotKey", "VirtualKeyCode", 44);
        w.setText("/Vantrel/UIDlg/SaveToFilePath", "/tmp");
        ASSERT_TRUE(w.save());
    }
    EXPECT_EQ(readFile(),
              "<?xml version=\"1.0\"?>\n<Vantrel>\n\t<Version>1</Version>\n\t<UIDlg>\n\t\t<HotKey "
              "VirtualKeyCode=\"44\"/>\n\t\t<SaveToFilePath>/tmp</SaveToFilePath>\n\t</UIDlg>\n</Vantrel>\n");
    SettingsReader s(path());
    EXPECT_EQ(s.integer("/Vantrel/UIDlg/HotKey", "VirtualKeyCode"), 44);
    EXPECT_EQ(s.integer("/Vantrel/UIDlg/HotKey", "Modifiers"), 0);
}

TEST_F(Writer, ReplacingTextDropsChildrenAndMixedContent) {
    writeFile(shippedWith("<UpdateTime>1000</UpdateTime>", "<UpdateTime>1<!--c--><b>2</b>3</UpdateTime>"));
    SettingsWriter w(path());
    EXPECT_EQ(w.text("/Vantrel/FanDlg/UpdateTime"), "123");
    w.setInteger("/Vantrel/FanDlg/UpdateTime", 9);
    ASSERT_TRUE(w.save());
    EXPECT_EQ(readFile(), shippedWith("<UpdateTime>1000</UpdateTime>", "<UpdateTime>9</UpdateTime>"));
}

TEST_F(Writer, MalformedPathsAndNamesWriteNothing) {
    const std::string original(settings::shippedDocumentText());
    writeFile(original);
    SettingsWriter w(path());
    w.setText("/Other/FanDlg/UpdateTime", "1");
    w.setText("FanDlg/UpdateTime", "1");
    w.setText("/Vantrel/Fan Dlg", "1");
    w.setText("/Vantrel/<x>", "1");
    w.setAttribute("/Vantrel/FanDlg/FanMap", "One X", 1);
    w.setAttribute("/Vantrel/FanDlg/FanMap", "", 1);
    w.setAttribute("/Vantrel/FanDlg/FanMap", "a\"b", 1);
    ASSERT_TRUE(w.save());
    EXPECT_EQ(readFile(), original);
}

TEST_F(Writer, UnsavedChangesAreDropped) {
    const std::string original(settings::shippedDocumentText());
    writeFile(original);
    {
        SettingsWriter w(path());
        w.setFlag("/Vantrel/FanDlg/EnableFan", true);
    }
    EXPECT_EQ(readFile(), original);
}

TEST_F(Writer, SavingKeepsPermissionsAndFollowsSymbolicLinks) {
    std::filesystem::create_directory(path("real"));
    writeFile(std::string(settings::shippedDocumentText()), "real/Vantrel.xml");
    ::chmod(path("real/Vantrel.xml").c_str(), 0640);
    std::filesystem::create_symlink(path("real/Vantrel.xml"), path());

    SettingsWriter w(path());
    w.setInteger("/Vantrel/QuickSightSettingsDlg/Right", 5);
    ASSERT_TRUE(w.save());

    EXPECT_TRUE(std::filesystem::is_symlink(path()));
    EXPECT_EQ(SettingsReader(path("real/Vantrel.xml")).integer("/Vantrel/QuickSightSettingsDlg/Right"), 5);
    struct stat st;
    ASSERT_EQ(::stat(path("real/Vantrel.xml").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(Writer, AUtf16DocumentStaysUtf16) {
    const std::string ascii = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><Vantrel><Left>4</Left></Vantrel>";
    std::string utf16 = "\xFF\xFE";
    for (char c : ascii) utf16 += std::string{c, '\0'};
    writeFile(utf16);
    {
        SettingsWriter w(path());
        EXPECT_EQ(w.integer("/Vantrel/Left"), 4);
        w.setInteger("/Vantrel/Left", 3);
        ASSERT_TRUE(w.save());
    }
    const std::string saved = readFile();
    EXPECT_EQ(saved.substr(0, 4), std::string("\xFF\xFE<\0", 4));
    EXPECT_EQ(SettingsReader(path()).integer("/Vantrel/Left"), 3);
}
