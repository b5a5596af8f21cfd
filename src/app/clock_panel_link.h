// The main window as the tuning panels see it.
#pragma once

#include "tuning/main_window_link.h"

class CVantrelDlg;

namespace app {

class ClockPanelLink : public tuning::MainWindowLink {
  public:
    explicit ClockPanelLink(CVantrelDlg& main) : m_main(main) {}
    platform::Window* Window() const override;
    int FanControl() const override;
    void SetFanControl(int flag) override;
    void ApplyFanControl() override;
    void ClearFanAutoStart() override;

  private:
    CVantrelDlg& m_main;
};

}  // namespace app
