// The main window on the offscreen platform, on a simulated card whose writes are traced.
#include "app/vantrel_dlg.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/quit_signals.h"
#include "gpu/gpu_context.h"
#include "platform/message_box.h"
#include "platform/qt_message_box.h"
#include "platform/tray_icon.h"
#include "settings/settings_location.h"
#include "settings/settings_reader.h"
#include "support/main_window_probe.h"
#include "support/sim_card.h"
#include "support/spin_until.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kRestoreLine = "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0";

std::string coolerLine(int level) {
    return "GPU_SetCoolerLevels gpu=0 target=7 level0=" + std::to_string(level) + " policy0=1 status=0";
}

// The typical card pinned at one temperature, optionally with a thermal-read fault.
std::string card(int celsius, const std::string& extra = "") {
    std::ostringstream s;
    s << "<card frozen=\"1\"><gpu><temperature initial=\"" << celsius << "\" fixed=\"" << celsius << "\"/>"
      << "<coolers><cooler level=\"40\" defaultMin=\"30\" defaultPolicy=\"32\" policy=\"32\"/></coolers>"
      << extra << "</gpu></card>";
    return s.str();
}

struct Settings {
    std::string startMinimized = "0";
    std::string enableFan = "0";
    std::string autoSystem = "0";
    std::string updateTime = "1000";
    std::string fanMap =
        R"(OneX="30" OneY="30" TwoX="50" TwoY="40" ThreeX="60" ThreeY="55" FourX="70" FourY="60" )"
        R"(FiveX="75" FiveY="70" SixX="80" SixY="80" SeverX="85" SeverY="90" EightX="90" EightY="100" blLine="0")";
    std::string left = "0";
    std::string right = "2";
    std::string screenshotFolder;
};

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("mainwin_" + std::to_string(getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
        settings::setDocumentFolder(m_dir.string());
    }
    void TearDown() override {
        m_window.reset();
        m_scope.reset();
        m_context.reset();
        m_card.reset();
        settings::setDocumentFolder("");
        fs::remove_all(m_dir);
    }

    void writeSettings(const Settings& s) {
        std::ofstream(m_dir / "Vantrel.xml")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Vantrel>\n<Version>1</Version>\n"
            << "<GeneralDlg><StartMinized>" << s.startMinimized
            << "</StartMinized><UpadteCheck>0</UpadteCheck>"
            << "</GeneralDlg>\n<FanDlg><EnableFan>" << s.enableFan << "</EnableFan><AutoSystem>"
            << s.autoSystem << "</AutoSystem><UpdateTime>" << s.updateTime << "</UpdateTime><FanMap "
            << s.fanMap << "/></FanDlg>\n<QuickSightSettingsDlg><Left>" << s.left << "</Left><Right>"
            << s.right << "</Right></QuickSightSettingsDlg>\n<UIDlg><SaveToFilePath>" << s.screenshotFolder
            << "</SaveToFilePath><HotKey VirtualKeyCode=\"0\" Modifiers=\"0\"/></UIDlg>\n</Vantrel>\n";
    }

    // Opens the window (modeless) on a card at `celsius`.
    CVantrelDlg& open(const Settings& s, const std::string& cardXml) {
        writeSettings(s);
        m_card = std::make_unique<testsupport::SimCard>(cardXml);
        m_context = std::make_unique<gpu::GpuContext>();
        m_scope = std::make_unique<gpu::GlobalContextScope>(*m_context);
        m_window = std::make_unique<CVantrelDlg>();
        m_window->Create();
        runEvents();  // shown and exposed
        return *m_window;
    }

    std::vector<std::string> trace() const { return m_card->trace(); }
    std::string enableFanOnDisk() const {
        return settings::SettingsReader((m_dir / "Vantrel.xml").string()).text("/Vantrel/FanDlg/EnableFan");
    }
    static void runEvents() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

    fs::path m_dir;
    std::unique_ptr<testsupport::SimCard> m_card;
    std::unique_ptr<gpu::GpuContext> m_context;
    std::unique_ptr<gpu::GlobalContextScope> m_scope;
    std::unique_ptr<CVantrelDlg> m_window;
};

