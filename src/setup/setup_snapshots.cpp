#include "setup/setup_snapshots.h"

#include "services/main_window_services.h"
#include "setup/set_dlg.h"
#include "skin/snapshots.h"

namespace setup {
namespace {

// The pages with a picture, and the picture's name.
constexpr struct {
    CSetDlg::Tab tab;
    const char* name;
} kPictures[] = {
    {CSetDlg::kGeneral, "settings_general"},
    {CSetDlg::kFan, "settings_fan"},
    {CSetDlg::kMonitoring, "settings_monitoring"},
    {CSetDlg::kBios, "settings_bios"},
    {CSetDlg::kQuickSight, "settings_quick_sight"},
    {CSetDlg::kUi, "settings_ui"},
    {CSetDlg::kAbout, "settings_about"},
};

QImage picture(CSetDlg::Tab tab) {
    // The curve on, so the Fan page shows its curve.
    static app::NoMainWindow noMainWindow(app::MainWindowServices::kFanCurve);
    CSetDlg window(noMainWindow);
    if (!window.Create()) return {};
    window.SelectTab(tab);
    return window.grab().toImage();
}

}  // namespace

void registerSettingsSnapshots() {
    for (const auto& p : kPictures)
        skin::registerPictureSnapshot(QString::fromLatin1(p.name), [tab = p.tab] { return picture(tab); });
}

}  // namespace setup
