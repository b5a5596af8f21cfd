#include "tuning/clock_set_dlg.h"

#include <QCoreApplication>
#include <array>

#include "gpu/readings.h"
#include "gpu/tuning.h"
#include "tuning/voltage_set_dlg.h"

namespace {

const QString kSliderFill = QStringLiteral("ImageRes/lockset_sliderfill.png");
const QString kSliderThumb = QStringLiteral("ImageRes/lockset_slider.png");

void createSlider(CSuperSliders& slider, CDialogBase* owner, UINT id, const RECT& rect) {
    slider.SetThumbImage(kSliderThumb);
    slider.Create(owner, id, rect, {}, kSliderFill);
}

// A range is only taken when it is one.
void setRangeIfValid(CSuperSliders& slider, float min, float max) {
    if (max >= min) slider.SetRange(min, max);
}

}  // namespace

CClockSetDlg::CClockSetDlg(app::MainWindowServices& mainWindow)
    : CDialogBase(QStringLiteral("ImageRes/lockset_main.png"), mainWindow.PanelOwner()),
      m_mainWindow(mainWindow) {
    setWindowTitle(QCoreApplication::translate("CClockSetDlg", "Overclocking"));
    resize(kClockPanelWidth, kClockPanelHeight);
}

CClockSetDlg::~CClockSetDlg() {
    if (m_pVoltageDlg) m_pVoltageDlg->DestroyWindow();
    m_pVoltageDlg.reset();
}

bool CClockSetDlg::OnInitDialog() {
    CreateControls();
    m_sliderGpuClock.SetTitle(QCoreApplication::translate("CClockSetDlg", "GPU Clock Offset,MHz"));
    m_sliderMemClock.SetTitle(QCoreApplication::translate("CClockSetDlg", "Memory Clock Offset,MHz"));
    m_sliderFan.SetTitle(QCoreApplication::translate("CClockSetDlg", "Fan Speed,%"));
    m_sliderPower.SetTitle(QCoreApplication::translate("CClockSetDlg", "Power Target,%"));
    m_sliderTemp.SetTitle(QCoreApplication::translate("CClockSetDlg", "GPU Temp Target,C"));
    LoadCurrentValues(true);
    PlacePanel();
    return true;
}

