#include "setup/setup_snapshots.h"

#include "setup/set_dlg.h"
#include "setup/settings_host.h"
#include "skin/snapshots.h"

namespace setup {
namespace {

// A main window the settings window is never committed to.
class NoMainWindow : public SettingsHost {
  public:
    bool ReadSettings(bool) override { return true; }
    void UpdateQuickSight(bool) override {}
    void SetQuickSight(int, int) override {}
    void SetScreenshotFolder(const QString&) override {}
    bool RegisterScreenshotHotKey(int, int) override { return false; }
    void UnregisterScreenshotHotKey() override {}
    CDialogBase* MonitorPanel() const override { return nullptr; }
    // The curve on, so the Fan page shows its curve.
    int FanControl() const override { return 1; }
    void SetFanControl(int) override {}
    void SetFanAutoEnable(bool) override {}
    CDialogBase* ClockSetPanel() const override { return nullptr; }
};

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
    static NoMainWindow noMainWindow;
    CSetDlg window(noMainWindow, nullptr);
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