TEST_F(MainWindowTest, OpensCentredWithItsControlsAndTimers) {
    CVantrelDlg& w = open({}, card(45));
    const RECT r = w.GetWindowRect();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(r.left, screen.width() / 2 - 237);
    EXPECT_EQ(r.top, screen.height() / 2 - 220);
    EXPECT_EQ(RectWidth(r), 475);
    EXPECT_EQ(RectHeight(r), 440);
    EXPECT_TRUE(w.IsWindowVisible());
    EXPECT_EQ(w.TimerPeriod(kEyeTimer), 150u);
    EXPECT_EQ(w.Eye().FrameCount(), 13);
    EXPECT_EQ(w.Eye().TimerID(), kEyeTimer);
    EXPECT_FALSE(w.ClockLockButton().IsEnabled());
    EXPECT_EQ(w.Controls().size(), 10u);
    EXPECT_FALSE(w.HasTimer(kFanTimer));
    EXPECT_EQ(w.FanControl(), CVantrelDlg::kFanUnknown);
    EXPECT_EQ(w.Gauge(0).ScaleRects()[0], QRectF(74, 319, 30, 10));
    EXPECT_EQ(w.Gauge(1).ScaleRects()[4], QRectF(372, 69, 30, 10));
    EXPECT_TRUE(trace().empty());  // opening writes nothing to the card
}

TEST_F(MainWindowTest, QuickSightRangesAndSamples) {
    Settings s;
    s.left = "0";
    s.right = "5";
    CVantrelDlg& w = open(s, card(45));
    EXPECT_EQ(w.Gauge(0).Max(), 4000);
    EXPECT_EQ(w.Gauge(1).Max(), 2500);
    EXPECT_EQ(w.Gauge(1).ScaleTexts()[1], "625");
    w.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MAIN_EYE, 0x0113));
    EXPECT_GT(w.Gauge(0).Pos(), 0);  // graphics MHz
    EXPECT_GT(w.Gauge(1).Pos(), 0);  // mV
    EXPECT_LT(w.Gauge(1).Pos(), 2500);

    // A hand-edited choice outside 0..5 leaves that gauge as it was.
    w.SetQuickSight(0, 9);
    CVantrelDlgProbe::gauge(w, 0).SetPos(17);
    w.UpdateQuickSight(false);
    w.UpdateQuickSight(true);
    EXPECT_EQ(w.Gauge(0).Max(), 4000);
    EXPECT_EQ(w.Gauge(0).Pos(), 17);
}

TEST_F(MainWindowTest, EyeTimerSamplesThroughTheEyeNotification) {
    Settings s;
    s.right = "3";  // GPU load
    CVantrelDlg& w = open(s, card(45, R"(<load gpu="50" frameBuffer="20"/>)"));
    // The test delivers the ticks; on a slow machine the running timer may already have moved the eye.
    w.KillTimer(kEyeTimer);
    const int first = w.Eye().Frame();
    const int paints = w.PaintCount();
    w.SendMessage(WM_TIMER, kEyeTimer);
    EXPECT_EQ(w.Eye().Frame(), (first + 1) % 13);
    EXPECT_EQ(w.PaintCount(), paints + 1);  // each frame is composed at once
    runEvents();                            // the eye's posted tick notification
    EXPECT_EQ(w.Gauge(1).Pos(), 50);
    for (int i = 0; i < 12; ++i) w.SendMessage(WM_TIMER, kEyeTimer);
    EXPECT_EQ(w.Eye().Frame(), first);  // 13 frames, wrapped
}

