// What the panels and the settings window may use of the main window, and no
// more. CVantrelDlg implements it; tests fake it. Header only: a panel library
// includes it (target vantrel_main_services) without linking the main window.
#pragma once

#include <QString>

class CDialogBase;

namespace app {

class MainWindowServices {
  public:
    // Fan-control flag values.
    static constexpr int kFanUnknown = -1;
    static constexpr int kFanOff = 0;
    static constexpr int kFanCurve = 1;

    virtual int FanControl() const = 0;
    virtual void SetFanControl(int flag) = 0;
    // The value EnableFan gets when the program closes.
    virtual bool FanAutoEnable() const = 0;
    virtual void SetFanAutoEnable(bool on) = 0;
    // Applies the settings document. false: re-reads the fan curve and starts,
    // restarts or stops the fan-curve timer by the fan-control flag.
    virtual bool ReadSettings(bool bStartup) = 0;

    // Quick-sight choices (0..5) of the left and right gauge.
    virtual int LeftSight() const = 0;
    virtual int RightSight() const = 0;
    virtual void SetQuickSight(int left, int right) = 0;
    // false: gauge ranges from the choices; true: sample both readouts.
    virtual void UpdateQuickSight(bool bSample) = 0;

    // Folder the screenshot file goes to.
    virtual QString ScreenshotFolder() const = 0;
    virtual void SetScreenshotFolder(const QString& folder) = 0;
    // Virtual key and hot-key control flags; a new combination replaces the old.
    virtual bool RegisterScreenshotHotKey(int virtualKey, int controlFlags) = 0;

    // The open panels, null when closed. The main window owns them.
    virtual CDialogBase* ClockSetPanel() const = 0;
    virtual CDialogBase* MonitorPanel() const = 0;
    virtual CDialogBase* GpuInfoPanel() const = 0;

  protected:
    ~MainWindowServices() = default;
};

}  // namespace app
