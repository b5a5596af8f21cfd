// One reading and one writing settings access on the shipped document, as the
// main window's start-up read and the settings window's commit do them.
#include <benchmark/benchmark.h>

#include <string>

#include "settings/settings_reader.h"
#include "settings/settings_writer.h"
#include "support/temp_folder.h"

namespace {

namespace keys = settings::keys;

// A document of its own, recreated from the shipped one.
std::string freshDocument(const testsupport::TempFolder& folder) {
    const std::string path = folder.file("Vantrel.xml");
    settings::SettingsReader{path};
    return path;
}

void ReadingAccess(benchmark::State& state) {
    const testsupport::TempFolder folder("vantrel-bench-");
    const std::string path = freshDocument(folder);
    for (auto _ : state) {
        settings::SettingsReader s(path);
        benchmark::DoNotOptimize(s.read(keys::kStartMinimized));
        benchmark::DoNotOptimize(s.read(keys::kEnableFan));
        benchmark::DoNotOptimize(s.read(keys::kQuickSightLeft));
        benchmark::DoNotOptimize(s.read(keys::kQuickSightRight));
        benchmark::DoNotOptimize(s.read(keys::kHotKeyVirtualKey));
        benchmark::DoNotOptimize(s.read(keys::kHotKeyModifiers));
        benchmark::DoNotOptimize(s.read(keys::kScreenshotFolder));
        benchmark::DoNotOptimize(s.read(keys::kUpdateCheck));
        benchmark::DoNotOptimize(s.read(keys::kVersion));
    }
}
BENCHMARK(ReadingAccess);

void WritingAccess(benchmark::State& state) {
    const testsupport::TempFolder folder("vantrel-bench-");
    const std::string path = freshDocument(folder);
    int32_t value = 0;
    for (auto _ : state) {
        settings::SettingsWriter w(path);
        ++value;
        w.write(keys::kStartMinimized, value & 1);
        w.write(keys::kUpdateCheck, value % 5);
        for (const settings::keys::FanPointKeys& point : keys::kFanMapPoints) {
            w.write(point.temperature, value % 100);
            w.write(point.speed, value % 100);
        }
        w.write(keys::kFanMapForm, value & 1);
        w.write(keys::kUpdateTime, "1000");
        w.write(keys::kAutoSystem, value & 1);
        w.write(keys::kRefreshRate, "1000");
        w.write(keys::kLogToFile, false);
        w.write(keys::kLogToFilePath, "Vantrel.txt");
        for (const settings::keys::SensorKeys& sensor : keys::kMonitorSensors) {
            w.write(sensor.active, true);
            w.write(sensor.max, "100");
            w.write(sensor.min, "0");
        }
        w.write(keys::kQuickSightLeft, value % 6);
        w.write(keys::kQuickSightRight, value % 6);
        w.write(keys::kScreenshotFolder, ".");
        w.write(keys::kHotKeyVirtualKey, 0);
        w.write(keys::kHotKeyModifiers, 0);
        if (!w.save()) state.SkipWithError("save failed");
    }
}
BENCHMARK(WritingAccess);

}  // namespace

BENCHMARK_MAIN();
