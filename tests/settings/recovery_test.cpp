#include <sys/stat.h>

#include <filesystem>

#include "settings/settings_location.h"
#include "settings/settings_reader.h"
#include "settings/settings_writer.h"
#include "settings_test_support.h"

using settings::SettingsReader;
using settings::SettingsWriter;

using Recovery = SettingsFolder;

TEST_F(Recovery, AMissingDocumentIsRecreatedFromTheShippedOne) {
    SettingsReader s(path());
    EXPECT_EQ(s.integer("/Vantrel/FanDlg/UpdateTime"), 1000);
    EXPECT_EQ(readFile(), settings::shippedDocumentText());
}

TEST_F(Recovery, TheDefaultLocationIsTheDocumentFolder) {
    settings::setDocumentFolder(m_folder);
    EXPECT_EQ(settings::documentPath(), path());
    {
        SettingsWriter w;
        w.setInteger("/Vantrel/FanDlg/UpdateTime", 250);
        EXPECT_TRUE(w.save());
    }
    EXPECT_EQ(SettingsReader().integer("/Vantrel/FanDlg/UpdateTime"), 250);
    settings::setDocumentFolder("");
    EXPECT_EQ(settings::documentPath(), "Vantrel.xml");
}

TEST_F(Recovery, AnUnusableDocumentIsKeptAsBadAndReplaced) {
    const std::string shipped(settings::shippedDocumentText());
    std::string randomBytes;
    for (int i = 0; i < 4096; ++i) randomBytes += char((i * 7919 + 13) % 251);
    std::string renamedRoot = shipped;
    renamedRoot.replace(renamedRoot.find("<Vantrel>"), 9, "<Settings>");
    renamedRoot.replace(renamedRoot.find("</Vantrel>"), 10, "</Settings>");
    const std::string broken[] = {
        shipped.substr(0, shipped.size() / 2),  // truncated
        randomBytes,
        renamedRoot,
        "",
        std::string("\0\0\0\0", 4),
        "<Vantrel><FanDlg></Vantrel>",  // mismatched tags
    };
    for (const std::string& bytes : broken) {
        SCOPED_TRACE(bytes.substr(0, 40));
        std::filesystem::remove(path("Vantrel.xml.bad"));
        writeFile(bytes);
        SettingsReader s(path());
        EXPECT_EQ(s.integer("/Vantrel/MonitoringDlg/RefreshRate"), 1000);
        EXPECT_EQ(readFile("Vantrel.xml.bad"), bytes);
        EXPECT_EQ(readFile(), shipped);
    }
}

// A hand edit nested far deeper than any settings document (pugixml frees and
// replaces subtrees recursively): kept as .bad, the shipped values serve, and
// writing the key it nests under neither crashes nor loses the user's file.
TEST_F(Recovery, ADeeplyNestedDocumentIsKeptAsBadAndReplaced) {
    const std::string shipped(settings::shippedDocumentText());
    for (int levels : {17, 200000}) {
        SCOPED_TRACE(levels);
        std::filesystem::remove(path("Vantrel.xml.bad"));
        std::string deep = shipped;
        std::string nest;
        for (int i = 0; i < levels; ++i) nest += "<a>";
        for (int i = 0; i < levels; ++i) nest += "</a>";
        deep.replace(deep.find("<EnableFan>") + 11, 0, nest);
        writeFile(deep);
        {
            SettingsWriter w(path());
            EXPECT_EQ(w.text("/Vantrel/FanDlg/EnableFan"), "0");
            w.setInteger("/Vantrel/FanDlg/EnableFan", 1);
            EXPECT_TRUE(w.save());
        }
        EXPECT_EQ(readFile("Vantrel.xml.bad"), deep);
        EXPECT_EQ(SettingsReader(path()).text("/Vantrel/FanDlg/EnableFan"), "1");
    }
    // The shipped document's depth and a little more are fine.
    std::filesystem::remove(path("Vantrel.xml.bad"));
    std::string nested = shipped;
    nested.replace(nested.find("<EnableFan>") + 11, 0, "<a><b><c></c></b></a>");
    writeFile(nested);
    SettingsReader s(path());
    EXPECT_FALSE(std::filesystem::exists(path("Vantrel.xml.bad")));
}

