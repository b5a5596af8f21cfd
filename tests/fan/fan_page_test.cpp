// The Fan page offscreen in the settings window, on a settings document of the
// test's own, over a stand-in for the main window that records what the page
// and the commit ask of it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fan/static_fan_ctl.h"
#include "platform/up_down_edit.h"
#include "settings/settings_location.h"
#include "settings/settings_reader.h"
#include "setup/fan_dlg.h"
#include "setup/set_dlg.h"
#include "support/fake_main_window.h"

namespace {

namespace fs = std::filesystem;
using setup::CSetDlg;

struct Stored {
    std::string enableFan = "0";
    std::string autoSystem = "0";
    std::string updateTime = "1000";
    std::string blLine = "0";
};

constexpr const char* kFanMap =
    R"(OneX="30" OneY="30" TwoX="40" TwoY="35" ThreeX="50" ThreeY="45" FourX="60" FourY="55" )"
    R"(FiveX="70" FiveY="70" SixX="75" SixY="80" SeverX="80" SeverY="90" EightX="85" EightY="100")";

class FanPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantrel-fanpage-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        settings::setDocumentFolder(m_dir.string());
        fs::create_directories(m_dir / "config");
        setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);  // the General page's autostart entry
    }
    void TearDown() override {
        m_window.reset();
        settings::setDocumentFolder("");
        fs::remove_all(m_dir);
    }

    CFanDlg& open(const Stored& s, int control) {
        std::ofstream(m_dir / "Vantrel.xml")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Vantrel>\n\t<FanDlg>\n\t\t<EnableFan>"
            << s.enableFan << "</EnableFan>\n\t\t<AutoSystem>" << s.autoSystem
            << "</AutoSystem>\n\t\t<UpdateTime>" << s.updateTime << "</UpdateTime>\n\t\t<FanMap " << kFanMap
            << " blLine=\"" << s.blLine << "\"/>\n\t</FanDlg>\n</Vantrel>\n";
        m_before = document();
        m_host.fanControl = control;
        m_window = std::make_unique<CSetDlg>(m_host);
        m_window->Create();
        m_window->SelectTab(CSetDlg::kFan);
        m_window->show();
        run();
        return *m_window->FanPage();
    }
    static void run() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    std::string document() const {
        std::ifstream in(m_dir / "Vantrel.xml", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string stored(const char* path, const char* attribute = nullptr) const {
        settings::SettingsReader r((m_dir / "Vantrel.xml").string());
        return attribute ? r.text(path, attribute) : r.text(path);
    }
    static bool groupShown(CFanDlg& page) {
        const QWidget* group[] = {page.FanEditor(), page.AutoEnableBox(), page.PeriodLabel(),
                                  page.UpdateTimeSpin()};
        const int shown = int(std::count_if(std::begin(group), std::end(group),
                                            [&](const QWidget* w) { return w->isVisibleTo(&page); }));
        EXPECT_TRUE(shown == 0 || shown == 4) << shown << " of the group shown";
        return shown == 4;
    }
    // A press on point k, a move to `to` and a release, as the mouse delivers them.
    static void drag(CStaticFanCtl& ctl, int k, QPoint to) {
        const QPoint from(ctl.pointRect(k).left + 3, ctl.pointRect(k).bottom - 3);
        mouse(ctl, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(ctl, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(ctl, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    static void mouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), QPointF(w.mapToGlobal(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &e);
    }
    static void type(QWidget& w, const QString& text) {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(&w, &press);
        }
    }

    fs::path m_dir;
    std::string m_before;
    testsupport::FakeMainWindow m_host;
    std::unique_ptr<CSetDlg> m_window;
};

TEST_F(FanPageTest, TheEnableBoxShowsTheMainWindowsLiveStateAndTheGroupFollowsIt) {
    struct Case {
        int control;
        const char* enableFan;
        bool ticked;
    } cases[] = {
        {-1, "1", true},  {-1, "", true},  // not settled yet: EnableFan, a text flag
        {-1, "0", false}, {1, "0", true},  // settled: the live state, whatever is stored
        {0, "1", false},
    };
    for (const Case& c : cases) {
        Stored s;
        s.enableFan = c.enableFan;
        CFanDlg& page = open(s, c.control);
        EXPECT_EQ(page.EnableBox()->isChecked(), c.ticked) << c.control << " " << c.enableFan;
        EXPECT_EQ(groupShown(page), c.ticked) << c.control << " " << c.enableFan;
        m_window.reset();
    }
}

TEST_F(FanPageTest, LoadShowsTheStoredCurvePeriodAndAutoBoxAndHandsAutoSystemOn) {
    Stored s;
    s.autoSystem = "1";
    s.updateTime = "250";
    s.blLine = "2";  // any number but 0 is the stepped form
    CFanDlg& page = open(s, 1);
    EXPECT_TRUE(page.AutoEnableBox()->isChecked());
    EXPECT_EQ(m_host.calls, "auto=1;");
    EXPECT_EQ(page.UpdateTimeSpin()->text(), "250");
    EXPECT_TRUE(page.FanEditor()->Stepped());
    const fan::FanCurve curve = page.Curve();
    const int expected[8][2] = {{30, 30}, {40, 35}, {50, 45}, {60, 55},
                                {70, 70}, {75, 80}, {80, 90}, {85, 100}};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(curve.points[size_t(k)].x, expected[k][0]) << k;
        EXPECT_EQ(curve.points[size_t(k)].y, expected[k][1]) << k;
    }
    EXPECT_EQ(curve.blLine, 1);
}

TEST_F(FanPageTest, ClearingTheEnableBoxHidesTheGroupAndClearsAutoForGood) {
    Stored s;
    s.autoSystem = "1";
    CFanDlg& page = open(s, 1);
    ASSERT_TRUE(groupShown(page));
    page.EnableBox()->click();
    run();
    EXPECT_FALSE(groupShown(page));
    EXPECT_FALSE(page.AutoEnableBox()->isChecked());
    page.EnableBox()->click();
    run();
    EXPECT_TRUE(groupShown(page));
    EXPECT_FALSE(page.AutoEnableBox()->isChecked()) << "ticking again leaves the auto box cleared";
}

TEST_F(FanPageTest, ThePeriodSpinsWithinItsRangeAndTheEditTakesDigitsOnly) {
    CFanDlg& page = open({}, 1);
    platform::UpDownEdit& spin = *page.UpdateTimeSpin();
    spin.setText("100");
    spin.stepBy(-1);
    EXPECT_EQ(spin.text(), "100");
    spin.stepBy(599);  // the whole range in steps of 100
    EXPECT_EQ(spin.text(), "60000");
    spin.stepBy(1);
    EXPECT_EQ(spin.text(), "60000");
    spin.setText("");
    spin.stepBy(1);  // nothing shown: from the bottom of the range
    EXPECT_EQ(spin.text(), "200");

    spin.edit()->selectAll();
    type(*spin.edit(), "7a-5 0.");
    EXPECT_EQ(spin.text(), "750");
}

TEST_F(FanPageTest, OkStoresTheEditedCurveAndPeriodAsTypedThenTheMainWindowRereads) {
    CFanDlg& page = open({}, 0);
    page.EnableBox()->click();
    run();
    CStaticFanCtl& ctl = *page.FanEditor();
    const RECT g = ctl.gridRect();
    // The fourth point (60, 55) to 65 °C, 20 %; then the stepped form.
    drag(ctl, 3, QPoint(g.left + (g.right - g.left) * 65 / 100, g.bottom - (g.bottom - g.top) * 20 / 100));
    mouse(ctl, QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    page.AutoEnableBox()->setChecked(true);
    page.UpdateTimeSpin()->setText("");  // stored as typed
    m_window->SendMessage(WM_COMMAND, IDOK);

    const int x = std::stoi(stored("/Vantrel/FanDlg/FanMap", "FourX"));
    const int y = std::stoi(stored("/Vantrel/FanDlg/FanMap", "FourY"));
    EXPECT_NEAR(x, 65, 1);
    EXPECT_NEAR(y, 20, 1);
    EXPECT_EQ(stored("/Vantrel/FanDlg/FanMap", "ThreeX"), "50");
    EXPECT_EQ(stored("/Vantrel/FanDlg/FanMap", "EightY"), "100");
    EXPECT_EQ(stored("/Vantrel/FanDlg/FanMap", "blLine"), "1");
    EXPECT_EQ(stored("/Vantrel/FanDlg/UpdateTime"), "");
    EXPECT_EQ(stored("/Vantrel/FanDlg/AutoSystem"), "1");
    EXPECT_EQ(stored("/Vantrel/FanDlg/EnableFan"), "0") << "written by the main window at close only";
    // The load's flag, then the commit's fan steps before the later pages' and
    // the re-read that starts the curve last.
    const std::string& calls = m_host.calls;
    EXPECT_EQ(calls.rfind("auto=0;fan=1;auto=1;", 0), 0u) << calls;
    EXPECT_TRUE(calls.ends_with(";read(false);")) << calls;
}

TEST_F(FanPageTest, ClearedAndOkTurnsTheCurveOffAndStoresAutoOff) {
    Stored s;
    s.autoSystem = "1";
    open(s, 1).EnableBox()->click();
    run();
    m_window->SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ(stored("/Vantrel/FanDlg/AutoSystem"), "0");
    EXPECT_EQ(stored("/Vantrel/FanDlg/UpdateTime"), "1000");
    EXPECT_EQ(stored("/Vantrel/FanDlg/FanMap", "blLine"), "0");
    EXPECT_EQ(m_host.calls.rfind("auto=1;fan=0;auto=0;", 0), 0u) << m_host.calls;
}

TEST_F(FanPageTest, CancelStoresNothingAndLeavesTheFanAlone) {
    for (bool closeButton : {false, true}) {
        CFanDlg& page = open({}, 1);
        drag(*page.FanEditor(), 0, QPoint(5, 5));
        page.UpdateTimeSpin()->setText("50");
        page.EnableBox()->click();
        run();
        if (closeButton)
            m_window->close();
        else
            m_window->SendMessage(WM_COMMAND, IDCANCEL);
        run();
        EXPECT_EQ(document(), m_before);
        EXPECT_EQ(m_host.calls, "auto=0;") << "only the load's flag";
        m_host.calls.clear();
        m_window.reset();
    }
}

}  // namespace
