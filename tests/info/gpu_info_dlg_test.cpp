// The information panel on its own, under a stand-in main window, on simulated cards.
#include "info/gpu_info_dlg.h"

#include <gtest/gtest.h>

#include <memory>

#include "gpu/driver_binding.h"
#include "gpu/information.h"
#include "info_fixture.h"
#include "support/fake_main_window.h"
#include "support/sim_card.h"

struct CMenuListProbe {
    static CButtonEx& head(CMenuList& list) { return list.m_btnHead; }
};

namespace {

using infotest::chooseEntry;
using infotest::click;
using infotest::runEvents;

// Records the commands the panel sends its parent.
struct MainStandIn : CDialogBase {
    MainStandIn() : CDialogBase(QString()) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
        return CDialogBase::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> commands;
};

class GpuInfoPanel : public ::testing::Test {
  protected:
    void TearDown() override {
        m_panel.reset();
        m_main.reset();
        m_scope.reset();
        m_context.reset();
        m_card.reset();
    }

    CGpuInfoDlg& open(const std::string& cardXml) {
        m_card = std::make_unique<testsupport::SimCard>(cardXml);
        m_context = std::make_unique<gpu::GpuContext>();
        m_scope = std::make_unique<gpu::GlobalContextScope>(*m_context);
        m_main = std::make_unique<MainStandIn>();
        m_main->SetWindowPos(100, 50, 475, 440, SWP_SHOWWINDOW);
        auto record = [this](const char* what) {
            return [this, what] {
                m_hooks.push_back(what + std::to_string(gpu::globalContext().selectedIndex));
            };
        };
        m_services.owner = m_main.get();
        m_services.gpuChanging = record("changing ");
        m_services.gpuChanged = record("changed ");
        m_panel = std::make_unique<CGpuInfoDlg>(m_services);
        m_panel->Create();
        runEvents();
        return *m_panel;
    }

    static std::vector<std::string> information() {
        std::vector<std::string> list;
        gpu::queryGpuInformation(gpu::globalContext(), list);
        return list;
    }

    // Each label against the information entry it stands for.
    void expectLabelsShow(const std::vector<std::string>& list) {
        ASSERT_EQ(list.size(), size_t(gpu::kInformationCount));
        for (size_t i = 0; i < m_panel->InfoTexts().size(); ++i)
            EXPECT_EQ(m_panel->InfoTexts()[i].Text().toStdString(),
                      list[size_t(CGpuInfoDlg::kLabelEntries[i])])
                << "label " << i + 1;
    }

    std::unique_ptr<testsupport::SimCard> m_card;
    std::unique_ptr<gpu::GpuContext> m_context;
    std::unique_ptr<gpu::GlobalContextScope> m_scope;
    std::unique_ptr<MainStandIn> m_main;
    testsupport::FakeMainWindow m_services;
    std::unique_ptr<CGpuInfoDlg> m_panel;
    std::vector<std::string> m_hooks;  // "changing N" / "changed N", N the GPU in use then
};

TEST_F(GpuInfoPanel, TwoGpusAreNumberedAndTheLabelsShowTheFirstDockedUnderTheMainWindow) {
    CGpuInfoDlg& panel = open(infotest::twoGpuCard());
    EXPECT_EQ(panel.GpuMenu().Items(), (QStringList{"1.Sim 680", "2.Sim 460"}));
    EXPECT_EQ(panel.GpuMenu().Head().Text(), "1.Sim 680");
    expectLabelsShow(information());
    EXPECT_EQ(panel.InfoTexts()[1].Text(), "GDDR5");
    EXPECT_EQ(panel.InfoTexts()[5].Text(), "256Bit");
    EXPECT_EQ(panel.InfoTexts()[9].Text(), "80.04.09.00.01");
    EXPECT_EQ(panel.InfoTexts()[0].Colour(), 0xFFB4B4B4u);

    const RECT r = panel.GetWindowRect();
    EXPECT_EQ(r.left, 115);
    EXPECT_EQ(r.top, 50 + 440 - 5);
    EXPECT_EQ(RectWidth(r), 475);
    EXPECT_EQ(RectHeight(r), 238);
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_EQ(panel.TimerPeriod(kGpuInfoTimer), 1000u);
    // Grabbing the background never drags the panel.
    EXPECT_EQ(panel.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(r.left + 30, r.top + 200)), LRESULT(HTCLIENT));
    EXPECT_EQ(gpu::DriverBinding::users(), 2);  // the panel's own context
    EXPECT_TRUE(m_card->trace().empty());
}