TEST_F(MainWindowTest, FanCurveWritesTheCurveLevelOnEveryTick) {
    Settings s;
    s.enableFan = "1";
    s.updateTime = "60000ms";  // long enough that a slow machine cannot tick while the window opens
    CVantrelDlg& w = open(s, card(45));
    EXPECT_EQ(w.FanControl(), CVantrelDlg::kFanCurve);
    EXPECT_EQ(w.TimerPeriod(kFanTimer), 60000u);
    EXPECT_TRUE(trace().empty());  // the first level comes one period later
    w.SendMessage(WM_TIMER, kFanTimer);
    w.SendMessage(WM_TIMER, kFanTimer);
    EXPECT_EQ(trace(), (std::vector<std::string>{coolerLine(37), coolerLine(37)}));
}

TEST_F(MainWindowTest, FanCurveFormsOnTheCard) {
    Settings s;
    s.enableFan = "1";
    CVantrelDlg& w = open(s, card(55));
    w.SendMessage(WM_TIMER, kFanTimer);
    EXPECT_EQ(trace().back(), coolerLine(47));
    // Stepped form, reloaded by a settings application.
    s.fanMap =
        R"(OneX="30" OneY="30" TwoX="50" TwoY="50" ThreeX="60" ThreeY="60" FourX="70" FourY="70" )"
        R"(FiveX="75" FiveY="75" SixX="80" SixY="80" SeverX="85" SeverY="90" EightX="90" EightY="100" blLine="1")";
    writeSettings(s);
    w.ReadSettings(false);
    EXPECT_TRUE(w.FanCurve().stepped());
    w.SendMessage(WM_TIMER, kFanTimer);
    EXPECT_EQ(trace().back(), coolerLine(50));
}

TEST_F(MainWindowTest, FallingSegment) {
    Settings s;
    s.enableFan = "1";
    s.fanMap =
        R"(OneX="30" OneY="30" TwoX="60" TwoY="80" ThreeX="70" ThreeY="60" FourX="80" FourY="90" )"
        R"(FiveX="85" FiveY="95" SixX="90" SixY="96" SeverX="95" SeverY="97" EightX="100" EightY="100" blLine="0")";
    CVantrelDlg& w = open(s, card(65));
    w.SendMessage(WM_TIMER, kFanTimer);
    EXPECT_EQ(trace().back(), coolerLine(70));
}

TEST_F(MainWindowTest, SwitchingTheCurveOffHandsTheFanBackOnce) {
    Settings s;
    s.enableFan = "1";
    CVantrelDlg& w = open(s, card(45));
    app::MainWindowServices& main = w;  // as the clock panel and the settings window do it
    main.SetFanControl(app::MainWindowServices::kFanOff);
    main.ReadSettings(false);
    EXPECT_FALSE(w.HasTimer(kFanTimer));
    EXPECT_FALSE(w.FanTimerRunning());
    EXPECT_EQ(trace(), (std::vector<std::string>{kRestoreLine}));
    w.ReadSettings(false);  // not running: nothing more
    EXPECT_EQ(trace().size(), 1u);
}

TEST_F(MainWindowTest, FailedTemperatureReadsHandTheFanBackAfterThree) {
    Settings s;
    s.enableFan = "1";
    CVantrelDlg& w =
        open(s, card(45, R"(<fault interface="GPU_GetThermalSettings" status="-1" after="1" times="4"/>)"));
    for (int i = 0; i < 6; ++i) w.SendMessage(WM_TIMER, kFanTimer);
    // Tick 1 reads; ticks 2 to 5 fail (the third failure hands back); tick 6 reads again.
    EXPECT_EQ(trace(), (std::vector<std::string>{coolerLine(37), kRestoreLine, coolerLine(37)}));
}

TEST_F(MainWindowTest, NegativePeriodRunsAsFastAsAllowed) {
    Settings s;
    s.enableFan = "1";
    s.updateTime = "-5";
    CVantrelDlg& w = open(s, card(45));
    EXPECT_EQ(w.TimerPeriod(kFanTimer), 10u);
}