void CClockSetDlg::CreateControls() {
    m_btnClose.Create(this, IDC_CLOCK_CLOSE, RECT{27, 0, 57, 30}, {},
                      QStringLiteral("ImageRes/lockset_close.png"));
    m_btnApply.Create(this, IDC_CLOCK_APPLY, RECT{45, 597, 125, 624}, {},
                      QStringLiteral("ImageRes/lockset_apply.png"));
    m_btnDefault.Create(this, IDC_CLOCK_DEFAULT, RECT{157, 597, 237, 624}, {},
                        QStringLiteral("ImageRes/lockset_default.png"));
    m_btnCancel.Create(this, IDC_CLOCK_CANCEL, RECT{269, 597, 349, 624}, {},
                       QStringLiteral("ImageRes/lockset_cancel.png"));
    m_chkPriorityOn.Create(this, IDC_CLOCK_PRIORITY_ON, RECT{209, 553, 261, 580}, {},
                           QStringLiteral("ImageRes/lockset_no.png"));
    m_chkPriorityOff.Create(this, IDC_CLOCK_PRIORITY_OFF, RECT{278, 553, 330, 580}, {},
                            QStringLiteral("ImageRes/lockset_off.png"));
    m_chkLink.Create(this, IDC_CLOCK_LINK, RECT{342, 456, 355, 483}, {},
                     QStringLiteral("ImageRes/lockset_link.png"));
    MakeRadioGroup({&m_chkPriorityOn, &m_chkPriorityOff});
    m_chkLink.SetNoHover(true);
    m_chkLink.SetCheck(true);
    m_chkVoltage.Create(this, IDC_CLOCK_VOLTAGE, RECT{21, 175, 40, 268}, {},
                        QStringLiteral("ImageRes/lockset_voltage.png"));
    m_chkOne.Create(this, IDC_CLOCK_ONE, RECT{115, 636, 132, 652}, {},
                    QStringLiteral("ImageRes/lockset_one.png"));
    m_chkTwo.Create(this, IDC_CLOCK_TWO, RECT{142, 636, 159, 652}, {},
                    QStringLiteral("ImageRes/lockset_two.png"));
    m_chkThree.Create(this, IDC_CLOCK_THREE, RECT{169, 636, 186, 652}, {},
                      QStringLiteral("ImageRes/lockset_three.png"));
    m_btnSave.Create(this, IDC_CLOCK_SAVE, RECT{196, 636, 246, 652}, {},
                     QStringLiteral("ImageRes/lockset_save.png"));
    MakeRadioGroup({&m_chkOne, &m_chkTwo, &m_chkThree});
    m_btnSaveOne.Create(this, IDC_CLOCK_SAVE_ONE, RECT{256, 636, 273, 652}, {},
                        QStringLiteral("ImageRes/lockset_saveone.png"));
    m_btnSaveTwo.Create(this, IDC_CLOCK_SAVE_TWO, RECT{283, 636, 300, 652}, {},
                        QStringLiteral("ImageRes/lockset_savetwo.png"));
    m_btnSaveThree.Create(this, IDC_CLOCK_SAVE_THREE, RECT{310, 636, 327, 652}, {},
                          QStringLiteral("ImageRes/lockset_savethree.png"));
    ShowSaveButtons(false);
    m_chkFanAuto.Create(this, IDC_CLOCK_FAN_AUTO, RECT{48, 324, 126, 351}, {},
                        QStringLiteral("ImageRes/lockset_auto.png"));
    m_chkFanManual.Create(this, IDC_CLOCK_FAN_MANUAL, RECT{152, 324, 229, 351}, {},
                          QStringLiteral("ImageRes/lockset_manual.png"));
    m_chkFanUserDefine.Create(this, IDC_CLOCK_FAN_USER, RECT{255, 324, 333, 351}, {},
                              QStringLiteral("ImageRes/lockset_userdefine.png"));
    MakeRadioGroup({&m_chkFanAuto, &m_chkFanManual, &m_chkFanUserDefine});
    createSlider(m_sliderGpuClock, this, IDC_CLOCK_SLIDER, RECT{54, 55, 330, 102});
    createSlider(m_sliderMemClock, this, IDC_CLOCK_SLIDER, RECT{54, 160, 330, 207});
    createSlider(m_sliderFan, this, IDC_CLOCK_SLIDER, RECT{54, 266, 330, 314});
    createSlider(m_sliderPower, this, IDC_CLOCK_POWER, RECT{54, 399, 330, 445});
    createSlider(m_sliderTemp, this, IDC_CLOCK_TEMP, RECT{54, 506, 330, 552});
    // The captions are in the pictures and the background; assistive technology reads these.
    m_btnClose.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Close"));
    m_btnApply.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Apply"));
    m_btnDefault.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Default"));
    m_btnCancel.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Cancel"));
    m_chkPriorityOn.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Temperature priority on"));
    m_chkPriorityOff.SetAccessibleName(
        QCoreApplication::translate("CClockSetDlg", "Temperature priority off"));
    m_chkLink.SetAccessibleName(
        QCoreApplication::translate("CClockSetDlg", "Link power and temperature targets"));
    m_chkVoltage.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Voltage"));
    m_chkOne.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Profile 1"));
    m_chkTwo.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Profile 2"));
    m_chkThree.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Profile 3"));
    m_btnSave.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Save"));
    m_btnSaveOne.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Save to profile 1"));
    m_btnSaveTwo.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Save to profile 2"));
    m_btnSaveThree.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Save to profile 3"));
    m_chkFanAuto.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Fan mode Auto"));
    m_chkFanManual.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Fan mode Manual"));
    m_chkFanUserDefine.SetAccessibleName(QCoreApplication::translate("CClockSetDlg", "Fan mode User"));
}

void CClockSetDlg::ShowSaveButtons(bool show) {
    for (CButtonEx* b : {&m_btnSave, &m_btnSaveOne, &m_btnSaveTwo, &m_btnSaveThree})
        b->ShowControl(show ? SW_SHOW : SW_HIDE);
}

void CClockSetDlg::PlacePanel() {
    if (platform::Window* main = m_mainWindow.PanelOwner()) {
        const RECT r = main->GetWindowRect();
        SetWindowPos(r.left - kClockPanelOffset, r.top, kClockPanelWidth, kClockPanelHeight, SWP_SHOWWINDOW);
    }
    if (m_pVoltageDlg) m_pVoltageDlg->PlaceVoltagePanel();
}

