#include "app/clock_panel_link.h"

#include "app/vantrel_dlg.h"

namespace app {

platform::Window* ClockPanelLink::Window() const {
    return &m_main;
}

int ClockPanelLink::FanControl() const {
    return m_main.m_nFanControl;
}

void ClockPanelLink::SetFanControl(int flag) {
    m_main.m_nFanControl = flag;
}

void ClockPanelLink::ApplyFanControl() {
    m_main.ReadSettings(false);
}

void ClockPanelLink::ClearFanAutoStart() {
    // EnableFan at close follows the Fan page's box, which the panel just cleared.
    m_main.m_bFanAutoEnable = false;
}

}  // namespace app
