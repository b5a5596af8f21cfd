// The overclocking panel docked at the main window's left edge: five sliders
// (GPU and memory clock, fan, power and temperature target), the fan mode, the
// temperature priority, the power-temperature link, three profiles, and the
// button that opens the voltage panel. Values are read from the card when it
// opens; nothing is written until Apply is confirmed or Default is pressed.
#pragma once

#include <memory>
#include <vector>

#include "services/main_window_services.h"
#include "skin/button_ex.h"
#include "skin/dialog_base.h"
#include "skin/super_sliders.h"

class CVoltageSetDlg;

// Control IDs.
enum : UINT {
    IDC_CLOCK_CLOSE = 3000,
    IDC_CLOCK_APPLY = 3001,
    IDC_CLOCK_DEFAULT = 3002,
    IDC_CLOCK_ONE = 3003,
    IDC_CLOCK_TWO = 3004,
    IDC_CLOCK_THREE = 3005,
    IDC_CLOCK_SAVE = 3006,
    IDC_CLOCK_SAVE_ONE = 3007,
    IDC_CLOCK_SAVE_TWO = 3008,
    IDC_CLOCK_SAVE_THREE = 3009,
    IDC_CLOCK_CANCEL = 3010,
    IDC_CLOCK_FAN_AUTO = 3011,
    IDC_CLOCK_FAN_MANUAL = 3012,
    IDC_CLOCK_FAN_USER = 3013,
    IDC_CLOCK_PRIORITY_ON = 3014,
    IDC_CLOCK_PRIORITY_OFF = 3015,
    IDC_CLOCK_LINK = 3016,
    IDC_CLOCK_VOLTAGE = 3017,
    IDC_CLOCK_TEMP = 3018,
    IDC_CLOCK_POWER = 3019,
    ID_VOLTAGE_PANEL_CLOSED = 3020,  // posted by the voltage panel on Escape
    IDC_CLOCK_SLIDER = 2000,         // GPU clock, memory clock and fan sliders alike
};
constexpr int kClockPanelWidth = 379;
constexpr int kClockPanelHeight = 671;
constexpr int kClockPanelOffset = 358;  // left of the main window

extern const char* const kApplyQuestion;
extern const char* const kApplyCaption;

class CClockSetDlg : public CDialogBase {
  public:
    explicit CClockSetDlg(app::MainWindowServices& mainWindow);
    ~CClockSetDlg() override;

    // Docks the panel (and an open voltage panel) beside the main window.
    void PlacePanel();
    // Reads every value and range from the card; bInit keeps the current fan
    // level, otherwise the fan slider goes to the driver's minimum.
    void LoadCurrentValues(bool bInit);
    // 0: whether the fan curve is on. 1..3: loads that profile into the sliders.
    bool LoadProfile(int nType);
    // 0: the fan curve is not to start by itself. 1..3: stores the sliders.
    void SaveProfile(int nType);

    // The GPU in use changed: every value and range is read again, from the new
    // card, for this panel and an open voltage panel. Writes nothing.
    void ReloadRanges();
    // The settings window changed the fan-curve choice: shows User define or Auto.
    void SelectFanMode(bool fanCurve);
    // The main window's clock lock: disables or re-enables every adjusting
    // control here and on the voltage panel. Unlocking gives each control back
    // the state it had when locked.
    void LockAdjusting(bool locked);
    bool IsLocked() const { return m_bLocked; }

    CVoltageSetDlg* VoltagePanel() const { return m_pVoltageDlg.get(); }

    // The voltage panel's questions hold this panel's close too.
    bool DeferClose(platform::Window* target, UINT command) override;

