// The main window's settings button: the settings window, modal over it, acting
// on the main window through the few operations its commit needs.
#include "app/vantrel_dlg.h"
#include "platform/hot_key.h"
#include "setup/set_dlg.h"
#include "setup/settings_host.h"

namespace {

class MainWindowHost : public setup::SettingsHost {
  public:
    explicit MainWindowHost(CVantrelDlg& w) : m_w(w) {}
    bool ReadSettings(bool bStartup) override { return m_w.ReadSettings(bStartup); }
    void UpdateQuickSight(bool bSample) override { m_w.UpdateQuickSight(bSample); }
    void SetQuickSight(int side, int index) override {
        (side ? m_w.m_nRightSight : m_w.m_nLeftSight) = index;
    }
    void SetScreenshotFolder(const QString& folder) override { m_w.m_strScreenshotPath = folder; }
    bool RegisterScreenshotHotKey(int key, int flags) override {
        return m_w.RegisterScreenshotHotKey(key, flags);
    }
    void UnregisterScreenshotHotKey() override { m_w.RegisterScreenshotHotKey(0, 0); }
    CDialogBase* MonitorPanel() const override { return m_w.MonitorPanel(); }
    int FanControl() const override { return m_w.FanControl(); }
    void SetFanControl(int flag) override { m_w.SetFanControl(flag); }
    void SetFanAutoEnable(bool on) override { m_w.SetFanAutoEnable(on); }
    CDialogBase* ClockSetPanel() const override { return m_w.ClockSetPanel(); }

  private:
    CVantrelDlg& m_w;
};

}  // namespace

void CVantrelDlg::OpenSettings() {
    if (m_pSetDlg) return;
    MainWindowHost host(*this);
    setup::CSetDlg dlg(host, this);
    m_pSetDlg = &dlg;
    dlg.DoModal();
    m_pSetDlg = nullptr;
}

// The program is ending (tray menu, a signal): nothing may be committed after
// the close routine has handed the fan back.
void CVantrelDlg::CancelSettings() {
    if (m_pSetDlg) m_pSetDlg->EndDialog(IDCANCEL);
}
