// The clock panel's settings: the three profiles and the fan curve's start flags.
#include "tuning/clock_profiles.h"

#include "fan/fan_settings.h"
#include "settings/settings_writer.h"
#include "skin/truncate.h"
#include "tuning/clock_set_dlg.h"
#include "tuning/voltage_set_dlg.h"

namespace {

// A stored 0 means "not set".
void loadInto(CSuperSliders& slider, const settings::SettingsReader& s, const char* path, const char* name) {
    if (const int32_t v = s.integer(path, name)) slider.SetPos(float(v));
}

void store(settings::SettingsWriter& w, const char* path, const char* name, const CSuperSliders& slider) {
    w.setAttribute(path, name, int32_t(skin::truncateToInt(slider.GetPos())));
}

}  // namespace

bool CClockSetDlg::LoadProfile(int nType) {
    if (nType == 0) {
        if (m_mainWindow.FanControl() == tuning::MainWindowLink::kFanUnknown)
            return settings::SettingsReader().textFlag(fan::kEnableFanPath);
        return m_mainWindow.FanControl() != 0;
    }
    if (nType < 1 || nType > 3) return false;
    const settings::SettingsReader s;
    const char* path = tuning::kProfilePaths[size_t(nType - 1)];
    loadInto(m_sliderGpuClock, s, path, tuning::kProfileGpuClock);
    loadInto(m_sliderMemClock, s, path, tuning::kProfileMemClock);
    loadInto(m_sliderFan, s, path, tuning::kProfileFanSpeed);
    loadInto(m_sliderPower, s, path, tuning::kProfilePower);
    loadInto(m_sliderTemp, s, path, tuning::kProfileTemp);
    if (m_pVoltageDlg) {
        if (const int32_t max = s.integer(path, tuning::kProfileVoltageMax)) {
            m_pVoltageDlg->m_sliderVoltageMax.SetPos(float(max));
            m_pVoltageDlg->m_chkOverVoltageOn.SetCheck(true);
        }
        loadInto(m_pVoltageDlg->m_sliderVoltageMin, s, path, tuning::kProfileVoltageMin);
        m_pVoltageDlg->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return true;
}

void CClockSetDlg::SaveProfile(int nType) {
    settings::SettingsWriter w;
    if (nType == 0) {
        w.setText(fan::kAutoSystemPath, "0");
        w.save();
        m_mainWindow.ClearFanAutoStart();
        return;
    }
    if (nType < 1 || nType > 3) return;
    const char* path = tuning::kProfilePaths[size_t(nType - 1)];
    store(w, path, tuning::kProfileGpuClock, m_sliderGpuClock);
    store(w, path, tuning::kProfileMemClock, m_sliderMemClock);
    store(w, path, tuning::kProfileFanSpeed, m_sliderFan);
    store(w, path, tuning::kProfilePower, m_sliderPower);
    store(w, path, tuning::kProfileTemp, m_sliderTemp);
    if (m_pVoltageDlg) {
        store(w, path, tuning::kProfileVoltageMax, m_pVoltageDlg->m_sliderVoltageMax);
        store(w, path, tuning::kProfileVoltageMin, m_pVoltageDlg->m_sliderVoltageMin);
    }
    w.save();
}
