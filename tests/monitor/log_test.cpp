// The monitoring log byte for byte, the time texts in a set time zone, and the
// graph slots taken from the settings.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include "monitor/monitor_log.h"
#include "monitor/monitor_settings.h"
#include "monitor/sample_time.h"
#include "settings/settings_reader.h"

namespace {

namespace fs = std::filesystem;
using monitor::SensorValues;

// 2013-02-25 08:05:03 UTC, which is 9:05:03 in Central European time.
constexpr std::time_t kWorkedExample = 1361779503;

std::string utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}
std::string line(const std::string& ascii) {
    return utf16(ascii + "\r\n");
}

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class LocalTime : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        m_hadTz = tz != nullptr;
        if (tz) m_tz = tz;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
        m_dir = fs::temp_directory_path() / ("monitor_log_" + std::to_string(getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        if (m_hadTz)
            setenv("TZ", m_tz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
    }

    fs::path m_dir;
    std::string m_tz;
    bool m_hadTz = false;
};

const std::string kHeaderWords =
    "GPU clock        Memory clock        GPU temperature        GPU usage        Memory usage        "
    "GPU voltage        Fan speed        Fan tachometer        PowerTarget        Shader clock";

TEST_F(LocalTime, WorkedExampleRowInANewFileAfterTheTwoHeaderLines) {
    const monitor::SampleTime when = monitor::sampleTime(kWorkedExample);
    EXPECT_EQ(when.dateTime, "2013-2-25 9:5:3");
    EXPECT_EQ(when.time, "9:5:3");

    const fs::path file = m_dir / "Vantrel.txt";
    SensorValues values{};
    values[monitor::GPUClock] = 1006;
    values[monitor::MemoryClock] = 3004;
    values[monitor::GPUTemperature] = 45;
    values[monitor::GPUUsage] = 12;
    ASSERT_TRUE(monitor::appendLogRow(file.string(), when.dateTime, values));

    const std::string d20 = "2013-2-25 9:5:3     ";
    const std::string row = "2013-2-25 9:5:3" + std::string(5, ' ') + "1006" + std::string(13, ' ') + "3004" +
                            std::string(16, ' ') + "45" + std::string(21, ' ') + "12";
    EXPECT_EQ(readBytes(file), line(d20 + "Vantrel(Tessaril) -- Hardware monitoring logFile") +
                                   line(d20 + kHeaderWords) + line(row));

    // Each value column starts under the first letter of its header word.
    const std::string header = d20 + kHeaderWords;
    for (int kind = 0; kind < monitor::kSensorCount; ++kind) {
        const monitor::SensorInfo& info = monitor::sensorInfo(kind);
        EXPECT_EQ(header.find(info.logHeader), size_t(info.logColumn)) << info.logHeader;
    }

    // A file that already holds text gets the row alone.
    const std::string before = readBytes(file);
    ASSERT_TRUE(monitor::appendLogRow(file.string(), "2013-2-25 9:5:4", values));
    EXPECT_EQ(readBytes(file), before + line("2013-2-25 9:5:4" + row.substr(15)));
}

TEST_F(LocalTime, EmptyFileGetsTheHeaderAndExtremeValuesKeepTheirColumns) {
    const fs::path file = m_dir / "empty.txt";
    std::ofstream(file).close();
    SensorValues values{};
    values[monitor::GPUClock] = INT32_MAX;
    values[monitor::MemoryClock] = 7;
    values[monitor::GPUVoltage] = -5;
    values[monitor::ShaderClock] = INT32_MIN;
    ASSERT_TRUE(monitor::appendLogRow(file.string(), "2013-12-31 23:59:59", values));

    const std::string expected = "2013-12-31 23:59:59 2147483647" + std::string(7, ' ') + "7" +
                                 std::string(117 - 38, ' ') + "-5" + std::string(194 - 119, ' ') +
                                 "-2147483648";
    const std::string bytes = readBytes(file);
    ASSERT_TRUE(
        bytes.starts_with(line("2013-12-31 23:59:59 Vantrel(Tessaril) -- Hardware monitoring logFile")));
    EXPECT_TRUE(bytes.ends_with(line(expected)));
    // No byte-order mark, nothing after the last line end.
    EXPECT_EQ(bytes.substr(0, 2), std::string("2\0", 2));
    EXPECT_EQ(bytes.size() % 2, 0u);
}

TEST_F(LocalTime, RowsThatCannotBeWrittenAreDroppedAndTheNextOneIsTriedAgain) {
    SensorValues values{};
    values[monitor::GPUUsage] = 50;
    const fs::path missing = m_dir / "no-such-folder" / "log.txt";
    EXPECT_FALSE(monitor::appendLogRow(missing.string(), "2013-2-25 9:5:3", values));
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_FALSE(monitor::appendLogRow("", "2013-2-25 9:5:3", values));
    EXPECT_FALSE(monitor::appendLogRow(m_dir.string(), "2013-2-25 9:5:3", values));  // a folder

    fs::create_directories(missing.parent_path());
    EXPECT_TRUE(monitor::appendLogRow(missing.string(), "2013-2-25 9:5:4", values));
    EXPECT_TRUE(
        readBytes(missing).starts_with(line("2013-2-25 9:5:4     Vantrel(Tessaril) -- Hardware "
                                            "monitoring logFile")));

    // A file the process may not write (root writes anyway).
    if (geteuid() != 0) {
        const fs::path locked = m_dir / "locked.txt";
        std::ofstream(locked) << "x";
        fs::permissions(locked, fs::perms::owner_read);
        EXPECT_FALSE(monitor::appendLogRow(locked.string(), "2013-2-25 9:5:3", values));
        EXPECT_EQ(readBytes(locked), "x");
    }
}

TEST_F(LocalTime, ARowCutShortByAFullDiskIsTakenBackOut) {
    const fs::path file = m_dir / "full.txt";
    SensorValues values{};
    values[monitor::GPUClock] = 1006;
    ASSERT_TRUE(monitor::appendLogRow(file.string(), "2013-2-25 9:5:3", values));
    const std::string before = readBytes(file);
    // A file-size limit a few bytes past the end stands in for a full disk.
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous;
    limit.rlim_cur = before.size() + 10;
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool written = monitor::appendLogRow(file.string(), "2013-2-25 9:5:4", values);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousSignal);
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(file), before);
}