TEST_F(MainWindowTest, CloseWritesTheAutoEnableFlagAndHandsTheFanBack) {
    Settings s;
    s.enableFan = "1";
    s.autoSystem = "1";  // the Fan page's box, never opened in this run
    CVantrelDlg& w = open(s, card(45));
    w.SendMessage(WM_CLOSE);
    EXPECT_EQ(enableFanOnDisk(), "1");
    EXPECT_EQ(trace(), (std::vector<std::string>{kRestoreLine}));
    EXPECT_FALSE(w.HasTimer(kFanTimer));

    m_window.reset();
    s.autoSystem = "0";
    writeSettings(s);
    m_window = std::make_unique<CVantrelDlg>();
    m_window->Create();
    m_window->SendMessage(WM_CLOSE);
    EXPECT_EQ(enableFanOnDisk(), "0");
}

TEST_F(MainWindowTest, EscapeTakesTheClosePath) {
    Settings s;
    s.autoSystem = "1";
    s.enableFan = "0";
    writeSettings(s);
    m_card = std::make_unique<testsupport::SimCard>(card(45));
    m_context = std::make_unique<gpu::GpuContext>();
    m_scope = std::make_unique<gpu::GlobalContextScope>(*m_context);
    m_window = std::make_unique<CVantrelDlg>();
    m_window->PostMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(m_window->DoModal(), IDCANCEL);
    EXPECT_EQ(enableFanOnDisk(), "1");
    EXPECT_EQ(trace(), (std::vector<std::string>{kRestoreLine}));
}

TEST_F(MainWindowTest, CloseButtonAndSystemCloseWithoutTray) {
    CVantrelDlg& w = open({}, card(45));
    w.SendMessage(WM_COMMAND, IDC_MAIN_CLOSE);
    EXPECT_TRUE(trace().empty());  // posted, not yet handled
    runEvents();
    EXPECT_EQ(trace(), (std::vector<std::string>{kRestoreLine}));
    EXPECT_FALSE(w.IsWindowVisible());
}

TEST_F(MainWindowTest, MinimisingAndMovingTouchNothing) {
    CVantrelDlg& w = open({}, card(45));
    const auto before = fs::last_write_time(m_dir / "Vantrel.xml");
    w.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    w.SendMessage(WM_COMMAND, IDC_MAIN_MIN);
    w.SetWindowPos(10, 20, 475, 440, SWP_NOZORDER);
    runEvents();
    EXPECT_TRUE(trace().empty());
    EXPECT_EQ(fs::last_write_time(m_dir / "Vantrel.xml"), before);
}

// Nobody sees a minimised window: the eye and its sampling stop, the fan curve
// does not; shown again, the gauges show current values at once.
TEST_F(MainWindowTest, MinimisedTheEyeStopsAndTheFanCurveGoesOn) {
    Settings s;
    s.enableFan = "1";
    s.updateTime = "10";
    s.right = "3";  // GPU load
    CVantrelDlg& w = open(s, card(45, R"(<load gpu="50" frameBuffer="20"/>)"));
    CDialogBase::SetDrawStateCheck(true);
    ASSERT_TRUE(w.Seen());
    w.SendMessage(WM_COMMAND, IDC_MAIN_MIN);
    EXPECT_FALSE(w.Seen());
    EXPECT_FALSE(w.HasTimer(kEyeTimer));
    const int paints = w.PaintCount();
    const size_t writes = trace().size();
    ASSERT_TRUE(spinUntil([&] { return trace().size() >= writes + 3; })) << "the fan curve goes on";
    EXPECT_EQ(trace().back(), coolerLine(37));
    EXPECT_EQ(w.PaintCount(), paints);

    CVantrelDlgProbe::gauge(w, 1).SetPos(0);
    w.RaiseForAnotherStart();
    EXPECT_TRUE(w.Seen());
    EXPECT_EQ(w.TimerPeriod(kEyeTimer), kEyePeriodMs);
    EXPECT_EQ(w.Gauge(1).Pos(), 50) << "sampled on the way back";
    ASSERT_TRUE(spinUntil([&] { return w.PaintCount() > paints; }));
    EXPECT_EQ(CDialogBase::UnreportedChanges(), 0u);
    CDialogBase::SetDrawStateCheck(false);
}

