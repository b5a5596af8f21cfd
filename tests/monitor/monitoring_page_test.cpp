// The Monitoring page offscreen in the settings window, on a settings document
// of the test's own, and its commit into the document and an open monitor panel.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "monitor/monitor_dlg.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/up_down_edit.h"
#include "settings/settings_location.h"
#include "setup/monitoring_dlg.h"
#include "setup/set_dlg.h"
#include "support/fake_main_window.h"

namespace {

namespace fs = std::filesystem;
using setup::CSetDlg;

std::vector<std::string> g_boxes;

// Which of the ten quantities are active, as "1" / "0" texts in SensorKind order.
constexpr const char* kElements[] = {"GPUClock",    "MemoryClock", "GPUTemperature", "GPUUsage",
                                     "MemoryUsage", "GPUVoltage",  "FanSpeed",       "FanTachometer",
                                     "PowerTarget", "ShaderClock"};

class MonitoringPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantrel-monpage-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        settings::setDocumentFolder(m_dir.string());
        g_boxes.clear();
    }
    void TearDown() override {
        m_window.reset();
        if (m_panel) m_panel->DestroyWindow();
        m_panel.reset();
        platform::setFileDialogHandler({});
        settings::setDocumentFolder("");
        fs::remove_all(m_dir);
    }

    void write(const std::string& active, const std::string& logPath = "old.txt") {
        std::ofstream out(m_dir / "Vantrel.xml");
        out << "<?xml version=\"1.0\"?>\n<Vantrel><MonitoringDlg><RefreshRate>1000</RefreshRate>"
            << "<blLogToFile>0</blLogToFile><LogToFilePath>" << logPath << "</LogToFilePath>";
        for (int k = 0; k < 10; ++k)
            out << "<" << kElements[k] << " Max=\"" << (k + 1) * 100 << "\" Min=\"" << k << "\">"
                << active[size_t(k)] << "</" << kElements[k] << ">";
        out << "</MonitoringDlg></Vantrel>\n";
    }
    std::string document() const {
        std::ifstream in(m_dir / "Vantrel.xml", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    CMonitoringDlg& open(const std::string& active) {
        write(active);
        m_window = std::make_unique<CSetDlg>(m_host);
        m_window->Create();
        m_window->SelectTab(CSetDlg::kMonitoring);
        run();
        return *m_window->MonitoringPage();
    }
    static void run() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    QTreeWidgetItem* row(int r) { return m_window->MonitoringPage()->SensorList()->topLevelItem(r); }
    void tick(int r, bool on) {
        m_window->MonitoringPage()->SensorList()->setCurrentItem(row(r));  // a click selects the row too
        row(r)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
        run();
    }
    std::string ticks() {
        std::string s;
        for (int r = 0; r < 10; ++r) s += row(r)->checkState(0) == Qt::Checked ? '1' : '0';
        return s;
    }

    fs::path m_dir;
    testsupport::FakeMainWindow m_host;
    std::unique_ptr<CSetDlg> m_window;
    std::unique_ptr<CMonitorDlg> m_panel;
};

TEST_F(MonitoringPageTest, UntickingOneOfFourTicksTheFirstFreeRowFromTheTopOnce) {
    CMonitoringDlg& page = open("1111000000");
    EXPECT_EQ(page.SensorList()->topLevelItemCount(), 10);
    EXPECT_EQ(row(9)->text(0), "Shader clock");
    tick(2, false);  // the first free row is the one just unticked
    EXPECT_EQ(g_boxes, std::vector<std::string>{"Please select at least four"});
    EXPECT_EQ(ticks(), "1111000000");

    g_boxes.clear();
    tick(5, true);
    tick(0, false);  // five ticked: no box
    EXPECT_TRUE(g_boxes.empty());
    tick(3, false);  // four again, row 0 comes back
    EXPECT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(ticks(), "1110010000");
    for (int r = 0; r < 10; ++r) EXPECT_EQ(page.Sensor(size_t(r)).active, ticks()[size_t(r)] == '1') << r;
}

TEST_F(MonitoringPageTest, LimitsFollowTheSelectedRowAndEveryVisitStartsOnGpuClock) {
    write("1111000000");
    m_window = std::make_unique<CSetDlg>(m_host);
    m_window->Create();
    CMonitoringDlg& page = *m_window->MonitoringPage();
    // Before the first visit no row owns the edits: typing stores nothing.
    EXPECT_EQ(page.MaxSpin()->text(), "100");
    page.MaxSpin()->setText("777");
    run();
    EXPECT_EQ(page.Sensor(0).max, "100");

    m_window->SelectTab(CSetDlg::kMonitoring);
    run();
    EXPECT_EQ(page.SensorList()->currentIndex().row(), 0);
    EXPECT_EQ(page.MaxSpin()->text(), "100");
    page.MaxSpin()->setText("4500");
    page.SensorList()->setCurrentItem(row(6));  // unticked: the limits are shown but locked
    run();
    EXPECT_EQ(page.Sensor(0).max, "4500");
    EXPECT_EQ(page.MaxSpin()->text(), "700");
    EXPECT_FALSE(page.MaxSpin()->isEnabled());
    EXPECT_FALSE(page.MinSpin()->isEnabled());
    row(6)->setCheckState(0, Qt::Checked);
    run();
    EXPECT_TRUE(page.MaxSpin()->isEnabled());
    page.MinSpin()->stepBy(3);
    run();
    EXPECT_EQ(page.Sensor(6).min, "9");
    EXPECT_EQ(page.Sensor(0).max, "4500");

    m_window->SelectTab(CSetDlg::kGeneral);
    m_window->SelectTab(CSetDlg::kMonitoring);
    run();
    EXPECT_EQ(page.SensorList()->currentIndex().row(), 0);
    EXPECT_EQ(page.MaxSpin()->text(), "4500");
    EXPECT_TRUE(page.MaxSpin()->isEnabled());
}

TEST_F(MonitoringPageTest, PeriodSpinStaysInItsRangeAndTheTypedTextIsKept) {
    CMonitoringDlg& page = open("1111000000");
    platform::UpDownEdit& spin = *page.RefreshRateSpin();
    spin.setText("150");
    spin.stepBy(1);
    EXPECT_EQ(spin.text(), "250");
    spin.stepBy(-5);
    EXPECT_EQ(spin.text(), "100");
    spin.setText("59950");
    spin.stepBy(1);
    EXPECT_EQ(spin.text(), "60000");
    spin.setText("");
    EXPECT_EQ(page.Values().refreshRate, "");
    QString letters = "12a";
    int pos = 0;
    EXPECT_EQ(spin.validate(letters, pos), QValidator::Invalid);
}

TEST_F(MonitoringPageTest, BrowseAsksForATextFileAndCancelKeepsThePath) {
    CMonitoringDlg& page = open("1111000000");
    EXPECT_FALSE(page.LogPathEdit()->isEnabled());
    page.LogToFileBox()->click();
    run();
    EXPECT_TRUE(page.LogPathEdit()->isEnabled());

    platform::FileDialogRequest seen;
    std::optional<std::string> answer;
    platform::setFileDialogHandler([&](const platform::FileDialogRequest& r) {
        seen = r;
        return answer;
    });
    page.BrowseButton()->click();
    run();
    EXPECT_EQ(seen.kind, platform::FileDialogRequest::Kind::Save);
    EXPECT_EQ(seen.initialPath, "Vantrel.txt");
    EXPECT_EQ(seen.filter, "txt|*.txt|All fils|*.*||");
    EXPECT_EQ(page.LogPathEdit()->text(), "old.txt");
    answer = "/home/u/new log.txt";
    page.BrowseButton()->click();
    run();
    EXPECT_EQ(page.LogPathEdit()->text(), "/home/u/new log.txt");
}

TEST_F(MonitoringPageTest, OkStoresTheTextsAsTypedAndRetunesTheOpenPanel) {
    write("1111000000");
    int reads = 0;
    m_panel = std::make_unique<CMonitorDlg>(
        m_host, [] { return std::time_t(0); }, [&](int32_t kind) { return kind * 10 + (++reads % 2); });
    m_panel->Create();
    for (int i = 0; i < 3; ++i) m_panel->SampleStep();
    m_host.monitorPanel = m_panel.get();
    m_host.retuneMonitor = [this](const monitor::MonitorSettings& settings) { m_panel->Retune(settings); };

    CMonitoringDlg& page = open("1111000000");
    tick(5, true);   // a fifth active quantity: stored, no graph
    tick(1, false);  // graph 1 moves from the memory clock to the temperature
    page.SensorList()->setCurrentItem(row(3));
    run();
    page.MaxSpin()->setText("080");  // as typed
    page.RefreshRateSpin()->setText("200");
    page.LogToFileBox()->setChecked(true);
    const fs::path log = m_dir / "new.txt";
    page.LogPathEdit()->setText(QString::fromStdString(log.string()));
    run();
    m_window->SendMessage(WM_COMMAND, IDOK);

    const std::string after = document();
    EXPECT_NE(after.find("<RefreshRate>200</RefreshRate><blLogToFile>1</blLogToFile>"), std::string::npos)
        << after;
    EXPECT_NE(after.find("<MemoryClock Max=\"200\" Min=\"1\">0</MemoryClock>"), std::string::npos) << after;
    EXPECT_NE(after.find("<GPUUsage Max=\"080\" Min=\"3\">1</GPUUsage>"), std::string::npos) << after;
    EXPECT_NE(after.find("<GPUVoltage Max=\"600\" Min=\"5\">1</GPUVoltage>"), std::string::npos) << after;

    CMonitorDlg& panel = *m_panel;
    EXPECT_EQ(panel.RefreshRate(), 200);
    EXPECT_EQ(panel.TimerPeriod(kMonitorSampleTimer), 200u);
    EXPECT_TRUE(panel.LogsToFile());
    EXPECT_EQ(panel.LogPath().toStdString(), log.string());
    const int32_t kinds[] = {monitor::GPUClock, monitor::GPUTemperature, monitor::GPUUsage,
                             monitor::GPUVoltage};
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(panel.Slots()[k].kind, kinds[k]) << k;
    EXPECT_EQ(panel.Graphs()[0].Values().size(), 3u);  // kept its quantity and history
    EXPECT_TRUE(panel.Graphs()[1].Values().empty());
    EXPECT_TRUE(panel.Graphs()[2].Values().empty());
    EXPECT_EQ(panel.Graphs()[3].Values().size(), 0u);
    EXPECT_EQ(panel.Graphs()[2].Max(), 80);
    panel.SampleStep();
    EXPECT_TRUE(fs::exists(log));
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    platform::setMessageBoxHandler([](const std::string& text, const std::string&, UINT) {
        g_boxes.push_back(text);
        return IDOK;
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