void CClockSetDlg::LoadCurrentValues(bool bInit) {
    std::array<int32_t, 2> clocks{};
    gpu::readPstateClocks(clocks, gpu::globalContext(), false);
    const int32_t c = clocks[0], m = clocks[1];
    setRangeIfValid(m_sliderGpuClock, float(c - 502), float(c + 928));
    m_sliderGpuClock.SetPos(float(c));
    setRangeIfValid(m_sliderMemClock, float(m - 502), float(m + 1000));
    m_sliderMemClock.SetPos(float(m));
    m_last.memClock = m;
    m_last.gpuClock = c;

    std::array<int32_t, 4> fan{};
    gpu::readFanStatus(fan);
    setRangeIfValid(m_sliderFan, float(fan[0]), float(fan[1]));
    m_sliderFan.SetPos(float(bInit ? fan[2] : fan[0]));
    m_last.fanSpeed = fan[0];

    std::array<int32_t, 5> power{};
    if (gpu::readPowerStatus(power)) {
        setRangeIfValid(m_sliderPower, float(power[0]), float(power[1]));
        m_sliderPower.SetPos(float(power[3]));
    } else {
        m_sliderPower.Enable(false);
    }
    m_last.powerTarget = power[3];

    std::array<int32_t, 5> thermal{};
    gpu::readThermalPolicy(thermal);
    setRangeIfValid(m_sliderTemp, float(thermal[0]), float(thermal[2]));
    m_sliderTemp.SetPos(float(thermal[3]));
    m_last.tempTarget = thermal[3];
    (thermal[4] ? m_chkPriorityOn : m_chkPriorityOff).SetCheck(true);

    // A GPU whose driver keeps its fan to itself offers no fan mode: it shows the
    // driver's, whatever the stored curve choice.
    const bool fanControl = gpu::fanControllable();
    (LoadProfile(0) && fanControl ? m_chkFanUserDefine : m_chkFanAuto).SetCheck(true);
    m_sliderFan.Enable(false);
    for (CButtonEx* b : {&m_chkFanAuto, &m_chkFanManual, &m_chkFanUserDefine}) b->Enable(fanControl);
}

