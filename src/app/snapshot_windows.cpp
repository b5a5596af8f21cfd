#include "app/snapshot_windows.h"

#include "app/startup.h"
#include "app/update_checker.h"
#include "app/vantrel_dlg.h"
#include "fan/gpu_fan_io.h"
#include "info/gpu_info_snapshot.h"
#include "monitor/monitor_snapshot.h"
#include "setup/setup_snapshots.h"
#include "skin/snapshots.h"
#include "tuning/tuning_snapshots.h"

namespace app {
namespace {

// Reads the card as the fan curve does and writes nothing: should the settings
// turn the curve on, its ticks leave the fan to the driver, so there is nothing
// to hand back.
class ReadOnlyFanIo : public fan::FanIo {
  public:
    int32_t readGpuTemperature(int32_t out[3]) override { return m_card.readGpuTemperature(out); }
    void setFanLevel(int32_t) override {}
    bool restoreFanDefault() override { return true; }

  private:
    fan::GpuFanIo m_card;
};

// Built before the window, which keeps a reference to it.
struct ReadOnlyFanHolder {
    ReadOnlyFanIo fanIo;
};

// The main window as it starts, with both gauges sampled once. It never runs its
// close routine, so the settings document is not written.
class MainWindowSnapshot : private ReadOnlyFanHolder, public CVantrelDlg {
  public:
    MainWindowSnapshot() : CVantrelDlg(&fanIo) {}
};

std::unique_ptr<CDialogBase> buildMainWindow() {
    auto window = std::make_unique<MainWindowSnapshot>();
    if (!window->Create()) return nullptr;
    window->UpdateQuickSight(true);
    return window;
}

}  // namespace

void registerWindowSnapshots() {
    skin::registerSnapshot(QStringLiteral("main_window"), buildMainWindow);
    info::registerGpuInfoSnapshot();
    monitor::registerMonitorSnapshot();
    setup::registerSettingsSnapshots();
    tuning::registerTuningSnapshots();
}

int runSnapshots(const std::string& dir, std::FILE* err) {
    registerWindowSnapshots();
    UpdateCheckOptions noCheck = defaultUpdateCheckOptions();
    noCheck.checkAtStart = false;
    setDefaultUpdateCheckOptions(noCheck);
    int result = 1;  // stays 1 when the driver is missing (the start-up text went to stderr)
    runApplication([&] {
        QString reason;
        if (skin::renderSnapshots(QString::fromStdString(dir), &reason)) {
            result = 0;
        } else {
            std::fprintf(err, "vantrel: snapshot: %s\n", reason.toLocal8Bit().constData());
        }
    });
    return result;
}

}  // namespace app
