// What the main-window benchmarks share: the simulated card with frozen time, the
// runtime folder as working directory (pictures and font), a settings folder of
// their own, and the card the GPU layer reads.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"
#include "settings/settings_location.h"

namespace bench {

struct Card {
    Card() : scope(context) {}
    gpu::GpuContext context;
    gpu::GlobalContextScope scope;
};

// Before QApplication: sets the environment up; ok() is false when it could not.
class MainWindowEnvironment {
  public:
    MainWindowEnvironment() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("VANTREL_SIM_FROZEN", "1", 0);
        unsetenv("VANTREL_SIM_TRACE");
        gpu::DriverBinding::setLibraryPath(SIM_DRIVER_PATH);
        m_ok = chdir(RUNTIME_DIR) == 0 && mkdtemp(m_dir) != nullptr;
        if (m_ok) settings::setDocumentFolder(m_dir);
    }
    ~MainWindowEnvironment() {
        if (!m_ok) return;
        std::remove((std::string(m_dir) + "/Vantrel.xml").c_str());
        rmdir(m_dir);
    }
    MainWindowEnvironment(const MainWindowEnvironment&) = delete;
    MainWindowEnvironment& operator=(const MainWindowEnvironment&) = delete;
    bool ok() const { return m_ok; }

  private:
    char m_dir[32] = "/tmp/vantrel-bench-XXXXXX";
    bool m_ok = false;
};

// The whole main() of a main-window benchmark: the environment, the GPU layer's
// progress lines to /dev/null (fully buffered), and the figures to stderr.
inline int runMainWindowBenchmarks(int argc, char** argv) {
    MainWindowEnvironment environment;
    if (!environment.ok()) return 1;
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