TEST_F(GpuInfoPanel, EachSecondRefreshesGpuClockMemoryClockAndBandwidthOnly) {
    CGpuInfoDlg& panel = open(infotest::twoGpuCard());
    for (CStaticText& label : panel.InfoTexts()) label.SetText("stale");
    const int paints = panel.PaintCount();
    panel.SendMessage(WM_TIMER, kGpuInfoTimer);
    std::vector<std::string> live;
    gpu::queryLiveClockInformation(live);
    ASSERT_EQ(live.size(), 3u);
    EXPECT_EQ(panel.InfoTexts()[2].Text().toStdString(), live[0]);
    EXPECT_EQ(panel.InfoTexts()[7].Text().toStdString(), live[1]);
    EXPECT_EQ(panel.InfoTexts()[6].Text().toStdString(), live[2]);
    for (int i : {0, 1, 3, 4, 5, 8, 9}) EXPECT_EQ(panel.InfoTexts()[size_t(i)].Text(), "stale") << i;
    EXPECT_GT(panel.PaintCount(), paints);
}

TEST_F(GpuInfoPanel, ChoosingAnEntryMakesItsGpuTheOneInUseAndRefillsTheLabels) {
    CGpuInfoDlg& panel = open(infotest::twoGpuCard());
    chooseEntry(panel, 1);
    EXPECT_EQ(gpu::globalContext().selectedIndex, 1);
    EXPECT_EQ(panel.GpuMenu().Head().Text(), "2.Sim 460");
    expectLabelsShow(information());
    EXPECT_EQ(panel.InfoTexts()[1].Text(), "GDDR3");
    EXPECT_EQ(panel.InfoTexts()[5].Text(), "192Bit");
    EXPECT_EQ(m_hooks, (std::vector<std::string>{"changing 0", "changed 1"}));
    // The live refresh follows the chosen GPU too.
    panel.SendMessage(WM_TIMER, kGpuInfoTimer);
    EXPECT_EQ(panel.InfoTexts()[7].Text(), "900MHz");

    chooseEntry(panel, 1);  // the drop-down now offers the first GPU
    EXPECT_EQ(gpu::globalContext().selectedIndex, 0);
    EXPECT_EQ(panel.InfoTexts()[5].Text(), "256Bit");
    EXPECT_EQ(m_hooks.size(), 4u);
    EXPECT_TRUE(m_card->trace().empty());
}

TEST_F(GpuInfoPanel, AGpuWhoseNameIsRefusedIsLeftOutAndNeverShiftsTheChoice) {
    CGpuInfoDlg& panel = open(R"(<card frozen="1">
        <gpu name="First" busWidth="256"/>
        <gpu name="Second" busWidth="128"><fault interface="GPU_GetFullName" status="-1"/></gpu>
        <gpu name="Third" busWidth="384" vbios="third.bios"/></card>)");
    EXPECT_EQ(panel.GpuMenu().Items(), (QStringList{"1.First", "3.Third"}));
    chooseEntry(panel, 1);
    EXPECT_EQ(gpu::globalContext().selectedIndex, 2);  // the GPU the entry names, not the entry's place
    EXPECT_EQ(panel.InfoTexts()[5].Text(), "384Bit");
    EXPECT_EQ(panel.InfoTexts()[9].Text(), "third.bios");
    chooseEntry(panel, 1);
    EXPECT_EQ(gpu::globalContext().selectedIndex, 0);
}

TEST_F(GpuInfoPanel, ASingleGpuIsListedByNameAndAGpuWithoutNameLeavesAnEmptyList) {
    CGpuInfoDlg& single = open(R"(<card frozen="1"><gpu name="Only"/></card>)");
    EXPECT_EQ(single.GpuMenu().Items(), QStringList{"Only"});
    click(single, 220, 29);
    EXPECT_TRUE(single.GpuMenu().Entries().empty());
    EXPECT_TRUE(m_hooks.empty());
    TearDown();

    CGpuInfoDlg& nameless =
        open(R"(<card frozen="1"><gpu><fault interface="GPU_GetFullName" status="-1"/></gpu></card>)");
    EXPECT_TRUE(nameless.GpuMenu().Items().isEmpty());
    chooseEntry(nameless, 1);
    nameless.Compose();
    EXPECT_EQ(gpu::globalContext().selectedIndex, 0);
    EXPECT_EQ(nameless.InfoTexts()[9].Text(), "80.04.09.00.01");  // the facts are still shown
}

