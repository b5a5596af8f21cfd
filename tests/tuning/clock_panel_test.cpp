// The clock panel and the voltage panel on the simulated card: what they read,
// what each command writes (the card's trace), and the settings they keep.
#include "clock_panel_fixture.h"

namespace {

// A press and release in the middle of a control, then the posted notifications.
void click(CDialogBase& window, const CControls& control) {
    const int x = (control.Rect().left + control.Rect().right) / 2;
    const int y = (control.Rect().top + control.Rect().bottom) / 2;
    window.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    window.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void command(CDialogBase& window, UINT id) {
    window.SendMessage(WM_COMMAND, id);
}

}  // namespace

TEST_F(ClockPanelTest, OpensDockedWithTheCardsValuesAndWritesNothing) {
    CClockSetDlg& p = open();
    EXPECT_TRUE(m_window->ClockLockButton().IsEnabled());
    const RECT main = m_window->GetWindowRect(), r = p.GetWindowRect();
    EXPECT_EQ(r.left, main.left - 358);
    EXPECT_EQ(r.top, main.top);
    EXPECT_EQ(RectWidth(r), 379);
    EXPECT_EQ(RectHeight(r), 671);

    EXPECT_EQ(p.GpuClockSlider().GetPos(), 1006.0f);
    EXPECT_EQ(p.GpuClockSlider().Min(), 1006.0f - 502);
    EXPECT_EQ(p.GpuClockSlider().Max(), 1006.0f + 928);
    EXPECT_EQ(p.MemClockSlider().GetPos(), 1502.0f);
    EXPECT_EQ(p.MemClockSlider().Max(), 1502.0f + 1000);
    EXPECT_EQ(p.FanSlider().GetPos(), 40.0f);
    EXPECT_EQ(p.FanSlider().Min(), 30.0f);
    EXPECT_FALSE(p.FanSlider().IsEnabled());
    EXPECT_EQ(p.PowerSlider().GetPos(), 100.0f);
    EXPECT_EQ(p.PowerSlider().Max(), 115.0f);
    EXPECT_EQ(p.TempSlider().GetPos(), 82.0f);
    EXPECT_EQ(p.TempSlider().Min(), 60.0f);
    EXPECT_TRUE(p.PriorityOffButton().GetCheck());
    EXPECT_TRUE(p.FanAutoButton().GetCheck());
    EXPECT_TRUE(p.LinkButton().GetCheck());
    EXPECT_FALSE(p.SaveButton().IsShown());
    EXPECT_FALSE(p.ProfileOneButton().GetCheck() || p.ProfileTwoButton().GetCheck() ||
                 p.ProfileThreeButton().GetCheck());
    EXPECT_EQ(p.GpuClockSlider().Title(), "GPU Clock Offset,MHz");
    EXPECT_EQ(p.TempSlider().Title(), "GPU Temp Target,C");

    // Cancel right after opening: the fan slider goes to the driver's minimum.
    p.GpuClockSlider().SetPos(1100);
    command(p, IDC_CLOCK_CANCEL);
    EXPECT_EQ(p.GpuClockSlider().GetPos(), 1006.0f);
    EXPECT_EQ(p.FanSlider().GetPos(), 30.0f);
    EXPECT_EQ(p.PowerSlider().GetPos(), 100.0f);
    EXPECT_TRUE(trace().empty());

    // A second press of the main window's button shows the same panel.
    m_window->SendMessage(WM_COMMAND, IDC_MAIN_CUSTOMIZE);
    EXPECT_EQ(m_window->ClockSetPanel(), &p);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ClockPanelTest, ApplyWritesOffsetsFromTheBaseClocksAfterAYes) {
    CClockSetDlg& p = open();
    p.GpuClockSlider().SetPos(1056);
    p.MemClockSlider().SetPos(1402);
    answers = {IDNO};
    command(p, IDC_CLOCK_APPLY);
    EXPECT_EQ(boxes, std::vector<std::string>{"Warning|You sure you want to apply the settings?"});
    EXPECT_TRUE(trace().empty());
    EXPECT_FALSE(p.SaveButton().IsShown());

    command(p, IDC_CLOCK_APPLY);
    EXPECT_EQ(trace(), (std::vector<std::string>{lines::enableOverclock(), lines::clock(0, 50000),
                                                 lines::clock(4, -100000), lines::power(100000),
                                                 lines::thermal(20992, 0), lines::cooler(30, 32)}));
    EXPECT_EQ(p.GpuClockSlider().GetPos(), 1056.0f);  // read back from the card
    EXPECT_EQ(p.Last().gpuClock, 1056);
    // The memory clock reads back with its offset, so the slider stays where it was put.
    EXPECT_EQ(p.MemClockSlider().GetPos(), 1402.0f);
    EXPECT_TRUE(p.SaveButton().IsShown() && p.SaveThreeButton().IsShown());
    EXPECT_EQ(setting("/Vantrel/FanDlg/AutoSystem"), "0");

    // Unchanged sliders: offsets of the difference to the base clocks again.
    m_card->clearTrace();
    command(p, IDC_CLOCK_APPLY);
    EXPECT_EQ(trace()[1], lines::clock(0, 50000));
    EXPECT_EQ(trace()[2], lines::clock(4, -100000));  // a second Apply keeps the memory offset
}

TEST_F(ClockPanelTest, DefaultRestoresTheCardInItsOrder) {
    CClockSetDlg& p = open(card(), "1");
    ASSERT_TRUE(m_window->FanTimerRunning());
    p.PriorityOnButton().SetCheck(true);
    command(p, IDC_CLOCK_DEFAULT);
    EXPECT_EQ(trace(), (std::vector<std::string>{
                           lines::enableOverclock(), lines::clock(0, 0), lines::clock(4, 0),
                           lines::power(100000), lines::cooler(30, 32), lines::coreVoltage(0),
                           lines::thermal(20992, 0), lines::overVoltage(0), lines::thermal(20992, 0),
                           lines::cooler(30, 32),  // the fan curve stops and hands the fan back
                       }));
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(p.LinkButton().GetCheck());
    EXPECT_TRUE(p.PriorityOffButton().GetCheck());
    EXPECT_EQ(p.FanSlider().GetPos(), 30.0f);
    EXPECT_EQ(p.TempSlider().GetPos(), 82.0f);
    EXPECT_EQ(m_window->FanControl(), CVantrelDlg::kFanOff);
    EXPECT_FALSE(m_window->FanTimerRunning());
    EXPECT_FALSE(m_window->FanAutoEnable());
    EXPECT_EQ(setting("/Vantrel/FanDlg/AutoSystem"), "0");
}

TEST_F(ClockPanelTest, ProfilesLoadWithoutTheirZerosAndSaveAfterApply) {
    CClockSetDlg& p =
        open(card(), "0", R"(<One GPUClock="1050" MemoryClock="0" FanSpeed="0" TDP="110" GPUTemp="0"/>)");
    click(p, p.ProfileOneButton());
    EXPECT_TRUE(p.ProfileOneButton().GetCheck());
    EXPECT_EQ(p.GpuClockSlider().GetPos(), 1050.0f);
    EXPECT_EQ(p.MemClockSlider().GetPos(), 1502.0f);
    EXPECT_EQ(p.FanSlider().GetPos(), 40.0f);
    EXPECT_EQ(p.PowerSlider().GetPos(), 110.0f);
    EXPECT_EQ(p.TempSlider().GetPos(), 82.0f);
    EXPECT_TRUE(p.FanManualButton().GetCheck());
    EXPECT_FALSE(p.FanSlider().IsEnabled());  // until Manual itself is clicked
    EXPECT_TRUE(trace().empty());

    // Save keeps the selected profile; its buttons appear only after an Apply.
    command(p, IDC_CLOCK_APPLY);
    ASSERT_TRUE(p.SaveTwoButton().IsShown());
    click(p, p.SaveButton());
    EXPECT_TRUE(p.ProfileOneButton().GetCheck());
    openVoltage(p);
    click(p, p.SaveTwoButton());
    EXPECT_FALSE(p.SaveButton().IsShown() || p.SaveTwoButton().IsShown());
    const char* two = "/Vantrel/ClockSetDlg/Two";
    EXPECT_EQ(setting(two, "GPUClock"), "1050");
    EXPECT_EQ(setting(two, "MemoryClock"), "1502");
    EXPECT_EQ(setting(two, "FanSpeed"), "40");
    EXPECT_EQ(setting(two, "TDP"), "110");
    EXPECT_EQ(setting(two, "GPUTemp"), "82");
    EXPECT_EQ(setting(two, "GPUVoltageMin"), "1000");
    EXPECT_EQ(setting(two, "GPUVoltageMax"), "0");
    EXPECT_EQ(setting("/Vantrel/ClockSetDlg/One", "TDP"), "110");
}

TEST_F(ClockPanelTest, ProfileVoltagesSwitchOverVoltageOnWithoutEnablingIt) {
    CClockSetDlg& p = open(card(), "0", R"(<Three GPUVoltageMax="25" GPUVoltageMin="1012"/>)");
    CVoltageSetDlg& v = openVoltage(p);
    click(p, p.ProfileThreeButton());
    EXPECT_EQ(v.OverVoltageSlider().GetPos(), 25.0f);
    EXPECT_TRUE(v.OverVoltageOnButton().GetCheck());
    EXPECT_FALSE(v.OverVoltageSlider().IsEnabled());
    EXPECT_EQ(v.CoreVoltageSlider().GetPos(), 1012.0f);
    EXPECT_TRUE(trace().empty());
}

TEST_F(ClockPanelTest, LinkedTargetsFollowEachOtherOnlyWhileLinked) {
    CClockSetDlg& p = open();
    p.PowerSlider().SetPos(115);
    command(p, MAKEWPARAM(IDC_CLOCK_POWER, 1));
    EXPECT_EQ(p.TempSlider().GetPos(), 92.0f);  // the maximum power gives the maximum temperature
    p.TempSlider().SetPos(87);
    command(p, MAKEWPARAM(IDC_CLOCK_TEMP, 1));
    EXPECT_FLOAT_EQ(p.PowerSlider().GetPos(), 107.5f);

    click(p, p.LinkButton());
    EXPECT_FALSE(p.LinkButton().GetCheck());
    p.PowerSlider().SetPos(60);
    command(p, MAKEWPARAM(IDC_CLOCK_POWER, 1));
    EXPECT_EQ(p.TempSlider().GetPos(), 87.0f);
    // Checking the link again pulls the temperature to the power target.
    click(p, p.LinkButton());
    EXPECT_LT(p.TempSlider().GetPos(), 82.0f);
    EXPECT_TRUE(trace().empty());
}

TEST_F(ClockPanelTest, FanModesHandTheFanBetweenDriverLevelAndCurve) {
    CClockSetDlg& p = open(card(), "1");
    EXPECT_TRUE(p.FanUserDefineButton().GetCheck());
    click(p, p.FanManualButton());
    EXPECT_TRUE(p.FanSlider().IsEnabled());
    p.FanSlider().SetPos(65);
    command(p, IDC_CLOCK_APPLY);
    // The curve stops and hands the fan back before the fixed level goes out.
    std::vector<std::string> t = trace();
    ASSERT_GE(t.size(), 2u);
    EXPECT_EQ(t[t.size() - 2], lines::cooler(30, 32));
    EXPECT_EQ(t.back(), lines::cooler(65, 1));
    EXPECT_FALSE(m_window->FanTimerRunning());
    EXPECT_EQ(p.Last().fanSpeed, 65);

    m_card->clearTrace();
    click(p, p.FanUserDefineButton());
    EXPECT_FALSE(p.FanSlider().IsEnabled());
    command(p, IDC_CLOCK_APPLY);
    for (const std::string& line : trace())
        EXPECT_EQ(line.find("GPU_SetCoolerLevels"), std::string::npos) << line;
    EXPECT_EQ(m_window->FanControl(), CVantrelDlg::kFanCurve);
    EXPECT_TRUE(m_window->FanTimerRunning());

    // The settings window's choice shown on the open panel.
    p.SelectFanMode(false);
    EXPECT_TRUE(p.FanAutoButton().GetCheck());
}

TEST_F(ClockPanelTest, RefusedWritesReturnTheirSliders) {
    CClockSetDlg& p = open(card(R"(<fault interface="GPU_SetPstates20 GPU_PowerPoliciesSetStatus )"
                                R"(GPU_ThermalPoliciesSetStatus" status="-5"/>)"));
    CVoltageSetDlg& v = openVoltage(p);
    click(v, v.OverVoltageOnButton());
    p.GpuClockSlider().SetPos(1100);
    p.MemClockSlider().SetPos(1600);
    p.PowerSlider().SetPos(110);
    p.TempSlider().SetPos(85);
    v.CoreVoltageSlider().SetPos(1025);
    v.OverVoltageSlider().SetPos(25);
    command(p, IDC_CLOCK_APPLY);
    EXPECT_EQ(p.GpuClockSlider().GetPos(), 1006.0f);
    EXPECT_EQ(p.MemClockSlider().GetPos(), 1502.0f);
    EXPECT_EQ(p.PowerSlider().GetPos(), 100.0f);
    EXPECT_EQ(p.TempSlider().GetPos(), 85.0f);  // a refused temperature stays where it was put
    EXPECT_EQ(p.Last().tempTarget, 82);
    EXPECT_EQ(v.CoreVoltageSlider().GetPos(), 1000.0f);
    EXPECT_EQ(v.OverVoltageSlider().GetPos(), 0.0f);
    EXPECT_EQ(p.Last().voltageMin, 1000.0f);
    EXPECT_EQ(p.Last().voltageMax, 0.0f);
    EXPECT_TRUE(std::count(boxes.begin(), boxes.end(), std::string("Vantrel|") + tuning::kPrivilegeText) ==
                0);
}

TEST_F(ClockPanelTest, UnreadableBaseClocksWriteNoOffset) {
    // The panel's own read at opening succeeds; Apply's reads of the base clocks fail.
    CClockSetDlg& p = open(card(R"(<fault interface="GPU_GetAllClockFrequencies" status="-1" after="1"/>)"));
    p.GpuClockSlider().SetPos(1100);
    p.MemClockSlider().SetPos(1600);
    command(p, IDC_CLOCK_APPLY);
    for (const std::string& line : trace())
        EXPECT_EQ(line.find("GPU_SetPstates20"), std::string::npos) << line;
    EXPECT_EQ(p.GpuClockSlider().GetPos(), 1006.0f);
    EXPECT_EQ(p.MemClockSlider().GetPos(), 1502.0f);
}

TEST_F(ClockPanelTest, PrivilegeRefusalIsExplainedOncePerRun) {
    CClockSetDlg& p =
        open(card(R"(<fault interface="GPU_SetPstates20 GPU_EnableOverclockedPstates )"
                  R"(GPU_PowerPoliciesSetStatus GPU_ThermalPoliciesSetStatus GPU_SetCoolerLevels" )"
                  R"(status="-137"/>)"));
    p.GpuClockSlider().SetPos(1100);
    command(p, IDC_CLOCK_APPLY);
    const std::string notice = std::string("Vantrel|") + tuning::kPrivilegeText;
    EXPECT_EQ(boxes, (std::vector<std::string>{"Warning|You sure you want to apply the settings?", notice}));
    EXPECT_EQ(p.GpuClockSlider().GetPos(), 1006.0f);
    for (const std::string& line : trace()) EXPECT_NE(line.find("status=-137"), std::string::npos) << line;

    boxes.clear();
    command(p, IDC_CLOCK_DEFAULT);
    CVoltageSetDlg& v = openVoltage(p);
    click(v, v.OverVoltageOffButton());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ClockPanelTest, VoltagePanelGuardsOverVoltage) {
    CClockSetDlg& p = open();
    CVoltageSetDlg& v = openVoltage(p);
    const RECT c = p.GetWindowRect(), r = v.GetWindowRect();
    EXPECT_EQ(r.left, c.left - 353);
    EXPECT_EQ(r.top, c.top + 78);
    EXPECT_EQ(RectWidth(r), 366);
    EXPECT_EQ(RectHeight(r), 288);
    EXPECT_EQ(v.CoreVoltageSlider().GetPos(), 1000.0f);
    EXPECT_EQ(v.CoreVoltageSlider().Min(), 950.0f);
    EXPECT_EQ(v.CoreVoltageSlider().Max(), 1050.0f);
    EXPECT_EQ(v.CoreVoltageSlider().Step(), 12.5f);
    EXPECT_EQ(v.OverVoltageSlider().Max(), 37.5f);
    EXPECT_TRUE(v.OverVoltageOffButton().GetCheck());
    EXPECT_FALSE(v.OverVoltageSlider().IsEnabled());
    EXPECT_EQ(v.CoreVoltageSlider().Title(), "Voltage Minimum,mV");

    answers = {IDNO};
    click(v, v.OverVoltageOnButton());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::string("Warning|") + kOverVoltageWarning);
    EXPECT_TRUE(v.OverVoltageOffButton().GetCheck());
    EXPECT_FALSE(v.OverVoltageSlider().IsEnabled());
    click(v, v.OverVoltageOnButton());
    EXPECT_TRUE(v.OverVoltageOnButton().GetCheck());
    EXPECT_TRUE(v.OverVoltageSlider().IsEnabled());
    EXPECT_TRUE(trace().empty());

    // Apply writes the offset from the base voltage and the over-voltage.
    v.CoreVoltageSlider().SetPos(1025);
    v.OverVoltageSlider().SetPos(25);
    command(p, IDC_CLOCK_APPLY);
    const std::vector<std::string> t = trace();
    EXPECT_NE(std::find(t.begin(), t.end(), lines::coreVoltage(25000)), t.end());
    EXPECT_NE(std::find(t.begin(), t.end(), lines::overVoltage(25000)), t.end());
    EXPECT_EQ(p.Last().voltageMin, 1025.0f);
    EXPECT_EQ(p.Last().voltageMax, 25.0f);

    // Off writes at once.
    m_card->clearTrace();
    click(v, v.OverVoltageOffButton());
    EXPECT_EQ(trace(), std::vector<std::string>{lines::overVoltage(0)});
    EXPECT_EQ(v.OverVoltageSlider().GetPos(), 0.0f);
    EXPECT_FALSE(v.OverVoltageSlider().IsEnabled());

    command(p, IDC_CLOCK_VOLTAGE);
    EXPECT_EQ(p.VoltagePanel(), nullptr);
}