TEST_F(MainWindowTest, StartMinimisedLivesInTheTray) {
    platform::TrayIcon::setHostAvailableForTests(true);
    Settings s;
    s.startMinimized = "";  // a text flag: empty counts as set
    CVantrelDlg& w = open(s, card(45));
    ASSERT_NE(w.Tray(), nullptr);
    EXPECT_TRUE(w.Tray()->isAdded());
    EXPECT_EQ(w.Tray()->toolTip(), "Vantrel 1.0.0");
    w.SendMessage(WM_TIMER, kEyeTimer);  // any message hides it
    EXPECT_FALSE(w.IsWindowVisible());

    w.SendMessage(WM_TRAY_NOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(w.IsWindowVisible());
    EXPECT_FALSE(w.HiddenToTray());

    // Close button and system close only hide it now.
    w.SendMessage(WM_COMMAND, IDC_MAIN_CLOSE);
    EXPECT_FALSE(w.IsWindowVisible());
    w.SendMessage(WM_COMMAND, ID_TRAY_SHOW);
    EXPECT_TRUE(w.IsWindowVisible());
    w.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_FALSE(w.IsWindowVisible());
    EXPECT_TRUE(trace().empty());
    EXPECT_TRUE(w.Tray()->isAdded());

    // The menu's Close ends the program and removes the icon.
    w.SendMessage(WM_COMMAND, ID_TRAY_CLOSE);
    runEvents();
    EXPECT_FALSE(w.Tray()->isAdded());
    EXPECT_EQ(trace(), (std::vector<std::string>{kRestoreLine}));
    platform::TrayIcon::setHostAvailableForTests(std::nullopt);
}

// Nothing may run invisibly and out of reach.
TEST_F(MainWindowTest, StartMinimisedWithoutATrayShowsTheWindowAndCloseCloses) {
    platform::TrayIcon::setHostAvailableForTests(false);
    Settings s;
    s.startMinimized = "1";
    CVantrelDlg& w = open(s, card(45));
    platform::TrayIcon::setHostAvailableForTests(std::nullopt);
    w.SendMessage(WM_TIMER, kEyeTimer);
    EXPECT_TRUE(w.IsWindowVisible());
    EXPECT_TRUE(w.Tray() == nullptr || !w.Tray()->isAdded());
    w.SendMessage(WM_COMMAND, IDC_MAIN_CLOSE);
    runEvents();
    EXPECT_EQ(trace(), (std::vector<std::string>{kRestoreLine}));
}

// Whatever the settings document does at close, the fan is already back.
TEST_F(MainWindowTest, CloseHandsTheFanBackBeforeTouchingTheDocument) {
    struct Io : fan::FanIo {
        std::function<void()> onRestore;
        int32_t readGpuTemperature(int32_t out[3]) override { return out[0] = 45; }
        void setFanLevel(int32_t) override {}
        bool restoreFanDefault() override {
            onRestore();
            return true;
        }
    } io;
    Settings s;
    s.autoSystem = "1";
    writeSettings(s);
    std::string atHandBack;
    io.onRestore = [&] { atHandBack = enableFanOnDisk(); };
    m_card = std::make_unique<testsupport::SimCard>(card(45));
    m_context = std::make_unique<gpu::GpuContext>();
    m_scope = std::make_unique<gpu::GlobalContextScope>(*m_context);
    m_window = std::make_unique<CVantrelDlg>(&io);
    m_window->Create();
    m_window->SendMessage(WM_CLOSE);
    EXPECT_EQ(atHandBack, "0");
    EXPECT_EQ(enableFanOnDisk(), "1");
}

// A curve level below the cooler's own minimum (30 % on this card) is raised to it.
TEST_F(MainWindowTest, CurveLevelsStayWithinTheCoolersRange) {
    Settings s;
    s.enableFan = "1";
    s.fanMap =
        R"(OneX="30" OneY="-40" TwoX="50" TwoY="text" ThreeX="60" ThreeY="55" FourX="70" FourY="60" )"
        R"(FiveX="75" FiveY="70" SixX="80" SixY="80" SeverX="85" SeverY="90" EightX="90" EightY="100" blLine="1")";
    CVantrelDlg& w = open(s, card(20));
    w.FanCurveStep();
    EXPECT_EQ(trace(), (std::vector<std::string>{coolerLine(30)}));
}

// A cooler read that keeps failing opens a real box; closing the window (or a
// quit signal, which sends the same close) still ends it at once, fan handed back.
TEST_F(MainWindowTest, ClosingWhileAMessageBoxIsOpen) {
    platform::installQtMessageBox();
    // The first cooler read fails (a box), the hand-back's read works. No gauge
    // reads the coolers until the test makes it.
    Settings s;
    s.right = "3";
    CVantrelDlg& w =
        open(s, card(45, R"(<fault interface="GPU_GetCoolerSettings" status="-10" times="1"/>)"));
    w.SetQuickSight(1, 2);  // fan speed: the cooler read
    bool boxSeen = false, windowUsable = false, closed = false;
    QTimer::singleShot(100, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(top) && top->isVisible()) boxSeen = true;
        windowUsable = QApplication::activeModalWidget() == nullptr;
        w.SendMessage(WM_CLOSE);
        closed = true;
    });
    // Safety net: a box the close could not end is ended here, and the test fails.
    QTimer::singleShot(5000, [] { platform::dismissMessageBoxes(); });
    QElapsedTimer clock;
    clock.start();
    // The sampling never waits for the box: it comes up after the step.
    w.UpdateQuickSight(true);
    EXPECT_FALSE(closed) << "the sampling waited for the box";
    ASSERT_TRUE(spinUntil([&] { return closed; }));
    QCoreApplication::processEvents();
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_TRUE(boxSeen);
    EXPECT_TRUE(windowUsable);
    EXPECT_EQ(trace(), (std::vector<std::string>{kRestoreLine}));
    platform::setMessageBoxHandler(nullptr);
    platform::setMessageBoxDismisser(nullptr);
}