TEST_F(GpuInfoPanel, AReopenedPanelNamesTheGpuInUseAndOffersTheOthers) {
    open(infotest::twoGpuCard());
    chooseEntry(*m_panel, 1);
    ASSERT_EQ(gpu::globalContext().selectedIndex, 1);
    m_panel = std::make_unique<CGpuInfoDlg>(m_services);
    m_panel->Create();
    runEvents();
    EXPECT_EQ(m_panel->GpuMenu().Head().Text(), "2.Sim 460");
    EXPECT_EQ(m_panel->InfoTexts()[5].Text(), "192Bit");
    chooseEntry(*m_panel, 1);  // the one entry offered: the first GPU
    EXPECT_EQ(gpu::globalContext().selectedIndex, 0);
    EXPECT_EQ(m_panel->GpuMenu().Head().Text(), "1.Sim 680");
}

// The pixels where two compositions differ, as one rectangle.
QRect differing(const QImage& a, const QImage& b) {
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

QRect toQRect(const RECT& r) {
    return QRect(r.left, r.top, RectWidth(r), RectHeight(r));
}

TEST_F(GpuInfoPanel, ALongNameIsCutShortOnOneLineInsideItsControlAndWholeInTheTooltip) {
    const QString longName = "1.Vantrel Sim 4070 Ti SUPER Edition";
    CGpuInfoDlg& panel = open(R"(<card frozen="1"><gpu name="Vantrel Sim 4070 Ti SUPER Edition"/>)"
                              R"(<gpu name="Sim 460"/></card>)");
    CButtonEx& head = CMenuListProbe::head(panel.GpuMenu());
    ASSERT_EQ(head.Text(), longName);
    const QImage withName = panel.ComposeCopy();
    head.SetText({});
    const QRect ink = differing(withName, panel.ComposeCopy());
    head.SetText(longName);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(toQRect(head.Rect()).contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    EXPECT_LT(ink.height(), 18) << "more than one line";
    EXPECT_EQ(head.ToolTip(), longName);
    panel.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(220, 29));
    EXPECT_EQ(panel.toolTip(), longName);

    // The drop-down's entry and an information label follow the same rule; a name that fits has no tooltip.
    chooseEntry(panel, 1);
    ASSERT_EQ(head.Text(), "2.Sim 460");
    click(panel, 220, 29);  // open the list: its entry is the long name
    ASSERT_EQ(panel.GpuMenu().Entries().size(), 1u);
    EXPECT_EQ(panel.GpuMenu().Entries()[0]->ToolTip(), longName);
    panel.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(220, 29));
    EXPECT_TRUE(panel.toolTip().isEmpty());
    CStaticText& label = panel.InfoTexts()[4];
    const QImage before = panel.ComposeCopy();
    label.SetText("555.42.06 (open kernel modules, beta)");
    const QRect labelInk = differing(before, panel.ComposeCopy());
    EXPECT_TRUE(toQRect(label.Rect()).contains(labelInk));
    EXPECT_EQ(label.ToolTip(), label.Text());
}

TEST_F(GpuInfoPanel, BackEscapeAndAWindowSystemCloseAllAskTheMainWindowToCloseIt) {
    CGpuInfoDlg& panel = open(infotest::twoGpuCard());
    click(panel, 219, 215);
    panel.SendMessage(WM_KEYDOWN, VK_ESCAPE);
    panel.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    runEvents();
    EXPECT_EQ(m_main->commands,
              (std::vector<UINT>{ID_PANEL_GPUINFO_CLOSED, ID_PANEL_GPUINFO_CLOSED, ID_PANEL_GPUINFO_CLOSED}));
    EXPECT_TRUE(panel.IsWindowVisible());  // the main window decides
}

}  // namespace
