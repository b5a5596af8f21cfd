// What the panels and the settings window may use of the main window, and no
// more. CVantrelDlg implements it; tests fake it. Header only: a panel library
// includes it (target vantrel_main_services) without linking the main window.
#pragma once

#include <QString>

class CDialogBase;
class QWidget;
namespace platform {
class Window;
}
namespace monitor {
struct MonitorSettings;
}

// The commands a panel posts to PanelOwner() to be closed.
enum PanelClosedCommand : unsigned {
    ID_PANEL_GPUINFO_CLOSED = 1025,
    ID_PANEL_CLOCK_CLOSED = 1026,
    ID_PANEL_MONITOR_CLOSED = 1027,
};

namespace app {

class MainWindowServices {
  public:
    // Fan-control flag values.
    static constexpr int kFanUnknown = -1;
    static constexpr int kFanOff = 0;
    static constexpr int kFanCurve = 1;

    // The window panels are owned by, dock beside and post their close command
    // to; null where a panel stands alone.
    virtual platform::Window* PanelOwner() = 0;

    virtual int FanControl() const = 0;
    virtual void SetFanControl(int flag) = 0;
    // The value EnableFan gets when the program closes.
    virtual bool FanAutoEnable() const = 0;
    virtual void SetFanAutoEnable(bool on) = 0;
    // Applies the settings document. false: re-reads the fan curve and starts,
    // restarts or stops the fan-curve timer by the fan-control flag.
    virtual bool ReadSettings(bool bStartup) = 0;

    // Quick-sight choices (0..5) of the left (side 0) and right (side 1) gauge.
    virtual int QuickSight(int side) const = 0;
    virtual void SetQuickSight(int side, int index) = 0;
    // false: gauge ranges from the choices; true: sample both readouts.
    virtual void UpdateQuickSight(bool bSample) = 0;

    // Folder the screenshot file goes to.
    virtual QString ScreenshotFolder() const = 0;
    virtual void SetScreenshotFolder(const QString& folder) = 0;
    // Virtual key and hot-key control flags; a new combination replaces the old.
    virtual bool RegisterScreenshotHotKey(int virtualKey, int controlFlags) = 0;
    virtual void UnregisterScreenshotHotKey() = 0;

    // Around a change of the GPU in use: before it, whatever drives the old GPU
    // lets go of it; after it, open panels holding values of the GPU re-read them.
    virtual void GpuChanging() = 0;
    virtual void GpuChanged() = 0;

    // A settings commit reaching the open panels: the clock panel shows the fan
    // mode, the monitor panel takes the new settings (its history kept).
    virtual void ShowFanMode(bool fanCurve) = 0;
    virtual void RetuneMonitor(const monitor::MonitorSettings& settings) = 0;
    // "Check now": the update check at once, its offer owned by `owner`.
    virtual void CheckForUpdateNow(QWidget& owner) = 0;

    // The open panels, null when closed. The main window owns them.
    virtual CDialogBase* ClockSetPanel() const = 0;
    virtual CDialogBase* MonitorPanel() const = 0;
    virtual CDialogBase* GpuInfoPanel() const = 0;

  protected:
    ~MainWindowServices() = default;
};

// Stands in for the main window where a panel or the settings window is drawn
// alone (snapshots, benchmarks): no owner, nothing open, every change dropped.
class NoMainWindow : public MainWindowServices {
  public:
    explicit NoMainWindow(int fanControl = kFanUnknown) : m_fanControl(fanControl) {}
    platform::Window* PanelOwner() override { return nullptr; }
    int FanControl() const override { return m_fanControl; }
    void SetFanControl(int) override {}
    bool FanAutoEnable() const override { return false; }
    void SetFanAutoEnable(bool) override {}
    bool ReadSettings(bool) override { return true; }
    int QuickSight(int) const override { return 0; }
    void SetQuickSight(int, int) override {}
    void UpdateQuickSight(bool) override {}
    QString ScreenshotFolder() const override { return {}; }
    void SetScreenshotFolder(const QString&) override {}
    bool RegisterScreenshotHotKey(int, int) override { return false; }
    void UnregisterScreenshotHotKey() override {}
    void GpuChanging() override {}
    void GpuChanged() override {}
    void ShowFanMode(bool) override {}
    void RetuneMonitor(const monitor::MonitorSettings&) override {}
    void CheckForUpdateNow(QWidget&) override {}
    CDialogBase* ClockSetPanel() const override { return nullptr; }
    CDialogBase* MonitorPanel() const override { return nullptr; }
    CDialogBase* GpuInfoPanel() const override { return nullptr; }

  private:
    int m_fanControl;
};

}  // namespace app