    // What the card was last given or read back: what Cancel returns the sliders to.
    struct LastValues {
        int32_t gpuClock = 0;
        int32_t memClock = 0;
        int32_t fanSpeed = 0;
        int32_t powerTarget = 0;
        int32_t tempTarget = 0;
        float voltageMin = 0;
        float voltageMax = 0;
    };
    const LastValues& Last() const { return m_last; }
    // The voltage panel read its values from the card.
    void RememberVoltageMin(float mV) { m_last.voltageMin = mV; }
    void RememberVoltageMax(float mV) { m_last.voltageMax = mV; }

    // Its child controls, for driving it as a user would (tests).
    CButtonEx& CloseButton() { return m_btnClose; }
    CButtonEx& ApplyButton() { return m_btnApply; }
    CCheckButtonEx& PriorityOnButton() { return m_chkPriorityOn; }
    CCheckButtonEx& PriorityOffButton() { return m_chkPriorityOff; }
    CCheckButtonEx& LinkButton() { return m_chkLink; }
    CCheckButtonEx& ProfileOneButton() { return m_chkOne; }
    CCheckButtonEx& ProfileTwoButton() { return m_chkTwo; }
    CCheckButtonEx& ProfileThreeButton() { return m_chkThree; }
    CButtonEx& SaveButton() { return m_btnSave; }
    CButtonEx& SaveOneButton() { return m_btnSaveOne; }
    CButtonEx& SaveTwoButton() { return m_btnSaveTwo; }
    CButtonEx& SaveThreeButton() { return m_btnSaveThree; }
    CCheckButtonEx& FanAutoButton() { return m_chkFanAuto; }
    CCheckButtonEx& FanManualButton() { return m_chkFanManual; }
    CCheckButtonEx& FanUserDefineButton() { return m_chkFanUserDefine; }
    CSuperSlidersStepping& GpuClockSlider() { return m_sliderGpuClock; }
    CSuperSlidersStepping& MemClockSlider() { return m_sliderMemClock; }
    CSuperSliders& FanSlider() { return m_sliderFan; }
    CSuperSliders& PowerSlider() { return m_sliderPower; }
    CSuperSliders& TempSlider() { return m_sliderTemp; }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The panel follows the main window and is never dragged on its own.
    LRESULT OnNcHitTest(int, int) override { return HTCLIENT; }
    // Escape is the close button (the voltage panel goes with the panel).
    void OnCancel() override;

  private:
    CButtonEx m_btnClose, m_btnApply, m_btnDefault, m_btnCancel;
    CCheckButtonEx m_chkPriorityOn, m_chkPriorityOff;
    CCheckButtonEx m_chkLink, m_chkVoltage;
    CCheckButtonEx m_chkOne, m_chkTwo, m_chkThree;
    CButtonEx m_btnSave, m_btnSaveOne, m_btnSaveTwo, m_btnSaveThree;
    CCheckButtonEx m_chkFanAuto, m_chkFanManual, m_chkFanUserDefine;
    CSuperSlidersStepping m_sliderGpuClock, m_sliderMemClock;
    CSuperSliders m_sliderFan, m_sliderPower, m_sliderTemp;
    LastValues m_last;
    void CreateControls();
    void Apply();
    void RestoreDefaults();
    void CancelChanges();
    // One clock slider: offset from the base clock, then the read-back.
    void ApplyClock(CSuperSliders& slider, int32_t& last, int which);
    void ApplyVoltage();
    void ApplyFanMode();
    void ShowSaveButtons(bool show);
    void ToggleVoltagePanel();
    void CloseVoltagePanel();
    void FollowPowerTarget();
    void FollowTemperatureTarget();
    void RedrawNow();
    // The controls the clock lock acts on, here and on an open voltage panel.
    std::vector<CButtonEx*> AdjustingButtons();
    std::vector<CSuperSliders*> AdjustingSliders();

    app::MainWindowServices& m_mainWindow;
    std::unique_ptr<CVoltageSetDlg> m_pVoltageDlg;
    bool m_bLocked = false;
    std::vector<bool> m_buttonsEnabled, m_slidersEnabled;  // as they were when locked
};
