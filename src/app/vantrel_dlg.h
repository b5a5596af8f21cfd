// The program's main window: the eye, two quick-sight gauges, the caption and
// panel buttons; it applies the settings, drives the fan curve, and owns the
// tray icon, the screenshot hot key and the panels it opens.
#pragma once

#include <QIcon>
#include <QString>
#include <memory>

#include "fan/fan_curve_controller.h"
#include "fan/gpu_fan_io.h"
#include "services/main_window_services.h"
#include "skin/animation.h"
#include "skin/button_ex.h"
#include "skin/dialog_base.h"
#include "skin/progressbar.h"
#include "tuning/clock_set_dlg.h"

namespace platform {
class GlobalHotKey;
class TrayIcon;
}  // namespace platform

// Control and command IDs.
enum : UINT {
    IDC_MAIN_CLOSE = 3000,
    IDC_MAIN_MIN = 3001,
    IDC_MAIN_SET = 3002,
    IDC_MAIN_CLOCKLOCK = 3003,
    IDC_MAIN_GPUINFO = 3005,
    IDC_MAIN_CUSTOMIZE = 3006,
    IDC_MAIN_MONITOR = 3007,
    IDC_MAIN_EYE = 3008,
    IDC_MAIN_BAR_LEFT = 2001,
    IDC_MAIN_BAR_RIGHT = 2002,
    ID_TRAY_CLOSE = 32772,
    ID_TRAY_SHOW = 32773,
};
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 100;
constexpr UINT kTrayIconId = 4000;
constexpr UINT kEyeTimer = 500;
constexpr UINT kEyePeriodMs = 150;
constexpr UINT kFanTimer = 10;
constexpr int kMainWidth = 475;
constexpr int kMainHeight = 440;

class CVantrelDlg : public CDialogBase, public app::MainWindowServices {
  public:
    // A second start of the program: shown (out of the tray too) and brought to the front.
    void RaiseForAnotherStart();
    // `fanIo` reaches the card for the fan curve; the GPU layer when null.
    explicit CVantrelDlg(fan::FanIo* fanIo = nullptr);
    ~CVantrelDlg() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Everything at start, the fan curve only after.
    bool ReadSettings(bool bStartup) override;
    void UpdateQuickSight(bool bSample) override;
    // The close routine: fan back to the driver, EnableFan written, font removed.
    bool ExitCleanup();
    // Adds or removes the notification-area icon.
    void SetTrayIcon(bool bAdd);
    bool RegisterScreenshotHotKey(int virtualKey, int controlFlags) override;
    // Runs the settings window modally; closing the main window cancels it.
    void OpenSettings();
    void CancelSettings();
    // One tick of timer 10.
    void FanCurveStep() { m_fanController.step(); }
    // Around the information panel's change of the GPU in use: the fan curve
    // hands the old GPU's fan back first; afterwards the open panels that keep
    // values of the GPU catch up.
    void GpuChanging() override;
    void GpuChanged() override;
    void ShowFanMode(bool fanCurve) override;
    void RetuneMonitor(const monitor::MonitorSettings& settings) override;
    void CheckForUpdateNow(QWidget& owner) override;

    int FanControl() const override { return m_nFanControl; }
    void SetFanControl(int flag) override { m_nFanControl = flag; }
    bool FanAutoEnable() const override { return m_bFanAutoEnable; }
    void SetFanAutoEnable(bool on) override { m_bFanAutoEnable = on; }
    platform::Window* PanelOwner() override { return this; }
    int QuickSight(int side) const override { return side ? m_nRightSight : m_nLeftSight; }
    void SetQuickSight(int side, int index) override;
    QString ScreenshotFolder() const override { return m_strScreenshotPath; }
    void SetScreenshotFolder(const QString& folder) override { m_strScreenshotPath = folder; }
    void UnregisterScreenshotHotKey() override { RegisterScreenshotHotKey(0, 0); }
    CClockSetDlg* ClockSetPanel() const override { return m_pClockSetDlg.get(); }
    CDialogBase* MonitorPanel() const override { return m_pMonitorDlg.get(); }
    CDialogBase* GpuInfoPanel() const override { return m_pGpuInfoDlg.get(); }

    const fan::FanCurve& FanCurve() const { return m_fanController.curve(); }
    const platform::TrayIcon* Tray() const { return m_tray.get(); }
    const platform::GlobalHotKey* HotKey() const { return m_hotKey.get(); }
    // What the window shows, for reading.
    const CAnimation& Eye() const { return m_animEye; }
    const CProgressbar& Gauge(int side) const { return side ? m_barRight : m_barLeft; }
    const CCheckButtonEx& ClockLockButton() const { return m_chkClockLock; }
    bool HiddenToTray() const { return m_bHidden; }
    bool FanTimerRunning() const { return m_bFanTimer; }

    // Tests and benchmarks that must set up what no message can reach the
    // members through this; it is defined by them.
    friend struct CVantrelDlgProbe;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSysCommand(WPARAM code, LPARAM lParam) override;
    // Escape takes the close path, so the fan always goes back to the driver.
    void OnCancel() override { SendMessage(WM_CLOSE); }
    // An open message box is closed too, so it never holds up the end.
    void OnClose() override;
    // The eye and the readouts it samples run only while the window can be seen;
    // seen again, the readouts are sampled at once.
    void OnSeenChange(bool seen) override;

  private:
    void CreateControls();
    void OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void TakeScreenshot();
    void DockPanels();
    void OpenGpuInfo();
    void HideToTray();
    void RestoreFromTray();
    bool ConfirmOverclocking();
    void OpenMonitor();
    void OpenClockPanel();

    QString m_strScreenshotPath;
    CAnimation m_animEye;
    CButtonEx m_btnClose, m_btnMin, m_btnSet;
    CCheckButtonEx m_chkClockLock;
    CButtonEx m_btnGpuInfo, m_btnCustomize, m_btnMonitor;
    CProgressbar m_barLeft, m_barRight;
    // The open panels (null when closed); owned.
    std::unique_ptr<CDialogBase> m_pGpuInfoDlg;
    std::unique_ptr<CClockSetDlg> m_pClockSetDlg;
    std::unique_ptr<CDialogBase> m_pMonitorDlg;
    int32_t m_nUpdateTime = 0;
    bool m_bHidden = false;
    bool m_bCloseToTray = false;
    int m_nLeftSight = 0;
    int m_nRightSight = 0;
    int m_nFanControl = kFanUnknown;
    bool m_bFanAutoEnable = false;
    bool m_bFanTimer = false;
    QIcon m_hIcon;
    fan::GpuFanIo m_gpuFanIo;
    fan::FanIo& m_fanIo;
    fan::FanCurveController m_fanController;
    std::unique_ptr<platform::TrayIcon> m_tray;
    std::unique_ptr<platform::GlobalHotKey> m_hotKey;
    bool m_bHotKeyUnavailableSaid = false;  // the desktop offers no global hot key: said once
    bool screenshotPending_ = false;        // a portal screenshot awaits its answer
    platform::Window* m_pSetDlg = nullptr;  // while the settings window runs
    bool m_bSampling = false;
    bool m_bConfirming = false;
};

// The warning before the clock panel opens.
extern const char* const kOverclockWarningText;
extern const char* const kOverclockWarningCaption;
