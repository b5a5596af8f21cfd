#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "settings/settings_reader.h"
#include "settings/settings_writer.h"
#include "settings_test_support.h"

using settings::SettingsReader;
using settings::SettingsWriter;

namespace {

// Two value sets told apart by one number, written by one access each.
void writeSet(const std::string& path, int32_t set) {
    SettingsWriter w(path);
    w.setInteger("/Vantrel/FanDlg/UpdateTime", set);
    for (const char* key : {"OneX", "TwoX", "ThreeX", "FourX", "FiveX", "SixX", "SeverX", "EightX"})
        w.setAttribute("/Vantrel/FanDlg/FanMap", key, set);
    w.setText("/Vantrel/MonitoringDlg/LogToFilePath", std::string(size_t(set % 7) * 300, 'x'));  // sizes vary
    w.setInteger("/Vantrel/QuickSightSettingsDlg/Right", set);
    w.save();
}

}  // namespace

using InterruptedSave = SettingsFolder;

// A process killed at any moment of its saves leaves either the old or the new
// document, complete.
TEST_F(InterruptedSave, AKilledWriterNeverLeavesAPartialDocument) {
    std::mt19937 random(12345);
    writeSet(path(), 1);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t i = 0;; ++i) writeSet(path(), 1000 + i % 2);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 30000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string bytes = readFile();
        ASSERT_NE(bytes.find("</Vantrel>"), std::string::npos) << "round " << round;
        SettingsReader s(path());
        ASSERT_FALSE(exists("Vantrel.xml.bad")) << "round " << round;
        const int32_t set = s.integer("/Vantrel/FanDlg/UpdateTime");
        EXPECT_TRUE(set == 1 || set == 1000 || set == 1001) << set;
        for (const char* key : {"OneX", "FourX", "EightX"})
            EXPECT_EQ(s.integer("/Vantrel/FanDlg/FanMap", key), set);
        EXPECT_EQ(s.text("/Vantrel/MonitoringDlg/LogToFilePath").size(), size_t(set % 7) * 300);
        EXPECT_EQ(s.integer("/Vantrel/QuickSightSettingsDlg/Right"), set);
    }

    // The killed writers' temporary files go with the next save.
    writeSet(path(), 2);
    for (const auto& entry : std::filesystem::directory_iterator(m_folder))
        EXPECT_EQ(entry.path().filename(), "Vantrel.xml");
}

// A save that runs out of space fails, and the document stays as it was.
TEST_F(InterruptedSave, AFailedWriteLeavesTheDocumentAsItWas) {
    const std::string original(settings::shippedDocumentText());
    writeFile(original);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{512, 512};  // files may not grow past 512 bytes: writes fail as on a full disk
        ::setrlimit(RLIMIT_FSIZE, &limit);
        SettingsWriter w(path());
        w.setText("/Vantrel/MonitoringDlg/LogToFilePath", "changed");
        ::_exit(w.save() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported success";
    EXPECT_EQ(readFile(), original);
    for (const auto& entry : std::filesystem::directory_iterator(m_folder))
        EXPECT_EQ(entry.path().filename(), "Vantrel.xml") << "the temporary file is removed";
}
