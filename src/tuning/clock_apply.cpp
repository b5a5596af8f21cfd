// Apply, Default and Cancel of the clock panel: the only places, with the
// voltage panel's switch to "off", where tuning values reach the card.
#include <QCoreApplication>
#include <array>

#include "gpu/readings.h"
#include "gpu/tuning.h"
#include "platform/message_box.h"
#include "platform/truncate.h"
#include "tuning/clock_set_dlg.h"
#include "tuning/privilege_notice.h"
#include "tuning/voltage_set_dlg.h"

using app::MainWindowServices;
using platform::truncateToInt;

const char* const kApplyQuestion =
    QT_TRANSLATE_NOOP("CClockSetDlg", "You sure you want to apply the settings?");
const char* const kApplyCaption = QT_TRANSLATE_NOOP("CClockSetDlg", "Warning");

void CClockSetDlg::Apply() {
    if (Ask(QCoreApplication::translate("CClockSetDlg", kApplyQuestion).toStdString(),
            QCoreApplication::translate("CClockSetDlg", kApplyCaption).toStdString(), MB_YESNO) != IDYES)
        return;
    const tuning::PrivilegeWatch watch;
    ApplyClock(m_sliderGpuClock, m_last.gpuClock, 0);
    ApplyClock(m_sliderMemClock, m_last.memClock, 1);
    if (m_sliderPower.IsEnabled()) {
        const int32_t p = truncateToInt(m_sliderPower.GetPos());
        if (p >= 0 && gpu::setPowerTarget(uint32_t(p)))
            m_last.powerTarget = p;
        else
            m_sliderPower.SetPos(float(m_last.powerTarget));
    }
    // A refused temperature target leaves the slider where the user put it.
    if (gpu::setTemperatureTarget(m_sliderTemp.GetPos(), m_chkPriorityOn.GetCheck()))
        m_last.tempTarget = truncateToInt(m_sliderTemp.GetPos());
    if (m_pVoltageDlg) ApplyVoltage();
    ApplyFanMode();
    ShowSaveButtons(true);
    watch.Report();
}

void CClockSetDlg::ApplyClock(CSuperSliders& slider, int32_t& last, int which) {
    const int32_t target = truncateToInt(slider.GetPos());
    std::array<int32_t, 3> base{};
    // Without the base clock there is no offset to compute: nothing is written.
    if (!gpu::readClocks(gpu::globalContext(), base, 1)) {
        slider.SetPos(float(last));
        return;
    }
    const int32_t offset = target - base[size_t(which)];
    const bool written = which == 0 ? gpu::setGpuClockOffset(offset) : gpu::setMemoryClockOffset(offset);
    if (written || offset == 0) {
        std::array<int32_t, 2> now{};
        gpu::readPstateClocks(now, gpu::globalContext(), false);
        slider.SetPos(float(now[size_t(which)]));
        last = now[size_t(which)];
    } else {
        slider.SetPos(float(last));
    }
}

void CClockSetDlg::ApplyVoltage() {
    CSuperSliders& core = m_pVoltageDlg->CoreVoltageSlider();
    std::array<int32_t, 5> range{};
    gpu::readVoltageRange(range);
    // The slider shows the absolute core voltage; the card takes the offset from
    // its base voltage.
    const int32_t offset = truncateToInt(core.GetPos() * 1000.0f) - range[2];
    const bool written = gpu::setCoreVoltageOffset(offset);
    if (offset == 0) {
        range = {};
        gpu::readVoltageRange(range);
        core.SetPos(float(range[2]) / 1000.0f);
    }
    if (written || offset == 0)
        m_last.voltageMin = core.GetPos();
    else
        core.SetPos(m_last.voltageMin);

    if (!m_pVoltageDlg->OverVoltageOnButton().GetCheck()) return;
    CSuperSliders& over = m_pVoltageDlg->OverVoltageSlider();
    std::array<int32_t, 3> overRange{};
    gpu::readOverVoltage(overRange);
    const int32_t w = truncateToInt(over.GetPos() * 1000.0f);
    if (gpu::setOverVoltage(w) || w == 0)
        m_last.voltageMax = over.GetPos();
    else
        over.SetPos(m_last.voltageMax);
}

void CClockSetDlg::ApplyFanMode() {
    if (m_chkFanAuto.GetCheck()) {
        gpu::restoreFanDefault();
        std::array<int32_t, 4> fan{};
        gpu::readFanStatus(fan);
        m_sliderFan.SetPos(float(fan[0]));
        m_sliderFan.Enable(false);
        m_mainWindow.SetFanControl(MainWindowServices::kFanOff);
        SaveProfile(0);
        m_mainWindow.ReadSettings(false);
    } else if (m_chkFanManual.GetCheck()) {
        const int32_t level = truncateToInt(m_sliderFan.GetPos());
        // The curve stops (and hands the fan back) before the fixed level goes out.
        m_mainWindow.SetFanControl(MainWindowServices::kFanOff);
        SaveProfile(0);
        m_mainWindow.ReadSettings(false);
        gpu::setFanLevel(level);
        m_last.fanSpeed = level;
    } else if (m_chkFanUserDefine.GetCheck()) {
        m_sliderFan.Enable(false);
        m_mainWindow.SetFanControl(MainWindowServices::kFanCurve);
        m_mainWindow.ReadSettings(false);
    }
}

void CClockSetDlg::RestoreDefaults() {
    const tuning::PrivilegeWatch watch;
    gpu::restoreDefaultTuning();
    gpu::setCoreVoltageOffset(0);
    LoadCurrentValues(false);
    m_chkLink.SetCheck(false);
    std::array<int32_t, 5> thermal{};
    gpu::readThermalPolicy(thermal);
    gpu::setTemperatureTarget(float(thermal[1]), m_chkPriorityOn.GetCheck());
    m_sliderTemp.SetPos(float(thermal[1]));
    gpu::setOverVoltage(0);
    if (m_pVoltageDlg) {
        m_pVoltageDlg->OverVoltageOffButton().SetCheck(true);
        m_pVoltageDlg->LoadVoltageValues();
        m_pVoltageDlg->OverVoltageSlider().Enable(false);
        m_pVoltageDlg->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    m_chkPriorityOff.SetCheck(true);
    gpu::clearTemperaturePriority();
    m_mainWindow.SetFanControl(MainWindowServices::kFanOff);
    SaveProfile(0);
    m_mainWindow.ReadSettings(false);
    RedrawNow();
    watch.Report();
}

void CClockSetDlg::CancelChanges() {
    m_sliderGpuClock.SetPos(float(m_last.gpuClock));
    m_sliderMemClock.SetPos(float(m_last.memClock));
    m_sliderFan.SetPos(float(m_last.fanSpeed));
    m_sliderPower.SetPos(float(m_last.powerTarget));
    m_sliderTemp.SetPos(float(m_last.tempTarget));
    if (m_pVoltageDlg) {
        m_pVoltageDlg->CoreVoltageSlider().SetPos(m_last.voltageMin);
        m_pVoltageDlg->OverVoltageSlider().SetPos(m_last.voltageMax);
    }
}
