#include "info/gpu_info_snapshot.h"

#include "info/gpu_info_dlg.h"
#include "skin/snapshots.h"

namespace info {

void registerGpuInfoSnapshot() {
    skin::registerSnapshot(QStringLiteral("gpu_info_panel"), []() -> std::unique_ptr<CDialogBase> {
        // No parent: nothing to dock under, and the back button reports to no one.
        static app::NoMainWindow noMainWindow;
        auto panel = std::make_unique<CGpuInfoDlg>(noMainWindow);
        if (!panel->Create()) return nullptr;
        return panel;
    });
}

}  // namespace info
