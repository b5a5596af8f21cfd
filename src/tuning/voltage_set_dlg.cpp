#include "tuning/voltage_set_dlg.h"

#include <QCoreApplication>
#include <array>

#include "gpu/tuning.h"
#include "tuning/clock_set_dlg.h"
#include "tuning/privilege_notice.h"

const char* const kOverVoltageWarning = QT_TRANSLATE_NOOP(
    "CVoltageSetDlg",
    "Enabling this function may cause unpredictable damages to your graphics card. And they are not covered "
    "under any Tessaril product warranty and may not be covered by your graphics card or system "
    "manufacturer's "
    "warranty.");

namespace {

void createSlider(CSuperSliders& slider, CDialogBase* owner, const RECT& rect, const char* title) {
    slider.SetThumbImage(QStringLiteral("ImageRes/lockset_slider.png"));
    slider.Create(owner, IDC_VOLTAGE_SLIDER, rect, {}, QStringLiteral("ImageRes/lockset_sliderfill.png"));
    slider.SetTitle(QCoreApplication::translate("CVoltageSetDlg", title));
}

}  // namespace

CVoltageSetDlg::CVoltageSetDlg(CClockSetDlg& clockPanel)
    : CDialogBase(QStringLiteral("ImageRes/voltagesetdlg_main.png"), &clockPanel), m_clockPanel(clockPanel) {
    setWindowTitle(QCoreApplication::translate("CVoltageSetDlg", "Voltage"));
    resize(kVoltagePanelWidth, kVoltagePanelHeight);
}

bool CVoltageSetDlg::OnInitDialog() {
    PlaceVoltagePanel();
    createSlider(m_sliderVoltageMin, this, RECT{54, 190, 328, 241},
                 QT_TRANSLATE_NOOP("CVoltageSetDlg", "Voltage Minimum,mV"));
    createSlider(m_sliderVoltageMax, this, RECT{54, 42, 328, 79},
                 QT_TRANSLATE_NOOP("CVoltageSetDlg", "GPU Max Voltage,mV"));
    m_chkOverVoltageOn.Create(this, IDC_VOLTAGE_OVER_ON, RECT{214, 97, 266, 124}, {},
                              QStringLiteral("ImageRes/lockset_no.png"));
    m_chkOverVoltageOff.Create(this, IDC_VOLTAGE_OVER_OFF, RECT{276, 97, 328, 124}, {},
                               QStringLiteral("ImageRes/lockset_off.png"));
    MakeRadioGroup({&m_chkOverVoltageOn, &m_chkOverVoltageOff});
    m_chkOverVoltageOn.SetAccessibleName(QCoreApplication::translate("CVoltageSetDlg", "Over-voltage on"));
    m_chkOverVoltageOff.SetAccessibleName(QCoreApplication::translate("CVoltageSetDlg", "Over-voltage off"));
    m_chkOverVoltageOff.SetCheck(true);
    m_sliderVoltageMax.Enable(false);
    LoadVoltageValues();
    return true;
}

void CVoltageSetDlg::PlaceVoltagePanel() {
    const RECT r = m_clockPanel.GetWindowRect();
    SetWindowPos(r.left - kVoltagePanelOffsetX, r.top + kVoltagePanelOffsetY, kVoltagePanelWidth,
                 kVoltagePanelHeight, SWP_SHOWWINDOW);
}

void CVoltageSetDlg::LoadVoltageValues() {
    // The core voltage slider shows the absolute voltage, between the base plus
    // the smallest and the base plus the largest allowed delta.
    std::array<int32_t, 5> range{};
    if (gpu::readVoltageRange(range)) {
        if (range[1] >= range[0])
            m_sliderVoltageMin.SetRange(float(range[0]) / 1000.0f, float(range[1]) / 1000.0f);
        m_sliderVoltageMin.SetPos(float(range[2]) / 1000.0f);
    }
    m_sliderVoltageMin.SetStep(kVoltageStep);
    m_clockPanel.RememberVoltageMin(m_sliderVoltageMin.GetPos());

    std::array<int32_t, 3> over{};
    if (!gpu::readOverVoltage(over)) {
        m_sliderVoltageMax.Enable(false);
        return;
    }
    m_sliderVoltageMax.SetStep(kVoltageStep);
    if (over[1] >= over[0]) m_sliderVoltageMax.SetRange(float(over[0]) / 1000.0f, float(over[1]) / 1000.0f);
    m_sliderVoltageMax.SetPos(float(over[2]) / 1000.0f);
    m_clockPanel.RememberVoltageMax(m_sliderVoltageMax.GetPos());
    if (over[2] != 0) {
        m_chkOverVoltageOn.SetCheck(true);
        m_sliderVoltageMax.Enable(true);
    }
}

void CVoltageSetDlg::OnCancel() {
    m_clockPanel.PostMessage(WM_COMMAND, ID_VOLTAGE_PANEL_CLOSED);
}

bool CVoltageSetDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDC_VOLTAGE_OVER_ON:
            SwitchOverVoltageOn();
            break;
        case IDC_VOLTAGE_OVER_OFF:
            SwitchOverVoltageOff();
            break;
        default:
            break;
    }
    return CDialogBase::OnCommand(wParam, lParam);
}

void CVoltageSetDlg::SwitchOverVoltageOn() {
    if (Ask(QCoreApplication::translate("CVoltageSetDlg", kOverVoltageWarning).toStdString(),
            QCoreApplication::translate("CVoltageSetDlg", "Warning").toStdString(), MB_YESNO) == IDYES) {
        m_sliderVoltageMax.Enable(true);
    } else {
        m_chkOverVoltageOff.SetCheck(true);
        m_sliderVoltageMax.Enable(false);
    }
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CVoltageSetDlg::SwitchOverVoltageOff() {
    const tuning::PrivilegeWatch watch;
    gpu::setOverVoltage(0);
    std::array<int32_t, 3> over{};
    gpu::readOverVoltage(over);
    m_sliderVoltageMax.SetPos(0);
    m_sliderVoltageMax.Enable(false);
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    watch.Report();
}
