#include "monitor/monitor_snapshot.h"

#include "gpu/driver_binding.h"
#include "monitor/monitor_dlg.h"
#include "skin/snapshots.h"

namespace monitor {
namespace {

constexpr int kSamples = 180;
constexpr std::time_t kStart = 1361783103;  // an afternoon's local time, whatever the zone

// Moves the simulated card's time on; a real card's driver has no such hook.
void advanceCard(double seconds) {
    using Advance = void (*)(double);
    if (auto advance = reinterpret_cast<Advance>(gpu::DriverBinding::librarySymbol("vantrel_sim_advance")))
        advance(seconds);
}

std::unique_ptr<CDialogBase> buildMonitorPanel() {
    std::time_t now = kStart;
    static app::NoMainWindow noMainWindow;
    auto panel = std::make_unique<CMonitorDlg>(noMainWindow, [&now] { return now; });
    if (!panel->Create()) return nullptr;
    panel->KillTimer(kMonitorSampleTimer);
    // The snapshot never writes the log.
    panel->SetLogging(false, panel->LogPath());
    for (int i = 0; i < kSamples; ++i) {
        panel->SampleStep();
        advanceCard(1.0);
        ++now;
    }
    return panel;
}

}  // namespace

void registerMonitorSnapshot() {
    skin::registerSnapshot(QStringLiteral("monitor_panel"), buildMonitorPanel);
}

}  // namespace monitor
