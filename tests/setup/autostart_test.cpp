// The autostart entry: where it lives, how its Exec= names the program, and
// when it counts as naming this very executable.
#include "setup/autostart.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

class AutostartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantrel-autostart-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_entry = (m_dir / "autostart" / "vantrel.desktop").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void writeEntry(const std::string& text) const {
        fs::create_directories(fs::path(m_entry).parent_path());
        std::ofstream(m_entry) << text;
    }
    std::string readEntry() const {
        std::ifstream in(m_entry);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path m_dir;
    std::string m_entry;
};

TEST(AutostartExec, PathsRoundTripThroughTheirQuoting) {
    for (const std::string program :
         {"/opt/vantrel/vantrel", "/home/u/My Programs/vantrel", "/tmp/a\"b/vantrel", "/tmp/$HOME/v",
          "/tmp/back\\slash/v", "/tmp/100%/v", "/tmp/it's/v", "/tmp/tab\there/v"}) {
        EXPECT_EQ(setup::programOfExecValue(setup::desktopExecValue(program)), program) << program;
    }
    EXPECT_EQ(setup::desktopExecValue("/opt/vantrel/vantrel"), "/opt/vantrel/vantrel");
    EXPECT_EQ(setup::desktopExecValue("/home/u/My Programs/vantrel"), "\"/home/u/My Programs/vantrel\"");
    // Quoted for the command line, then backslashes doubled for the file.
    EXPECT_EQ(setup::desktopExecValue("/a$b\\c"), "\"/a\\\\$b\\\\\\\\c\"");
    EXPECT_EQ(setup::desktopExecValue("/tmp/100%/v"), "/tmp/100%%/v");
}

TEST(AutostartExec, MalformedValuesNameNoProgram) {
    EXPECT_EQ(setup::programOfExecValue("\"/unterminated path"), "");
    EXPECT_EQ(setup::programOfExecValue(""), "");
    EXPECT_EQ(setup::programOfExecValue("/usr/bin/vantrel --simulate"), "/usr/bin/vantrel");
}

TEST_F(AutostartTest, OnlyAnEntryNamingThisVeryExecutableCounts) {
    const std::string self = "/opt/Vantrel Tool/vantrel";
    EXPECT_FALSE(setup::autostartNames(m_entry, self)) << "no entry";

    writeEntry("[Desktop Entry]\nType=Application\nExec=\"/opt/Vantrel Tool/vantrel\"\n");
    EXPECT_TRUE(setup::autostartNames(m_entry, self));

    writeEntry("[Desktop Entry]\nExec=\"/opt/vantrel tool/vantrel\"\n");
    EXPECT_FALSE(setup::autostartNames(m_entry, self)) << "letter case differs";

    writeEntry("[Desktop Entry]\nExec=/usr/lib/vantrel/vantrel\n");
    EXPECT_FALSE(setup::autostartNames(m_entry, self)) << "another copy";

    writeEntry("[Desktop Action x]\nExec=\"/opt/Vantrel Tool/vantrel\"\n[Desktop Entry]\nName=Vantrel\n");
    EXPECT_FALSE(setup::autostartNames(m_entry, self)) << "Exec of another group";

    writeEntry("[Desktop Entry]\nExec = \"/opt/Vantrel Tool/vantrel\"\nHidden=true\n");
    EXPECT_FALSE(setup::autostartNames(m_entry, self)) << "hidden: the session ignores it";
}

TEST_F(AutostartTest, WritingCreatesTheFolderAndReplacesWhateverWasThere) {
    const std::string self = "/opt/Vantrel Tool/vantrel";
    ASSERT_TRUE(setup::writeAutostartEntry(m_entry, self));
    EXPECT_TRUE(setup::autostartNames(m_entry, self));
    EXPECT_NE(readEntry().find("Exec=\"/opt/Vantrel Tool/vantrel\"\n"), std::string::npos) << readEntry();
    // TryExec= is a plain string: the path unquoted, only the string escapes applied.
    EXPECT_NE(readEntry().find("\nTryExec=/opt/Vantrel Tool/vantrel\n"), std::string::npos) << readEntry();
    ASSERT_TRUE(setup::writeAutostartEntry(m_entry, "/opt/back\\slash/vantrel"));
    EXPECT_NE(readEntry().find("\nTryExec=/opt/back\\\\slash/vantrel\n"), std::string::npos) << readEntry();
    EXPECT_EQ(fs::status(m_entry).permissions() & fs::perms::others_read, fs::perms::others_read);

    writeEntry("[Desktop Entry]\nExec=/somewhere/else\n");
    ASSERT_TRUE(setup::writeAutostartEntry(m_entry, self));
    EXPECT_TRUE(setup::autostartNames(m_entry, self));
    // Nothing but the entry is left in the folder.
    EXPECT_EQ(
        std::distance(fs::directory_iterator(fs::path(m_entry).parent_path()), fs::directory_iterator()), 1);
}

TEST_F(AutostartTest, RemovingIsQuietWhenThereIsNothingToRemove) {
    EXPECT_TRUE(setup::removeAutostartEntry(m_entry));
    writeEntry("[Desktop Entry]\nExec=/x\n");
    EXPECT_TRUE(setup::removeAutostartEntry(m_entry));
    EXPECT_FALSE(fs::exists(m_entry));
}

TEST_F(AutostartTest, AFailedWriteLeavesNoTraceAndSaysSo) {
    // Something that cannot be replaced stands where the entry goes.
    fs::create_directories(fs::path(m_entry) / "keep");
    EXPECT_FALSE(setup::writeAutostartEntry(m_entry, "/new"));
    EXPECT_TRUE(fs::is_directory(fs::path(m_entry) / "keep"));
    EXPECT_EQ(
        std::distance(fs::directory_iterator(fs::path(m_entry).parent_path()), fs::directory_iterator()), 1);
    // A folder that cannot be made.
    const std::string blocked = (m_dir / "file").string();
    std::ofstream(blocked) << "x";
    EXPECT_FALSE(setup::writeAutostartEntry(blocked + "/autostart/vantrel.desktop", "/new"));
}

TEST(AutostartPath, FollowsXdgConfigHomeAndFallsBackToHome) {
    const std::string savedConfig = getenv("XDG_CONFIG_HOME") ? getenv("XDG_CONFIG_HOME") : "";
    const std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", "/home/user", 1);
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(setup::autostartEntryPath(), "/cfg/autostart/vantrel.desktop");
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);  // not absolute: ignored
    EXPECT_EQ(setup::autostartEntryPath(), "/home/user/.config/autostart/vantrel.desktop");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(setup::autostartEntryPath(), "/home/user/.config/autostart/vantrel.desktop");
    setenv("HOME", savedHome.c_str(), 1);
    if (!savedConfig.empty()) setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
}

}  // namespace