TEST_F(Recovery, AnEarlierBadCopyIsNeverOverwritten) {
    writeFile("first broken");
    SettingsReader{path()};
    writeFile("second broken");
    SettingsReader{path()};
    writeFile("third broken");
    SettingsReader{path()};
    EXPECT_EQ(readFile("Vantrel.xml.bad"), "first broken");
    EXPECT_EQ(readFile("Vantrel.xml.bad.1"), "second broken");
    EXPECT_EQ(readFile("Vantrel.xml.bad.2"), "third broken");
}

TEST_F(Recovery, ADirectoryInPlaceOfTheDocumentReadsDefaultsAndIsNeverReplaced) {
    std::filesystem::create_directory(path());
    writeFile("inside", "Vantrel.xml/keep");
    SettingsWriter w(path());
    EXPECT_EQ(w.integer("/Vantrel/FanDlg/FanMap", "EightY"), 100);
    w.setInteger("/Vantrel/FanDlg/UpdateTime", 5);
    EXPECT_EQ(w.integer("/Vantrel/FanDlg/UpdateTime"), 5);
    EXPECT_FALSE(w.save());
    EXPECT_TRUE(std::filesystem::is_directory(path()));
    EXPECT_EQ(readFile("Vantrel.xml/keep"), "inside");
    EXPECT_FALSE(exists("Vantrel.xml.bad"));
}

TEST_F(Recovery, AReadOnlyDocumentIsReadButNotWritten) {
    const std::string original = shippedWith("<UpdateTime>1000</UpdateTime>", "<UpdateTime>700</UpdateTime>");
    writeFile(original);
    ::chmod(path().c_str(), 0444);
    SettingsWriter w(path());
    EXPECT_EQ(w.integer("/Vantrel/FanDlg/UpdateTime"), 700);
    w.setInteger("/Vantrel/FanDlg/UpdateTime", 5);
    EXPECT_FALSE(w.save());
    EXPECT_EQ(readFile(), original);
    struct stat st;
    ASSERT_EQ(::stat(path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    for (const auto& entry : std::filesystem::directory_iterator(m_folder))
        EXPECT_EQ(entry.path().filename(), "Vantrel.xml") << "no temporary file left behind";
}

TEST_F(Recovery, AFolderThatCannotTakeFilesFailsTheSaveHarmlessly) {
    if (runningAsRoot()) GTEST_SKIP() << "root writes into read-only folders";
    const std::string original = shippedWith("<Left>0</Left>", "<Left>3</Left>");
    writeFile(original);
    ::chmod(m_folder.c_str(), 0555);
    SettingsWriter w(path());
    w.setInteger("/Vantrel/QuickSightSettingsDlg/Left", 1);
    EXPECT_FALSE(w.save());
    ::chmod(m_folder.c_str(), 0755);
    EXPECT_EQ(readFile(), original);
}

TEST_F(Recovery, AMissingFolderReadsDefaultsAndFailsTheSave) {
    SettingsWriter w(m_folder + "/absent/Vantrel.xml");
    EXPECT_EQ(w.integer("/Vantrel/Version"), 1);
    w.setFlag("/Vantrel/FanDlg/EnableFan", true);
    EXPECT_FALSE(w.save());
    EXPECT_FALSE(std::filesystem::exists(m_folder + "/absent"));
}

TEST_F(Recovery, ABrokenDocumentThatCannotBeMovedAsideIsLeftAlone) {
    if (runningAsRoot()) GTEST_SKIP() << "root renames inside read-only folders";
    writeFile("<Vantrel><Fan");
    ::chmod(m_folder.c_str(), 0555);
    {
        SettingsWriter w(path());
        EXPECT_EQ(w.integer("/Vantrel/FanDlg/UpdateTime"), 1000);
        EXPECT_FALSE(w.save());
    }
    ::chmod(m_folder.c_str(), 0755);
    EXPECT_EQ(readFile(), "<Vantrel><Fan");
}