TEST_F(MainWindowTest, OverclockingWarningNeedsYes) {
    testsupport::MessageBoxRecorder boxes;
    CVantrelDlg& w = open({}, card(45));
    w.SendMessage(WM_COMMAND, IDC_MAIN_CUSTOMIZE);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0],
              "Warning|Any inappropriate adjusting may cause unpredictable damages to your graphics card."
              "Damages caused by customing your graphics card are not covered under any Tessaril product"
              "and may not be covered by your graphics card or system manufacturer's warranty.|" +
                  std::to_string(MB_YESNO));
    EXPECT_EQ(w.ClockSetPanel(), nullptr);
    EXPECT_FALSE(w.ClockLockButton().IsEnabled());
    EXPECT_TRUE(trace().empty());
}

TEST_F(MainWindowTest, TheServicesAreTheMainWindowsOwnState) {
    CVantrelDlg& w = open({}, card(45));
    app::MainWindowServices& main = w;
    main.SetQuickSight(0, 1);
    main.SetQuickSight(1, 5);
    main.UpdateQuickSight(false);
    EXPECT_EQ(w.Gauge(0).Max(), 4000);
    EXPECT_EQ(w.Gauge(1).Max(), 2500);
    main.SetScreenshotFolder("/tmp/shots");
    EXPECT_EQ(w.ScreenshotFolder(), "/tmp/shots");
    main.SetFanAutoEnable(true);
    EXPECT_TRUE(w.FanAutoEnable());
    EXPECT_EQ(main.MonitorPanel(), nullptr);
    w.SendMessage(WM_COMMAND, IDC_MAIN_MONITOR);
    EXPECT_EQ(main.MonitorPanel(), w.MonitorPanel());
    EXPECT_NE(main.MonitorPanel(), nullptr);
}

// A stand-in panel that counts its destruction.
struct Panel : CDialogBase {
    explicit Panel(int* destroyed) : CDialogBase(QString()), m_destroyed(destroyed) {}
    ~Panel() override { ++*m_destroyed; }
    int* m_destroyed;
};