TEST_F(LocalTime, TimeTextsFollowTheZoneAndSayWhenNoLocalTimeCanBeFormed) {
    // Summer time in the same zone.
    EXPECT_EQ(monitor::sampleTime(1372662000).dateTime, "2013-7-1 9:0:0");
    const monitor::SampleTime unknown = monitor::sampleTime(std::numeric_limits<std::time_t>::max());
    EXPECT_EQ(unknown.time, "-1:-1:-1");
    EXPECT_EQ(unknown.dateTime, "0-0-0 -1:-1:-1");
    EXPECT_EQ(monitor::logDataRow(unknown.dateTime, SensorValues{}), "0-0-0 -1:-1:-1      ");
}

TEST_F(LocalTime, TheFirstFourActiveQuantitiesFillTheGraphSlots) {
    const fs::path doc = m_dir / "Vantrel.xml";
    std::ofstream(doc) << R"(<?xml version="1.0"?><Vantrel><MonitoringDlg>
        <RefreshRate>250ms</RefreshRate><blLogToFile>2</blLogToFile><LogToFilePath>logs/m.txt</LogToFilePath>
        <GPUClock Max="3000" Min="0">0</GPUClock><MemoryClock Max="9000" Min="100">1</MemoryClock>
        <GPUTemperature Max="90" Min="20">1</GPUTemperature><GPUUsage Max="100" Min="0">0</GPUUsage>
        <MemoryUsage Max="8192" Min="0">1</MemoryUsage><GPUVoltage Max="1200" Min="600">1</GPUVoltage>
        <FanSpeed Max="100" Min="0">1</FanSpeed><FanTachometer>0</FanTachometer><PowerTarget>0</PowerTarget>
        <ShaderClock>0</ShaderClock></MonitoringDlg></Vantrel>)";
    const monitor::MonitorSettings s = monitor::readMonitorSettings(settings::SettingsReader(doc.string()));
    EXPECT_EQ(s.refreshRate, 250);
    EXPECT_TRUE(s.logToFile);
    EXPECT_EQ(s.logPath, "logs/m.txt");
    const monitor::GraphSlots expected = {{{"Memory Clock,MHz", 9000, 100, monitor::MemoryClock},
                                           {"GPU Temperature,C", 90, 20, monitor::GPUTemperature},
                                           {"Memory Usage,MB", 8192, 0, monitor::MemoryUsage},
                                           {"GPU Voltage,mV", 1200, 600, monitor::GPUVoltage}}};
    EXPECT_EQ(s.graphSlots, expected);

    // Fewer than four active: the rest hold no quantity.
    monitor::SensorEntries two{};
    two[monitor::FanSpeed] = {true, 100, 0};
    two[monitor::ShaderClock] = {true, 3000, 0};
    const monitor::GraphSlots graphSlots = monitor::assignSlots(two);
    EXPECT_EQ(graphSlots[0].kind, monitor::FanSpeed);
    EXPECT_EQ(graphSlots[1].kind, monitor::ShaderClock);
    EXPECT_EQ(graphSlots[2].kind, monitor::kNoSensor);
    EXPECT_EQ(graphSlots[3].caption, "");
}

}  // namespace
