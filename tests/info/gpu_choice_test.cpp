// The choice of GPU through the main window: the panel it opens, and every GPU
// operation of the program on the chosen GPU afterwards.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/quick_sight.h"
#include "app/vantrel_dlg.h"
#include "gpu/driver_binding.h"
#include "gpu/readings.h"
#include "gpu/tuning.h"
#include "info/gpu_info_dlg.h"
#include "info_fixture.h"
#include "monitor/sensor_kind.h"
#include "monitor/sensor_source.h"
#include "settings/settings_location.h"
#include "support/sim_card.h"

namespace {

namespace fs = std::filesystem;
using infotest::chooseEntry;
using infotest::runEvents;

class GpuChoice : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("gpuchoice_" + std::to_string(getpid()));
        fs::create_directories(m_dir);
        settings::setDocumentFolder(m_dir.string());
        // The fan curve on, ticking only when the test says so; the left gauge shows the GPU clock.
        std::ofstream(m_dir / "Vantrel.xml")
            << "<?xml version=\"1.0\" "
               "encoding=\"UTF-8\"?>\n<Vantrel><GeneralDlg><StartMinized>0</StartMinized>"
            << "<UpadteCheck>0</UpadteCheck></GeneralDlg><FanDlg><EnableFan>1</EnableFan><AutoSystem>1"
            << "</AutoSystem><UpdateTime>3600000</UpdateTime><FanMap OneX=\"30\" OneY=\"30\" TwoX=\"50\" "
            << "TwoY=\"40\" ThreeX=\"60\" ThreeY=\"50\" FourX=\"70\" FourY=\"60\" FiveX=\"75\" FiveY=\"70\" "
            << "SixX=\"80\" SixY=\"80\" SeverX=\"85\" SeverY=\"90\" EightX=\"90\" EightY=\"100\" "
               "blLine=\"0\"/>"
            << "</FanDlg><QuickSightSettingsDlg><Left>0</Left><Right>2</Right></QuickSightSettingsDlg>"
            << "<UIDlg><SaveToFilePath></SaveToFilePath><HotKey VirtualKeyCode=\"0\" Modifiers=\"0\"/>"
            << "</UIDlg></Vantrel>\n";
        m_card = std::make_unique<testsupport::SimCard>(infotest::twoGpuCard());
        m_context = std::make_unique<gpu::GpuContext>();
        m_scope = std::make_unique<gpu::GlobalContextScope>(*m_context);
        m_window = std::make_unique<CVantrelDlg>();
        m_window->Create();
        runEvents();
    }
    void TearDown() override {
        m_window.reset();
        m_scope.reset();
        m_context.reset();
        m_card.reset();
        settings::setDocumentFolder("");
        fs::remove_all(m_dir);
    }

    CGpuInfoDlg* panel() const { return static_cast<CGpuInfoDlg*>(m_window->GpuInfoPanel()); }
    void fanTick() { m_window->SendMessage(WM_TIMER, kFanTimer); }

    fs::path m_dir;
    std::unique_ptr<testsupport::SimCard> m_card;
    std::unique_ptr<gpu::GpuContext> m_context;
    std::unique_ptr<gpu::GlobalContextScope> m_scope;
    std::unique_ptr<CVantrelDlg> m_window;
};

TEST_F(GpuChoice, TheButtonOpensOnePanelThatFollowsTheMainWindowAndClosesOnItsCommand) {
    m_window->SendMessage(WM_COMMAND, IDC_MAIN_GPUINFO);
    CGpuInfoDlg* first = panel();
    ASSERT_NE(first, nullptr);
    m_window->SendMessage(WM_COMMAND, IDC_MAIN_GPUINFO);
    EXPECT_EQ(panel(), first);

    m_window->SetWindowPos(300, 120, 475, 440, SWP_NOZORDER);
    m_window->SendMessage(WM_MOVE, 0, MAKELPARAM(300, 120));
    const RECT r = first->GetWindowRect();
    EXPECT_EQ(r.left, 315);
    EXPECT_EQ(r.top, 120 + 440 - 5);

    infotest::click(*first, 219, 215);  // Back
    EXPECT_EQ(m_window->GpuInfoPanel(), nullptr);
}

TEST_F(GpuChoice, AfterChoosingGpu2EveryReadingAndWriteActsOnItAndClosingThePanelTouchesNothing) {
    fanTick();
    ASSERT_EQ(m_card->trace().size(), 1u);
    EXPECT_EQ(m_card->trace()[0].rfind("GPU_SetCoolerLevels gpu=0 ", 0), 0u);

    m_window->SendMessage(WM_COMMAND, IDC_MAIN_GPUINFO);
    chooseEntry(*panel(), 1);
    ASSERT_EQ(gpu::globalContext().selectedIndex, 1);
    // The curve lets go of the first GPU's fan, which nothing would hand back later.
    EXPECT_EQ(m_card->trace().back(), "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0");
    m_card->clearTrace();

    fanTick();  // 65 °C on the second GPU: 55 %
    gpu::setPowerTarget(100);
    gpu::setGpuClockOffset(10);
    const std::vector<std::string> writes = m_card->trace();
    ASSERT_EQ(writes.size(), 4u);  // fan, power, overclocked P-states enabled, clock offset
    EXPECT_EQ(writes[0], "GPU_SetCoolerLevels gpu=1 target=7 level0=55 policy0=1 status=0");
    for (const std::string& line : writes) EXPECT_NE(line.find(" gpu=1 "), std::string::npos) << line;

    int32_t clocks[3] = {};
    ASSERT_TRUE(gpu::readClocks(gpu::globalContext(), clocks, 1));
    EXPECT_EQ(clocks[0], 675);
    m_window->UpdateQuickSight(true);
    EXPECT_EQ(m_window->Gauge(0).Pos(), app::sampleQuickSight(app::kSightGpuClock));
    EXPECT_LT(m_window->Gauge(0).Pos(), 900);  // the second GPU's clock, not the first's 1006+
    EXPECT_EQ(monitor::readSensor(monitor::GPUClock), m_window->Gauge(0).Pos());  // the monitor panel too

    // Closing the panel: no hand-back, no unload, the fan stays where the curve put it.
    m_card->clearTrace();
    m_window->SendMessage(WM_COMMAND, ID_PANEL_GPUINFO_CLOSED);
    EXPECT_TRUE(m_card->trace().empty());
    EXPECT_TRUE(gpu::DriverBinding::isLoaded());
    EXPECT_EQ(gpu::DriverBinding::users(), 1);
    int32_t fan[4] = {};
    ASSERT_TRUE(gpu::readFanStatus(fan));
    EXPECT_EQ(fan[2], 55);
    EXPECT_EQ(gpu::globalContext().selectedIndex, 1);  // the choice outlives the panel
}

}  // namespace