TEST_F(ClockPanelTest, OverVoltageFoundOnTheCardSwitchesOnWithoutAWarning) {
    CClockSetDlg& p = open(card(R"(<pstates><pstate id="0"><clock domain="0" type="range" min="300000" )"
                                R"(max="1110000" delta="0" deltaMin="-135000" deltaMax="200000"/><clock )"
                                R"(domain="4" type="single" freq="1502000" delta="0" deltaMin="-500000" )"
                                R"(deltaMax="1000000"/><baseVoltage domain="0" voltage="1000000" delta="0" )"
                                R"(deltaMin="-50000" deltaMax="50000"/></pstate><overVoltage><voltage )"
                                R"(domain="0" delta="12500" deltaMin="0" deltaMax="37500"/></overVoltage>)"
                                R"(</pstates>)"));
    CVoltageSetDlg& v = openVoltage(p);
    EXPECT_TRUE(v.OverVoltageOnButton().GetCheck());
    EXPECT_TRUE(v.OverVoltageSlider().IsEnabled());
    EXPECT_EQ(v.OverVoltageSlider().GetPos(), 12.5f);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ClockPanelTest, ClockLockDisablesTheAdjustingControlsAndGivesThemBack) {
    CClockSetDlg& p = open(card(R"(<powerPolicies supported="0"/>)"));
    EXPECT_FALSE(p.PowerSlider().IsEnabled());  // no power policies to read
    CVoltageSetDlg& v = openVoltage(p);
    click(*m_window, m_window->ClockLockButton());
    EXPECT_TRUE(p.IsLocked());
    for (const CControls* c : p.Controls()) {
        const bool exempt = c == &p.CloseButton() || c == &p.SaveOneButton() || c == &p.SaveTwoButton() ||
                            c == &p.SaveThreeButton();
        if (!exempt && c->LinkTarget() == nullptr && c->ID() != CSuperSliders::kLabelId) {
            EXPECT_FALSE(c->IsEnabled()) << c->ID();
        }
    }
    EXPECT_TRUE(p.CloseButton().IsEnabled());
    EXPECT_FALSE(v.CoreVoltageSlider().IsEnabled() || v.OverVoltageOnButton().IsEnabled() ||
                 v.OverVoltageOffButton().IsEnabled());
    click(p, p.ApplyButton());
    EXPECT_TRUE(boxes.empty());

    click(*m_window, m_window->ClockLockButton());
    EXPECT_FALSE(p.IsLocked());
    EXPECT_TRUE(p.ApplyButton().IsEnabled() && p.GpuClockSlider().IsEnabled() &&
                v.CoreVoltageSlider().IsEnabled());
    EXPECT_FALSE(p.PowerSlider().IsEnabled());        // still nothing to write to
    EXPECT_FALSE(p.FanSlider().IsEnabled());          // Auto
    EXPECT_FALSE(v.OverVoltageSlider().IsEnabled());  // over-voltage off
    EXPECT_TRUE(trace().empty());
}

