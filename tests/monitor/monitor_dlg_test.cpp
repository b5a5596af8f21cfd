// The monitor panel on the offscreen platform: the graphs it fills from the
// settings, its sampling and log rows, retuning while open, the synchronised
// cursor, and its place beside the main window.
#include "monitor/monitor_dlg.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app/vantrel_dlg.h"
#include "gpu/gpu_context.h"
#include "monitor/sensor_source.h"
#include "settings/settings_location.h"
#include "support/contrast.h"
#include "support/fake_main_window.h"
#include "support/sim_card.h"

struct CWaveformDisplayProbe {
    static void blankExtremes(CWaveformDisplay& graph) {
        graph.m_txtHighest.SetText({});
        graph.m_txtLowest.SetText({});
    }
};

namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// UTF-16LE bytes back to ASCII.
std::string ascii(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) out.push_back(bytes[i]);
    return out;
}

class MonitorPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("monitor_" + std::to_string(getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
        settings::setDocumentFolder(m_dir.string());
        writeSettings("0", "1");
    }
    void TearDown() override {
        if (m_panel) m_panel->DestroyWindow();
        m_panel.reset();
        settings::setDocumentFolder("");
        fs::remove_all(m_dir);
    }

    // GPU clock and memory clock flags as given, temperature and usage on, the rest off.
    void writeSettings(const char* gpuClock, const char* memoryClock, const std::string& extra = "") {
        std::ofstream(m_dir / "Vantrel.xml")
            << "<?xml version=\"1.0\"?><Vantrel><MonitoringDlg><RefreshRate>1000</RefreshRate>"
            << "<blLogToFile>1</blLogToFile><LogToFilePath>" << (m_dir / "log.txt").string()
            << "</LogToFilePath><GPUClock Max=\"3000\" Min=\"0\">" << gpuClock << "</GPUClock>"
            << "<MemoryClock Max=\"12000\" Min=\"0\">" << memoryClock << "</MemoryClock>"
            << "<GPUTemperature Max=\"100\" Min=\"0\">1</GPUTemperature><GPUUsage Max=\"100\" Min=\"0\">1"
            << "</GPUUsage><MemoryUsage Max=\"8192\" Min=\"0\">1</MemoryUsage>" << extra
            << "</MonitoringDlg></Vantrel>";
    }

    CMonitorDlg& open(monitor::SensorReader reader = {}) {
        m_panel = std::make_unique<CMonitorDlg>(
            m_services, [this] { return m_now; }, std::move(reader));
        m_panel->Create();
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();  // shown and exposed
        return *m_panel;
    }
    // Delivers what the panel posted to itself.
    void run() { QCoreApplication::sendPostedEvents(m_panel.get()); }
    void pointAt(int x, int y) { m_panel->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    int hovered() const {
        int n = 0;
        for (const CWaveformDisplay& g : m_panel->Graphs()) n += g.IsHover();
        return n;
    }

    fs::path m_dir;
    std::time_t m_now = 1361779503;
    testsupport::FakeMainWindow m_services;
    std::unique_ptr<CMonitorDlg> m_panel;
    std::map<int32_t, int32_t> m_readings = {{monitor::GPUClock, 1006},
                                             {monitor::MemoryClock, 3004},
                                             {monitor::GPUTemperature, 45},
                                             {monitor::GPUUsage, 0},
                                             {monitor::MemoryUsage, 2048}};
    monitor::SensorReader m_fake = [this](int32_t kind) { return m_readings[kind]; };
};

TEST_F(MonitorPanelTest, GraphsFollowTheActiveQuantitiesAndSamplingFeedsThemAndTheLog) {
    CMonitorDlg& panel = open(m_fake);
    EXPECT_EQ(panel.Graphs()[0].CaptionLabel().Text(), QStringLiteral("Memory Clock,MHz"));
    EXPECT_EQ(panel.Graphs()[3].CaptionLabel().Text(), QStringLiteral("Memory Usage,MB"));
    EXPECT_EQ(panel.Graphs()[0].MaxLabel().Text(), QStringLiteral("12000"));
    EXPECT_EQ(panel.TimerPeriod(kMonitorSampleTimer), 1000u);

    // Timer 500 makes graph 0 post its tick, which runs the step.
    panel.SendMessage(WM_TIMER, kMonitorSampleTimer);
    run();
    EXPECT_EQ(panel.Graphs()[0].Values(), std::vector<int>{3004});
    EXPECT_EQ(panel.Graphs()[2].Values(), std::vector<int>{0});  // a failed read shows 0
    EXPECT_EQ(panel.Graphs()[0].Times().front().count(':'), 2);

    // GPU clock is not shown: its column stays blank, as does the failed usage.
    const std::string log = ascii(readBytes(m_dir / "log.txt"));
    const std::string row = log.substr(log.rfind("\r\n", log.size() - 3) + 2);
    EXPECT_EQ(row.substr(20), std::string(17, ' ') + "3004" + std::string(16, ' ') + "45" +
                                  std::string(97 - 59, ' ') + "2048\r\n");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);

    // Logging off, or an unwritable path: the graphs go on, no row.
    panel.SetLogging(true, QString::fromStdString((m_dir / "missing" / "log.txt").string()));
    panel.SampleStep();
    panel.SetLogging(false, QString::fromStdString((m_dir / "log.txt").string()));
    panel.SampleStep();
    EXPECT_EQ(panel.Graphs()[0].Values().size(), 3u);
    EXPECT_EQ(ascii(readBytes(m_dir / "log.txt")), log);
    EXPECT_FALSE(fs::exists(m_dir / "missing"));
}