void CClockSetDlg::ReloadRanges() {
    const bool locked = m_bLocked;
    if (locked) LockAdjusting(false);
    LoadCurrentValues(true);
    if (m_pVoltageDlg) m_pVoltageDlg->LoadVoltageValues();
    if (locked) LockAdjusting(true);
    RedrawNow();
    if (m_pVoltageDlg) m_pVoltageDlg->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CClockSetDlg::SelectFanMode(bool fanCurve) {
    (fanCurve && gpu::fanControllable() ? m_chkFanUserDefine : m_chkFanAuto).SetCheck(true);
    RedrawNow();
}

std::vector<CButtonEx*> CClockSetDlg::AdjustingButtons() {
    std::vector<CButtonEx*> buttons = {&m_btnApply,       &m_btnDefault,      &m_btnCancel,  &m_chkPriorityOn,
                                       &m_chkPriorityOff, &m_chkLink,         &m_chkVoltage, &m_chkOne,
                                       &m_chkTwo,         &m_chkThree,        &m_btnSave,    &m_chkFanAuto,
                                       &m_chkFanManual,   &m_chkFanUserDefine};
    if (m_pVoltageDlg) {
        buttons.push_back(&m_pVoltageDlg->OverVoltageOffButton());
        buttons.push_back(&m_pVoltageDlg->OverVoltageOnButton());
    }
    return buttons;
}

std::vector<CSuperSliders*> CClockSetDlg::AdjustingSliders() {
    std::vector<CSuperSliders*> sliders = {&m_sliderGpuClock, &m_sliderMemClock, &m_sliderFan, &m_sliderPower,
                                           &m_sliderTemp};
    if (m_pVoltageDlg) {
        sliders.push_back(&m_pVoltageDlg->CoreVoltageSlider());
        sliders.push_back(&m_pVoltageDlg->OverVoltageSlider());
    }
    return sliders;
}

void CClockSetDlg::LockAdjusting(bool locked) {
    if (locked == m_bLocked) return;
    const std::vector<CButtonEx*> buttons = AdjustingButtons();
    const std::vector<CSuperSliders*> sliders = AdjustingSliders();
    if (locked) {
        m_buttonsEnabled.clear();
        m_slidersEnabled.clear();
        for (CButtonEx* b : buttons) {
            m_buttonsEnabled.push_back(b->IsEnabled());
            b->Enable(false);
        }
        for (CSuperSliders* s : sliders) {
            m_slidersEnabled.push_back(s->IsEnabled());
            s->Enable(false);
        }
    } else {
        // The voltage panel cannot open or close while locked (its button is
        // locked too), so the lists match the ones taken at locking.
        for (size_t i = 0; i < buttons.size(); ++i)
            buttons[i]->Enable(i < m_buttonsEnabled.size() ? m_buttonsEnabled[i] : true);
        for (size_t i = 0; i < sliders.size(); ++i)
            sliders[i]->Enable(i < m_slidersEnabled.size() ? m_slidersEnabled[i] : true);
    }
    m_bLocked = locked;
    RedrawNow();
    if (m_pVoltageDlg) m_pVoltageDlg->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CClockSetDlg::RedrawNow() {
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool CClockSetDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDC_CLOCK_CLOSE:
            if (platform::Window* main = m_mainWindow.PanelOwner())
                main->PostMessage(WM_COMMAND, ID_PANEL_CLOCK_CLOSED);
            break;
        case IDC_CLOCK_APPLY:
            Apply();
            break;
        case IDC_CLOCK_DEFAULT:
            RestoreDefaults();
            break;
        case IDC_CLOCK_ONE:
        case IDC_CLOCK_TWO:
        case IDC_CLOCK_THREE:
            LoadProfile(LOWORD(wParam) - IDC_CLOCK_ONE + 1);
            m_chkFanManual.SetCheck(true);
            RedrawNow();
            break;
        case IDC_CLOCK_SAVE:
            m_chkOne.SetCheck(false);
            m_chkTwo.SetCheck(false);
            m_chkThree.SetCheck(false);
            break;
        case IDC_CLOCK_SAVE_ONE:
        case IDC_CLOCK_SAVE_TWO:
        case IDC_CLOCK_SAVE_THREE:
            SaveProfile(LOWORD(wParam) - IDC_CLOCK_SAVE_ONE + 1);
            ShowSaveButtons(false);
            break;
        case IDC_CLOCK_CANCEL:
            CancelChanges();
            break;
        case IDC_CLOCK_FAN_AUTO:
        case IDC_CLOCK_FAN_USER:
            m_sliderFan.Enable(false);
            break;
        case IDC_CLOCK_FAN_MANUAL:
            m_sliderFan.Enable(true);
            break;
        case IDC_CLOCK_LINK:
        case IDC_CLOCK_POWER:
            FollowPowerTarget();
            break;
        case IDC_CLOCK_TEMP:
            FollowTemperatureTarget();
            break;
        case IDC_CLOCK_VOLTAGE:
            ToggleVoltagePanel();
            break;
        case ID_VOLTAGE_PANEL_CLOSED:
            CloseVoltagePanel();
            break;
        default:
            break;
    }
    return CDialogBase::OnCommand(wParam, lParam);
}

void CClockSetDlg::FollowPowerTarget() {
    if (!m_chkLink.GetCheck()) return;
    std::array<float, 2> out{};
    if (gpu::temperatureForPowerTarget(m_sliderPower.GetPos(), out)) m_sliderTemp.SetPos(out[1]);
}

void CClockSetDlg::FollowTemperatureTarget() {
    if (!m_chkLink.GetCheck()) return;
    std::array<float, 2> out{};
    if (gpu::powerForTemperatureTarget(m_sliderTemp.GetPos(), m_sliderPower.GetPos(), out))
        m_sliderPower.SetPos(out[0]);
}

void CClockSetDlg::ToggleVoltagePanel() {
    if (m_pVoltageDlg) {
        CloseVoltagePanel();
        return;
    }
    m_pVoltageDlg = std::make_unique<CVoltageSetDlg>(*this);
    m_pVoltageDlg->Create();
    m_pVoltageDlg->ShowWindow(SW_SHOW);
    m_pVoltageDlg->SetForegroundWindow();
}

void CClockSetDlg::CloseVoltagePanel() {
    if (!m_pVoltageDlg || m_pVoltageDlg->DeferClose(this, ID_VOLTAGE_PANEL_CLOSED)) return;
    m_pVoltageDlg->DestroyWindow();
    m_pVoltageDlg.reset();
    m_chkVoltage.SetCheck(false);
    RedrawNow();
}

bool CClockSetDlg::DeferClose(platform::Window* target, UINT command) {
    if (m_pVoltageDlg && m_pVoltageDlg->Asking()) return m_pVoltageDlg->DeferClose(target, command);
    return CDialogBase::DeferClose(target, command);
}

void CClockSetDlg::OnCancel() {
    if (platform::Window* main = m_mainWindow.PanelOwner())
        main->PostMessage(WM_COMMAND, ID_PANEL_CLOCK_CLOSED);
}
