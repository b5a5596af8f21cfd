// One reading and one writing settings access on the shipped document, as the
// main window's start-up read and the settings window's commit do them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "settings/settings_reader.h"
#include "settings/settings_writer.h"

namespace {

const char* const kSensors[] = {"GPUClock",   "MemoryClock", "GPUTemperature", "GPUUsage",    "MemoryUsage",
                                "GPUVoltage", "FanSpeed",    "FanTachometer",  "PowerTarget", "ShaderClock"};
const char* const kFanKeys[] = {"OneX",  "OneY",  "TwoX", "TwoY", "ThreeX", "ThreeY", "FourX",  "FourY",
                                "FiveX", "FiveY", "SixX", "SixY", "SeverX", "SeverY", "EightX", "EightY"};

// A document of its own, recreated from the shipped one.
std::string freshDocument() {
    std::string folder = (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) std::abort();
    const std::string path = folder + "/Vantrel.xml";
    settings::SettingsReader{path};
    return path;
}

void ReadingAccess(benchmark::State& state) {
    const std::string path = freshDocument();
    for (auto _ : state) {
        settings::SettingsReader s(path);
        benchmark::DoNotOptimize(s.textFlag("/Vantrel/GeneralDlg/StartMinized"));
        benchmark::DoNotOptimize(s.textFlag("/Vantrel/FanDlg/EnableFan"));
        benchmark::DoNotOptimize(s.integer("/Vantrel/QuickSightSettingsDlg/Left"));
        benchmark::DoNotOptimize(s.integer("/Vantrel/QuickSightSettingsDlg/Right"));
        benchmark::DoNotOptimize(s.integer("/Vantrel/UIDlg/HotKey", "VirtualKeyCode"));
        benchmark::DoNotOptimize(s.integer("/Vantrel/UIDlg/HotKey", "Modifiers"));
        benchmark::DoNotOptimize(s.text("/Vantrel/UIDlg/SaveToFilePath"));
        benchmark::DoNotOptimize(s.integer("/Vantrel/GeneralDlg/UpadteCheck"));
        benchmark::DoNotOptimize(s.integer("/Vantrel/Version"));
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(ReadingAccess);

void WritingAccess(benchmark::State& state) {
    const std::string path = freshDocument();
    int32_t value = 0;
    for (auto _ : state) {
        settings::SettingsWriter w(path);
        ++value;
        w.setFlag("/Vantrel/GeneralDlg/StartMinized", value & 1);
        w.setInteger("/Vantrel/GeneralDlg/UpadteCheck", value % 5);
        for (const char* key : kFanKeys) w.setAttribute("/Vantrel/FanDlg/FanMap", key, value % 100);
        w.setAttribute("/Vantrel/FanDlg/FanMap", "blLine", value & 1);
        w.setText("/Vantrel/FanDlg/UpdateTime", "1000");
        w.setFlag("/Vantrel/FanDlg/AutoSystem", value & 1);
        w.setText("/Vantrel/MonitoringDlg/RefreshRate", "1000");
        w.setFlag("/Vantrel/MonitoringDlg/blLogToFile", false);
        w.setText("/Vantrel/MonitoringDlg/LogToFilePath", "Vantrel.txt");
        for (const char* sensor : kSensors) {
            const std::string element = std::string("/Vantrel/MonitoringDlg/") + sensor;
            w.setInteger(element, 1);
            w.setAttribute(element, "Max", "100");
            w.setAttribute(element, "Min", "0");
        }
        w.setInteger("/Vantrel/QuickSightSettingsDlg/Left", value % 6);
        w.setInteger("/Vantrel/QuickSightSettingsDlg/Right", value % 6);
        w.setText("/Vantrel/UIDlg/SaveToFilePath", ".");
        w.setAttribute("/Vantrel/UIDlg/HotKey", "VirtualKeyCode", 0);
        w.setAttribute("/Vantrel/UIDlg/HotKey", "Modifiers", 0);
        if (!w.save()) state.SkipWithError("save failed");
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}
BENCHMARK(WritingAccess);

}  // namespace

BENCHMARK_MAIN();
