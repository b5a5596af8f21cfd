// The main window as panels and the settings window see it, for tests: state
// they can set and read, and a log of what was asked, as "name=value;" entries.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "services/main_window_services.h"

namespace testsupport {

class FakeMainWindow : public app::MainWindowServices {
  public:
    platform::Window* PanelOwner() override { return owner; }
    int FanControl() const override { return fanControl; }
    void SetFanControl(int flag) override {
        fanControl = flag;
        calls += "fan=" + std::to_string(flag) + ";";
    }
    bool FanAutoEnable() const override { return fanAutoEnable; }
    void SetFanAutoEnable(bool on) override {
        fanAutoEnable = on;
        calls += std::string("auto=") + (on ? "1;" : "0;");
    }
    bool ReadSettings(bool bStartup) override {
        calls += bStartup ? "read(true);" : "read(false);";
        return true;
    }
    int QuickSight(int side) const override { return sights[side ? 1 : 0]; }
    void SetQuickSight(int side, int index) override {
        sights[side ? 1 : 0] = index;
        calls += (side ? "right=" : "left=") + std::to_string(index) + ";";
    }
    void UpdateQuickSight(bool bSample) override { calls += bSample ? "sample;" : "ranges;"; }
    QString ScreenshotFolder() const override { return folder; }
    void SetScreenshotFolder(const QString& f) override {
        folder = f;
        calls += "folder=" + f.toStdString() + ";";
    }
    bool RegisterScreenshotHotKey(int key, int flags) override {
        calls += "hotkey=" + std::to_string(key) + "," + std::to_string(flags) + ";";
        return true;
    }
    void UnregisterScreenshotHotKey() override { calls += "unregister;"; }
    void GpuChanging() override {
        if (gpuChanging) gpuChanging();
    }
    void GpuChanged() override {
        if (gpuChanged) gpuChanged();
    }
    void ShowFanMode(bool fanCurve) override {
        if (showFanMode) showFanMode(fanCurve);
    }
    void RetuneMonitor(const monitor::MonitorSettings& settings) override {
        if (retuneMonitor) retuneMonitor(settings);
    }
    void CheckForUpdateNow(QWidget& owner) override {
        if (checkForUpdateNow) checkForUpdateNow(owner);
    }
    CDialogBase* ClockSetPanel() const override { return clockPanel; }
    CDialogBase* MonitorPanel() const override { return monitorPanel; }
    CDialogBase* GpuInfoPanel() const override { return gpuInfoPanel; }

    platform::Window* owner = nullptr;
    int fanControl = kFanUnknown;
    bool fanAutoEnable = false;
    int sights[2] = {0, 2};
    QString folder;
    CDialogBase* clockPanel = nullptr;
    CDialogBase* monitorPanel = nullptr;
    CDialogBase* gpuInfoPanel = nullptr;
    std::function<void()> gpuChanging;
    std::function<void()> gpuChanged;
    // What the main window does with an open panel; tests with a real panel set them.
    std::function<void(bool)> showFanMode;
    std::function<void(const monitor::MonitorSettings&)> retuneMonitor;
    std::function<void(QWidget&)> checkForUpdateNow;
    std::string calls;
};

}  // namespace testsupport
