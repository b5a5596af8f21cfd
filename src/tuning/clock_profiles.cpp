// The clock panel's settings: the three profiles and the fan curve's start flags.
#include "platform/truncate.h"
#include "settings/settings_writer.h"
#include "tuning/clock_set_dlg.h"
#include "tuning/voltage_set_dlg.h"

namespace {

// A stored 0 means "not set".
void loadInto(CSuperSliders& slider, const settings::SettingsReader& s, settings::IntegerKey key) {
    if (const int32_t v = s.read(key)) slider.SetPos(float(v));
}

void store(settings::SettingsWriter& w, settings::IntegerKey key, const CSuperSliders& slider) {
    w.write(key, int32_t(platform::truncateToInt(slider.GetPos())));
}

}  // namespace

bool CClockSetDlg::LoadProfile(int nType) {
    if (nType == 0) {
        if (m_mainWindow.FanControl() == app::MainWindowServices::kFanUnknown)
            return settings::SettingsReader().read(settings::keys::kEnableFan);
        return m_mainWindow.FanControl() != 0;
    }
    if (nType < 1 || nType > 3) return false;
    const settings::SettingsReader s;
    const settings::keys::ClockProfileKeys& profile = settings::keys::kClockProfiles[size_t(nType - 1)];
    loadInto(m_sliderGpuClock, s, profile.gpuClock);
    loadInto(m_sliderMemClock, s, profile.memoryClock);
    loadInto(m_sliderFan, s, profile.fanSpeed);
    loadInto(m_sliderPower, s, profile.powerTarget);
    loadInto(m_sliderTemp, s, profile.temperatureTarget);
    if (m_pVoltageDlg) {
        if (const int32_t max = s.read(profile.voltageMax)) {
            m_pVoltageDlg->OverVoltageSlider().SetPos(float(max));
            m_pVoltageDlg->OverVoltageOnButton().SetCheck(true);
        }
        loadInto(m_pVoltageDlg->CoreVoltageSlider(), s, profile.voltageMin);
        m_pVoltageDlg->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return true;
}

void CClockSetDlg::SaveProfile(int nType) {
    settings::SettingsWriter w;
    if (nType == 0) {
        w.write(settings::keys::kAutoSystem, false);
        w.save();
        m_mainWindow.SetFanAutoEnable(false);
        return;
    }
    if (nType < 1 || nType > 3) return;
    const settings::keys::ClockProfileKeys& profile = settings::keys::kClockProfiles[size_t(nType - 1)];
    store(w, profile.gpuClock, m_sliderGpuClock);
    store(w, profile.memoryClock, m_sliderMemClock);
    store(w, profile.fanSpeed, m_sliderFan);
    store(w, profile.powerTarget, m_sliderPower);
    store(w, profile.temperatureTarget, m_sliderTemp);
    if (m_pVoltageDlg) {
        store(w, profile.voltageMax, m_pVoltageDlg->OverVoltageSlider());
        store(w, profile.voltageMin, m_pVoltageDlg->CoreVoltageSlider());
    }
    w.save();
}