TEST_F(MonitorPanelTest, TheExtremesLabelsAreReadableOnThePanelBehindThem) {
    CMonitorDlg& panel = open(m_fake);
    for (CWaveformDisplay& graph : panel.Graphs()) {
        CWaveformDisplayProbe::blankExtremes(graph);
    }
    const QImage behind = panel.ComposeCopy();
    // The labels' colour laid over each pixel behind them, against that pixel.
    const auto worst = [&](const CStaticText& label) {
        const QRgb c = label.Colour();
        const double a = qAlpha(c) / 255.0;
        double lowest = 21;
        const RECT& r = label.Rect();
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const QRgb b = behind.pixel(x, y);
                const auto mix = [a](int fg, int bg) { return int(fg * a + bg * (1 - a) + 0.5); };
                const QRgb shown =
                    qRgb(mix(qRed(c), qRed(b)), mix(qGreen(c), qGreen(b)), mix(qBlue(c), qBlue(b)));
                lowest = std::min(lowest, testsupport::contrastRatio(shown, b));
            }
        return lowest;
    };
    for (size_t k = 0; k < panel.Graphs().size(); ++k) {
        EXPECT_GE(worst(panel.Graphs()[k].HighestLabel()), 4.5) << "Max: of graph " << k;
        EXPECT_GE(worst(panel.Graphs()[k].LowestLabel()), 4.5) << "Min: of graph " << k;
    }
}

TEST_F(MonitorPanelTest, RetuningKeepsTheHistoryOfGraphsThatKeepTheirQuantity) {
    CMonitorDlg& panel = open(m_fake);
    for (int i = 0; i < 3; ++i) panel.SampleStep();

    panel.SetRefreshRate(250);
    EXPECT_EQ(panel.TimerPeriod(kMonitorSampleTimer), 250u);
    EXPECT_EQ(panel.Graphs()[0].Values().size(), 3u);

    // GPU clock on: it takes graph 0, everything shifts down one graph.
    monitor::SensorEntries sensors{};
    sensors[monitor::GPUClock] = {true, 2500, 100};
    sensors[monitor::GPUTemperature] = {true, 110, 10};
    sensors[monitor::GPUUsage] = {true, 100, 0};
    sensors[monitor::MemoryUsage] = {true, 4096, 0};
    sensors[monitor::FanSpeed] = {true, 100, 0};  // fifth: ignored
    panel.AssignGraphs(sensors);
    EXPECT_TRUE(panel.Graphs()[0].Values().empty());
    EXPECT_EQ(panel.Graphs()[0].CaptionLabel().Text(), QStringLiteral("GPU Clock,MHz"));
    EXPECT_EQ(panel.Graphs()[1].Values().size(), 3u);  // temperature stays in graph 1
    EXPECT_EQ(panel.Graphs()[1].MaxLabel().Text(), QStringLiteral("110"));
    EXPECT_EQ(panel.Graphs()[3].Values().size(), 3u);
    EXPECT_EQ(panel.Graphs()[3].Max(), 4096);
    panel.SampleStep();
    EXPECT_EQ(panel.Graphs()[0].Values(), std::vector<int>{1006});
    EXPECT_EQ(panel.Slots()[0].kind, monitor::GPUClock);
}