TEST_F(MainWindowTest, PanelsDockAndAreDestroyedOnTheirCloseCommands) {
    int destroyed = 0;
    CVantrelDlg& w = open({}, card(45));
    CVantrelDlgProbe::gpuInfoPanel(w) = std::make_unique<Panel>(&destroyed);
    CVantrelDlgProbe::monitorPanel(w) = std::make_unique<Panel>(&destroyed);
    w.SetWindowPos(400, 200, 475, 440, SWP_NOZORDER);
    w.SendMessage(WM_MOVE, 0, MAKELPARAM(400, 200));
    const RECT info = w.GpuInfoPanel()->GetWindowRect();
    EXPECT_EQ(info.left, 415);
    EXPECT_EQ(info.top, 635);
    EXPECT_EQ(RectWidth(info), 475);
    const RECT monitor = w.MonitorPanel()->GetWindowRect();
    EXPECT_EQ(monitor.left, 875 - 20);
    EXPECT_EQ(RectHeight(monitor), 672);

    w.SendMessage(WM_COMMAND, ID_PANEL_MONITOR_CLOSED);
    EXPECT_EQ(w.MonitorPanel(), nullptr);
    EXPECT_EQ(destroyed, 1);
    m_window.reset();  // the other one goes with the main window
    EXPECT_EQ(destroyed, 2);
}

TEST_F(MainWindowTest, ClockLockWithoutPanelStaysUnchecked) {
    CVantrelDlg& w = open({}, card(45));
    CVantrelDlgProbe::clockLock(w).SetCheck(true);
    w.SendMessage(WM_COMMAND, IDC_MAIN_CLOCKLOCK);
    EXPECT_FALSE(w.ClockLockButton().GetCheck());
}

TEST_F(MainWindowTest, HotKeyScreenshotGoesIntoTheFolder) {
    Settings s;
    s.screenshotFolder = (fs::temp_directory_path() / ("shots_" + std::to_string(getpid()))).string();
    fs::create_directories(s.screenshotFolder);
    CVantrelDlg& w = open(s, card(45));
    w.SendMessage(WM_HOTKEY, 1);
    const fs::path file = fs::path(s.screenshotFolder) / "Vantrel.bmp";
    ASSERT_TRUE(fs::exists(file));
    std::ifstream in(file, std::ios::binary);
    char header[26] = {};
    in.read(header, sizeof header);
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(header[1], 'M');
    fs::remove_all(s.screenshotFolder);

    // No folder set: nothing is written anywhere.
    w.SetScreenshotFolder({});
    EXPECT_NO_FATAL_FAILURE(w.SendMessage(WM_HOTKEY, 1));
}

TEST(QuitSignals, SignalsArriveOnTheEventLoop) {
    std::vector<int> seen;
    {
        app::QuitSignals quit([&](int s) { seen.push_back(s); });
        ASSERT_TRUE(quit.active());
        raise(SIGTERM);
        EXPECT_TRUE(seen.empty());  // not inside the handler
        for (int i = 0; i < 5 && seen.empty(); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(seen, (std::vector<int>{SIGTERM}));
        app::QuitSignals second([](int) {});
        EXPECT_FALSE(second.active());  // one at a time
    }
    {
        // Every quit signal takes the same path; a repeat right after the first
        // (a closing terminal's SIGHUP then SIGTERM) never ends the process on
        // its own. SIGPIPE is ignored meanwhile.
        for (int signal : {SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGINT, SIGHUP}) {
            seen.clear();
            app::QuitSignals quit([&](int s) { seen.push_back(s); });
            raise(signal);
            raise(SIGTERM);
            raise(SIGPIPE);
            for (int i = 0; i < 5 && seen.empty(); ++i)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            EXPECT_EQ(seen, (std::vector<int>{signal}));
        }
    }
    struct sigaction pipe = {};
    sigaction(SIGPIPE, nullptr, &pipe);
    EXPECT_EQ(pipe.sa_handler, SIG_DFL);
    // The previous (default) disposition is back.
    struct sigaction now = {};
    sigaction(SIGHUP, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
