// The voltage panel the clock panel opens beside itself: the core voltage and,
// behind a warning, the over-voltage. Only switching over-voltage off writes to
// the card from here; the clock panel's Apply and Default write the rest.
#pragma once

#include "skin/button_ex.h"
#include "skin/dialog_base.h"
#include "skin/super_sliders.h"

class CClockSetDlg;

enum : UINT {
    IDC_VOLTAGE_OVER_ON = 0,
    IDC_VOLTAGE_OVER_OFF = 1,
    IDC_VOLTAGE_SLIDER = 2000,
};
constexpr int kVoltagePanelWidth = 366;
constexpr int kVoltagePanelHeight = 288;
constexpr int kVoltagePanelOffsetX = 353;  // left of the clock panel
constexpr int kVoltagePanelOffsetY = 78;   // below its top
constexpr float kVoltageStep = 12.5f;      // mV

extern const char* const kOverVoltageWarning;

class CVoltageSetDlg : public CDialogBase {
  public:
    explicit CVoltageSetDlg(CClockSetDlg& clockPanel);

    // Docks the panel beside the clock panel.
    void PlaceVoltagePanel();
    // Reads both voltage ranges and values from the card.
    void LoadVoltageValues();

    // The controls the clock panel's Apply, profiles and lock drive.
    CSuperSliders& CoreVoltageSlider() { return m_sliderVoltageMin; }
    CSuperSliders& OverVoltageSlider() { return m_sliderVoltageMax; }
    CCheckButtonEx& OverVoltageOffButton() { return m_chkOverVoltageOff; }
    CCheckButtonEx& OverVoltageOnButton() { return m_chkOverVoltageOn; }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcHitTest(int, int) override { return HTCLIENT; }
    // Escape closes the panel through the clock panel, which owns it.
    void OnCancel() override;

  private:
    CSuperSliders m_sliderVoltageMin;
    CSuperSliders m_sliderVoltageMax;
    CCheckButtonEx m_chkOverVoltageOff;
    CCheckButtonEx m_chkOverVoltageOn;

    void SwitchOverVoltageOn();
    void SwitchOverVoltageOff();

    CClockSetDlg& m_clockPanel;
};