TEST_F(MonitorPanelTest, CursorShowsOnAllFourGraphsAndGoesWhenThePointerLeavesThem) {
    CMonitorDlg& panel = open(m_fake);
    for (int i = 0; i < 20; ++i) panel.SampleStep();
    const int x = 300;
    pointAt(x, 250);  // into graph 1
    EXPECT_EQ(hovered(), 4);
    for (const CWaveformDisplay& g : panel.Graphs()) EXPECT_EQ(g.MousePoint().x, x);
    const QImage shown = panel.surface();  // what the last paint left on screen
    // The dash-dot line in the upper half of every graph's column x.
    for (const CWaveformDisplay& g : panel.Graphs()) {
        int grey = 0;
        for (int y = g.Rect().top; y < g.Rect().top + 30; ++y) grey += shown.pixel(x, y) == 0xFFBCBCBC;
        EXPECT_GT(grey, 5) << g.Rect().top;
    }

    pointAt(x, 180);  // between graphs 1 and 0: no graph under the pointer
    EXPECT_EQ(hovered(), 0);
    const QImage gone = panel.surface();
    for (const CWaveformDisplay& g : panel.Graphs()) {
        int grey = 0;
        for (int y = g.Rect().top; y < g.Rect().top + 30; ++y) grey += gone.pixel(x, y) == 0xFFBCBCBC;
        EXPECT_EQ(grey, 0) << g.Rect().top;
    }
    pointAt(100, 100);
    EXPECT_EQ(hovered(), 4);
    pointAt(340, 100);  // right of the graphs
    EXPECT_EQ(hovered(), 0);
}

TEST_F(MonitorPanelTest, ReadingsComeFromTheGpuTheProgramWorksOn) {
    testsupport::SimCard card(
        "<card frozen=\"1\"><gpu><clocks base=\"1000\" boost=\"1100\" memory=\"5000\"/></gpu>"
        "<gpu><clocks base=\"1500\" boost=\"1600\" memory=\"7000\"/></gpu></card>");
    gpu::GpuContext context;
    gpu::GlobalContextScope scope(context);
    ASSERT_EQ(context.count, 2);
    const int32_t first = monitor::readSensor(monitor::MemoryClock);
    context.selectedIndex = 1;
    const int32_t second = monitor::readSensor(monitor::MemoryClock);
    EXPECT_GT(first, 0);
    EXPECT_NE(first, second);
    CMonitorDlg& panel = open();
    panel.SampleStep();
    EXPECT_EQ(panel.Graphs()[0].Values(), std::vector<int>{second});
}

TEST_F(MonitorPanelTest, MainWindowOpensOnePanelDockedBesideItAndClosesItOn1027) {
    CVantrelDlg main;
    main.Create();
    main.SetWindowPos(100, 50, 475, 440, SWP_NOZORDER);
    main.SendMessage(WM_COMMAND, IDC_MAIN_MONITOR);
    ASSERT_NE(main.MonitorPanel(), nullptr);
    CDialogBase* panel = main.MonitorPanel();
    const RECT r = panel->GetWindowRect();
    EXPECT_EQ(r.left, 100 + 475 - 20);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(RectWidth(r), kMonitorWidth);
    EXPECT_EQ(RectHeight(r), kMonitorHeight);
    main.SendMessage(WM_COMMAND, IDC_MAIN_MONITOR);
    EXPECT_EQ(main.MonitorPanel(), panel);

    // The close button asks the main window, which destroys the panel.
    panel->SendMessage(WM_COMMAND, IDC_MONITOR_CLOSE);
    QCoreApplication::sendPostedEvents(&main);
    EXPECT_EQ(main.MonitorPanel(), nullptr);
    main.DestroyWindow();
}

}  // namespace
