// The two tuning panels as they open, drawn without a main window: nothing to
// dock to, the fan-curve state taken from the settings, nothing written.
#include "tuning/tuning_snapshots.h"

#include "skin/snapshots.h"
#include "tuning/clock_set_dlg.h"
#include "tuning/voltage_set_dlg.h"

namespace tuning {
namespace {

// Built before the panel, which keeps a reference to it.
struct LinkHolder {
    app::NoMainWindow link;
};

class ClockPanelSnapshot : private LinkHolder, public CClockSetDlg {
  public:
    ClockPanelSnapshot() : CClockSetDlg(link) {}
};

struct ClockPanelHolder {
    ClockPanelHolder() : clock(std::make_unique<ClockPanelSnapshot>()) { clock->Create(); }
    std::unique_ptr<ClockPanelSnapshot> clock;
};

// The voltage panel outlives nothing: it goes before the clock panel it reads.
class VoltagePanelSnapshot : private ClockPanelHolder, public CVoltageSetDlg {
  public:
    VoltagePanelSnapshot() : CVoltageSetDlg(*clock) {}
};

template <typename Panel>
std::unique_ptr<CDialogBase> build() {
    auto panel = std::make_unique<Panel>();
    if (!panel->Create()) return nullptr;
    return panel;
}

}  // namespace

void registerTuningSnapshots() {
    skin::registerSnapshot(QStringLiteral("clock_panel"), build<ClockPanelSnapshot>);
    skin::registerSnapshot(QStringLiteral("voltage_panel"), build<VoltagePanelSnapshot>);
}

}  // namespace tuning
