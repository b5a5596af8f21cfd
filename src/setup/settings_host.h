// What the settings window's commit changes in the main window.
#pragma once

#include <QString>

class CDialogBase;

namespace setup {

class SettingsHost {
  public:
    virtual ~SettingsHost() = default;
    virtual bool ReadSettings(bool bStartup) = 0;
    virtual void UpdateQuickSight(bool bSample) = 0;
    // side 0 left, 1 right; index 0..5.
    virtual void SetQuickSight(int side, int index) = 0;
    virtual void SetScreenshotFolder(const QString& folder) = 0;
    virtual bool RegisterScreenshotHotKey(int virtualKey, int controlFlags) = 0;
    virtual void UnregisterScreenshotHotKey() = 0;
    // The open monitor panel, null when closed.
    virtual CDialogBase* MonitorPanel() const = 0;
    // The fan-control flag (app::MainWindowServices::kFanUnknown, kFanOff,
    // kFanCurve), the value EnableFan gets at close, and the open clock panel
    // (null when closed), whose fan mode follows the flag.
    virtual int FanControl() const = 0;
    virtual void SetFanControl(int flag) = 0;
    virtual void SetFanAutoEnable(bool on) = 0;
    virtual CDialogBase* ClockSetPanel() const = 0;
};

}  // namespace setup
