// The settings window's "Fan" page: fan-curve control on or off, whether it
// comes on by itself at the next start, the curve's timer period and the curve
// editor. It stores nothing itself: the window's OK commits what it shows.
#pragma once

#include <QString>

#include "fan/fan_curve.h"
#include "setup/settings_page.h"

class CStaticFanCtl;
class QCheckBox;
class QLabel;

namespace platform {
class UpDownEdit;
}
namespace app {
class MainWindowServices;
}

class CFanDlg : public setup::CSettingsPage {
  public:
    enum : UINT {
        IDC_HEADING = 1008,
        IDC_ENABLE = 1012,
        IDC_AUTO_ENABLE = 1013,
        IDC_UPDATE_SPIN = 1018,
        IDC_UPDATE_TIME = 1019,
        IDC_PERIOD_LABEL = 1022,
        IDC_FAN_CURVE = 1025,
    };
    static constexpr int kMinPeriod = 100;
    static constexpr int kMaxPeriod = 60000;
    static constexpr int kPeriodStep = 100;

    // `main` is the main window, whose fan-control state the page shows.
    CFanDlg(platform::Window* dialog, app::MainWindowServices& main);

    // What the commit takes.
    bool FanControlEnabled() const;
    bool AutoEnable() const;
    QString UpdateTimeText() const;
    fan::FanCurve Curve() const;

    // Shows or hides everything that only matters while fan-curve control is on.
    void ShowCurveGroup(bool show);

    // Its child controls, for driving it as a user would (tests).
    QCheckBox* EnableBox() const { return m_chkEnable; }
    QCheckBox* AutoEnableBox() const { return m_chkAutoEnable; }
    QLabel* PeriodLabel() const { return m_lblPeriod; }
    platform::UpDownEdit* UpdateTimeSpin() const { return m_spinUpdateTime; }
    CStaticFanCtl* FanEditor() const { return m_ctlFan; }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    QCheckBox* m_chkEnable = nullptr;
    QCheckBox* m_chkAutoEnable = nullptr;
    QLabel* m_lblPeriod = nullptr;
    platform::UpDownEdit* m_spinUpdateTime = nullptr;
    CStaticFanCtl* m_ctlFan = nullptr;
    void Load();
    void OnEnableClicked();

    app::MainWindowServices& m_main;
};