TEST_F(ClockPanelTest, PanelsFollowTheMainWindowAndCloseThroughIt) {
    CClockSetDlg& p = open();
    CVoltageSetDlg& v = openVoltage(p);
    click(*m_window, m_window->ClockLockButton());
    m_window->SetWindowPos(500, 150, 475, 440, SWP_NOZORDER);
    m_window->SendMessage(WM_MOVE, 0, MAKELPARAM(500, 150));
    EXPECT_EQ(p.GetWindowRect().left, 500 - 358);
    EXPECT_EQ(p.GetWindowRect().top, 150);
    EXPECT_EQ(v.GetWindowRect().left, 500 - 358 - 353);
    EXPECT_EQ(v.GetWindowRect().top, 150 + 78);

    click(p, p.CloseButton());
    EXPECT_EQ(m_window->ClockSetPanel(), nullptr);
    EXPECT_FALSE(m_window->ClockLockButton().IsEnabled());
    EXPECT_FALSE(m_window->ClockLockButton().GetCheck());
    EXPECT_TRUE(trace().empty());
}

TEST_F(ClockPanelTest, ReloadRangesReadsTheNewlyChosenGpu) {
    CClockSetDlg& p = open(
        "<card frozen=\"1\"><gpu/><gpu name=\"Second\"><clocks base=\"800000\" boost=\"900000\" "
        "memory=\"1000000\"/><pstates><pstate id=\"0\"><clock domain=\"0\" type=\"range\" min=\"300000\" "
        "max=\"900000\" delta=\"0\" deltaMin=\"-100000\" deltaMax=\"100000\"/><clock domain=\"4\" "
        "type=\"single\" freq=\"1000000\" delta=\"0\" deltaMin=\"-100000\" deltaMax=\"100000\"/>"
        "</pstate></pstates></gpu></card>");
    EXPECT_EQ(p.GpuClockSlider().GetPos(), 1006.0f);
    m_context->selectedIndex = 1;
    p.ReloadRanges();
    EXPECT_EQ(p.GpuClockSlider().GetPos(), 800.0f);
    EXPECT_EQ(p.GpuClockSlider().Max(), 800.0f + 928);
    EXPECT_EQ(p.MemClockSlider().GetPos(), 1000.0f);
    EXPECT_EQ(p.Last().gpuClock, 800);
    EXPECT_TRUE(trace().empty());
}
