// The settings window opened from the real main window with the clock panel
// open: OK with the Fan page's enable box switches the panel's fan mode and
// starts or stops the curve on the simulated card.
#include <stdlib.h>

#include <QCheckBox>
#include <QTimer>

#include "clock_panel_fixture.h"
#include "setup/fan_dlg.h"
#include "setup/set_dlg.h"

namespace {

// Opens the settings window with the main window's button; while it runs,
// sets the Fan page's enable box and presses OK.
void commitFanPage(CVantrelDlg& main, bool enable) {
    QTimer::singleShot(0, &main, [&main, enable] {
        auto* window = main.findChild<setup::CSetDlg*>();
        ASSERT_NE(window, nullptr);
        window->SelectTab(setup::CSetDlg::kFan);
        if (window->FanPage()->EnableBox()->isChecked() != enable) window->FanPage()->EnableBox()->click();
        QCoreApplication::processEvents();
        window->SendMessage(WM_COMMAND, IDOK);
    });
    main.SendMessage(WM_COMMAND, IDC_MAIN_SET);
}

}  // namespace

TEST_F(ClockPanelTest, SettingsOkSwitchesTheOpenPanelsFanModeAndTheCurve) {
    // The General page's autostart entry goes to the test's folder.
    const char* config = getenv("XDG_CONFIG_HOME");
    const std::string saved = config ? config : "";
    setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);

    CClockSetDlg& p = open();
    ASSERT_TRUE(p.FanAutoButton().GetCheck());
    commitFanPage(*m_window, true);
    EXPECT_TRUE(p.FanUserDefineButton().GetCheck());
    EXPECT_FALSE(p.FanAutoButton().GetCheck() || p.FanManualButton().GetCheck());
    EXPECT_EQ(m_window->FanControl(), CVantrelDlg::kFanCurve);
    EXPECT_TRUE(m_window->HasTimer(kFanTimer));
    EXPECT_TRUE(trace().empty()) << "the first level comes one period later";

    commitFanPage(*m_window, false);
    EXPECT_TRUE(p.FanAutoButton().GetCheck());
    EXPECT_FALSE(p.FanUserDefineButton().GetCheck() || p.FanManualButton().GetCheck());
    EXPECT_EQ(m_window->FanControl(), CVantrelDlg::kFanOff);
    EXPECT_FALSE(m_window->HasTimer(kFanTimer));
    EXPECT_EQ(trace(), std::vector<std::string>{lines::cooler(30, 32)}) << "the fan handed back";
    EXPECT_EQ(setting("/Vantrel/FanDlg/AutoSystem"), "0");

    if (config)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
