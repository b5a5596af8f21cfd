// What the main-window benchmarks share: the simulated card with frozen time, the
// runtime folder as working directory (pictures and font), a settings folder of
// their own, and the card the GPU layer reads.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

}  // namespace bench
