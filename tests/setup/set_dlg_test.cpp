// The settings window offscreen, on a settings document and an autostart folder
// of the test's own, over a stand-in for the main window.
#include "setup/set_dlg.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/update_checker.h"
#include "platform/browse_edit.h"
#include "platform/hot_key.h"
#include "platform/hot_key_control.h"
#include "platform/process.h"
#include "platform/tab_control.h"
#include "settings/settings_location.h"
#include "setup/autostart.h"
#include "setup/general_dlg.h"
#include "setup/page_layout.h"
#include "setup/quick_sight_settings_dlg.h"
#include "setup/settings_page.h"
#include "setup/ui_dlg.h"
#include "skin/static_ex.h"
#include "support/fake_main_window.h"

namespace {

namespace fs = std::filesystem;
using setup::CQuickSightSettingsDlg;
using setup::CSetDlg;
using setup::CSettingsPage;

struct Document {
    std::string startMinimized = "0";
    std::string updateCheck = "0";
    std::string left = "0";
    std::string right = "2";
    std::string folder = "/tmp/shots";
    std::string key = "123";
    std::string modifiers = "4";
};

// Nodes the commit does not own, with values a hand edit might leave. (Element
// text keeps its bytes; a tag's attributes are written back in the usual
// spelling, double quotes and single blanks.)
constexpr const char* kForeignNodes[] = {
    "<Version>  7</Version>",
    "<UpadteDay>31</UpadteDay>",
    "<UpdateWeek>3</UpdateWeek>",
    "<UpadteMonth>12</UpadteMonth>",
    "<EnableFan>1</EnableFan>",
    R"(<One GPUClock="1500" MemoryClock="0" FanSpeed="0" TDP="0" GPUTemp="0" GPUVoltageMax="0" GPUVoltageMin="0"/>)",
    R"(<Two GPUClock="+0" MemoryClock="7000x" FanSpeed="" TDP="0" GPUTemp="0" GPUVoltageMax="0" GPUVoltageMin="0"/>)",
    R"(<Three GPUClock="0" MemoryClock="0" FanSpeed="55" TDP="90" GPUTemp="0" GPUVoltageMax="0" GPUVoltageMin="-1"/>)",
};

class SetDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantrel-setdlg-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        settings::setDocumentFolder(m_dir.string());
        fs::create_directories(m_dir / "config");
        setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
        m_entry = setup::autostartEntryPath();
    }
    void TearDown() override {
        m_window.reset();
        settings::setDocumentFolder("");
        fs::remove_all(m_dir);
    }

    void write(const Document& d) {
        std::ofstream(m_dir / "Vantrel.xml")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Vantrel>\n\t" << kForeignNodes[0] << "\n"
            << "\t<GeneralDlg>\n\t\t<StartMinized>" << d.startMinimized
            << "</StartMinized>\n\t\t<UpadteCheck>" << d.updateCheck << "</UpadteCheck>\n\t\t"
            << kForeignNodes[1] << "\n\t\t" << kForeignNodes[2] << "\n\t\t" << kForeignNodes[3]
            << "\n\t</GeneralDlg>\n"
            << "\t<FanDlg>\n\t\t" << kForeignNodes[4] << "\n\t\t<AutoSystem>0</AutoSystem>\n\t</FanDlg>\n"
            << "\t<ClockSetDlg>\n\t\t" << kForeignNodes[5] << "\n\t\t" << kForeignNodes[6] << "\n\t\t"
            << kForeignNodes[7] << "\n\t</ClockSetDlg>\n"
            << "\t<QuickSightSettingsDlg><Left>" << d.left << "</Left><Right>" << d.right
            << "</Right></QuickSightSettingsDlg>\n"
            << "\t<UIDlg><SaveToFilePath>" << d.folder << "</SaveToFilePath><HotKey VirtualKeyCode=\""
            << d.key << "\" Modifiers=\"" << d.modifiers << "\"/></UIDlg>\n</Vantrel>\n";
    }
    std::string document() const {
        std::ifstream in(m_dir / "Vantrel.xml", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    CSetDlg& open(const Document& d) {
        write(d);
        m_before = document();
        m_window = std::make_unique<CSetDlg>(m_host);
        m_window->Create();
        m_host.calls.clear();  // what the pages take when they open is theirs to test
        return *m_window;
    }
    // What OK does, as the button delivers it.
    void pressOk() { m_window->SendMessage(WM_COMMAND, IDOK); }
    void pressCancel() { m_window->SendMessage(WM_COMMAND, IDCANCEL); }

    setup::CGeneralDlg& general() { return *m_window->GeneralPage(); }
    CQuickSightSettingsDlg& quickSight() { return *m_window->QuickSightPage(); }
    setup::CUIDlg& ui() { return *m_window->UiPage(); }

    fs::path m_dir;
    std::string m_entry;
    std::string m_before;
    testsupport::FakeMainWindow m_host;
    std::unique_ptr<CSetDlg> m_window;
};

TEST_F(SetDlgTest, SevenTabsInTheirOrderAndOnlyTheChosenPageShown) {
    CSetDlg& w = open({});
    w.show();
    EXPECT_EQ(w.windowTitle(), "Seting Properties");
    const char* tabs[] = {"General", "Fan", "BIOS", "Monitoring", "Quick Sight Settings", "UI", "About"};
    ASSERT_EQ(w.TabControl()->GetItemCount(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(w.TabControl()->tabBar()->tabText(i), tabs[i]);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(w.Page(i)->isVisible(), i == CSetDlg::kGeneral) << i;

    w.TabControl()->tabBar()->setCurrentIndex(CSetDlg::kQuickSight);  // as a click does
    for (int i = 0; i < 7; ++i) EXPECT_EQ(w.Page(i)->isVisible(), i == CSetDlg::kQuickSight) << i;

    // Every page stands below the tabs, inside the control's frame.
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(w.Page(i)->geometry(), w.PageRect()) << i;
        EXPECT_GE(w.PageRect().top(), w.TabControl()->GetItemRect(0).bottom()) << i;
    }
}

TEST_F(SetDlgTest, TheGeneralPagesLabelsStandOnTheMiddleOfTheControlsTheyName) {
    CSetDlg& w = open({});
    w.show();
    const auto labelled = [this](const QString& text) {
        for (const QLabel* label : general().findChildren<QLabel*>())
            if (label->text() == text) return label->geometry().center().y();
        ADD_FAILURE() << "no label " << text.toStdString();
        return -1;
    };
    const int list = general().GetDlgItem(setup::CGeneralDlg::IDC_UPDATE_LIST)->geometry().center().y();
    const int button = general().GetDlgItem(setup::CGeneralDlg::IDC_CHECK_NOW)->geometry().center().y();
    EXPECT_LE(std::abs(labelled("Check for available product") - list), 1);
    EXPECT_LE(std::abs(labelled("Recent updates") - button), 1);
}

// The window is wider than the templates (for its row of tabs): what reaches
// a template's right edge reaches the page's right margin instead, none beyond.
TEST_F(SetDlgTest, EveryPageFillsItsTabUpToTheTemplatesRightMargin) {
    CSetDlg& w = open({});
    w.show();
    const QFont font = setup::pageFont();
    const int margin = setup::dialogRect(font, 0, 0, setup::CSettingsPage::kTemplateWidth, 0).width() -
                       setup::dialogRect(font, 0, 0, setup::CSettingsPage::kTemplateRight, 0).width();
    for (int i = 0; i < CSetDlg::kTabCount; ++i) {
        const CSettingsPage* page = w.Page(i);
        const int edge = page->width() - margin;
        int rightmost = 0;
        for (const QWidget* c : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            const int right = c->geometry().x() + c->geometry().width();
            EXPECT_LE(right, edge + 2) << "page " << i << ": " << c->metaObject()->className();
            rightmost = std::max(rightmost, right);
            if (const auto* heading = dynamic_cast<const CStaticEx*>(c)) {
                EXPECT_GE(right, edge - 6) << "page " << i << ": " << heading->text().toStdString();
            }
        }
        EXPECT_GE(rightmost, edge - 2) << "page " << i;
    }
}

TEST_F(SetDlgTest, CancelAndTheCloseButtonChangeNothingEvenAfterCheckNow) {
    // "Check now" acts at once, outside the commit: here against no server at all.
    app::UpdateCheckOptions options = app::defaultUpdateCheckOptions();
    options.baseUrl.clear();
    options.descriptionFolder = m_dir.string();
    int checks = 0;
    options.finished = [&](app::UpdateOutcome outcome) {
        EXPECT_EQ(outcome, app::UpdateOutcome::DownloadFailed);
        ++checks;
    };
    app::setDefaultUpdateCheckOptions(options);
    m_host.checkForUpdateNow = [](QWidget& owner) { app::CheckNow(owner); };
    for (bool closeButton : {false, true}) {
        CSetDlg& w = open({});
        general().CheckNowButton()->click();
        const int expected = closeButton ? 2 : 1;
        for (int i = 0; i < 200 && checks < expected; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(checks, expected);
        general().StartWithWindowsBox()->setChecked(true);
        general().StartMinimizedBox()->setChecked(true);
        quickSight().Button(CQuickSightSettingsDlg::kLeft, 4)->setChecked(true);
        ui().HotKeyEdit()->SetHotKey(0);
        if (closeButton)
            w.close();
        else
            pressCancel();
        EXPECT_EQ(document(), m_before);
        EXPECT_FALSE(fs::exists(m_entry));
        EXPECT_EQ(m_host.calls, "");
        m_window.reset();
    }
    app::setDefaultUpdateCheckOptions(std::nullopt);
}

TEST_F(SetDlgTest, OkRewritesItsOwnNodesAndLeavesEveryOtherByteAlone) {
    Document d;
    d.startMinimized = "";  // a text flag: shown checked, stored "1"
    d.left = " 3";          // read as 3, stored "3"
    d.right = "1";
    d.key = "0x41";  // read as 0
    open(d);
    EXPECT_TRUE(general().StartMinimizedBox()->isChecked());
    // "Memory clock" stands second in the right group but has the highest ID.
    EXPECT_TRUE(quickSight().Button(CQuickSightSettingsDlg::kRight, 1)->isChecked());
    EXPECT_TRUE(quickSight().GetDlgItem<QRadioButton>(1076)->isChecked());

    pressOk();
    const std::string after = document();
    for (const char* node : kForeignNodes) EXPECT_NE(after.find(node), std::string::npos) << node;
    EXPECT_NE(after.find("<StartMinized>1</StartMinized>"), std::string::npos) << after;
    EXPECT_NE(after.find("<UpadteCheck>0</UpadteCheck>"), std::string::npos) << after;
    EXPECT_NE(after.find("<Left>3</Left><Right>1</Right>"), std::string::npos) << after;
    EXPECT_NE(after.find(R"(<HotKey VirtualKeyCode="0" Modifiers="4"/>)"), std::string::npos) << after;
    EXPECT_NE(after.find("<SaveToFilePath>/tmp/shots</SaveToFilePath>"), std::string::npos) << after;
    // The main window gets the fan state and the choices, then re-reads the fan curve last.
    EXPECT_EQ(
        m_host.calls,
        "fan=1;auto=0;left=3;ranges;sample;right=1;ranges;sample;folder=/tmp/shots;hotkey=0,4;read(false);");
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(SetDlgTest, AnUnknownChoiceShowsNothingAndStaysStored) {
    Document d;
    d.left = "6";
    d.updateCheck = "9";
    open(d);
    EXPECT_EQ(quickSight().Choice(CQuickSightSettingsDlg::kLeft), -1);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(quickSight().Button(CQuickSightSettingsDlg::kLeft, i)->isChecked());
    EXPECT_EQ(general().UpdateCheckCombo()->currentIndex(), -1);
    EXPECT_EQ(general().UpdateCheckCombo()->count(), 5);
    EXPECT_EQ(general().UpdateCheckCombo()->itemText(4), "on startup monthly");

    pressOk();
    const std::string after = document();
    EXPECT_NE(after.find("<Left>6</Left>"), std::string::npos) << after;
    EXPECT_NE(after.find("<UpadteCheck>-1</UpadteCheck>"), std::string::npos) << after;
    EXPECT_EQ(m_host.calls.find("left="), std::string::npos) << m_host.calls;
}

TEST_F(SetDlgTest, StartWithWindowsFollowsTheEntryForThisVeryExecutable) {
    const std::string self = platform::executablePath();
    std::string upper = self;
    upper[upper.rfind('/') + 1] = char(std::toupper(upper[upper.rfind('/') + 1]));
    for (const std::string& other : {std::string("/elsewhere/vantrel"), upper}) {
        ASSERT_TRUE(setup::writeAutostartEntry(m_entry, other));
        open({});
        EXPECT_FALSE(general().StartWithWindowsBox()->isChecked()) << other;
        pressOk();  // unchecked: the entry goes, whatever it named
        EXPECT_FALSE(fs::exists(m_entry)) << other;
        m_window.reset();
    }

    ASSERT_TRUE(setup::writeAutostartEntry(m_entry, "/elsewhere/vantrel"));
    open({});
    general().StartWithWindowsBox()->setChecked(true);
    pressOk();
    EXPECT_TRUE(setup::autostartNames(m_entry, self));
    m_window.reset();
    open({});
    EXPECT_TRUE(general().StartWithWindowsBox()->isChecked());
}

TEST_F(SetDlgTest, TheHotKeyRoundTripsAndAnEmptyOneIsReleased) {
    Document d;
    d.key = "83";  // S
    d.modifiers = std::to_string(platform::HOTKEYF_CONTROL | platform::HOTKEYF_ALT);
    open(d);
    EXPECT_EQ(ui().HotKeyEdit()->text(), "Ctrl + Alt + S");
    EXPECT_EQ(ui().HotKey(), platform::hotKeyValue('S', platform::HOTKEYF_CONTROL | platform::HOTKEYF_ALT));
    pressOk();
    EXPECT_NE(document().find(R"(<HotKey VirtualKeyCode="83" Modifiers="6"/>)"), std::string::npos);
    EXPECT_NE(m_host.calls.find("hotkey=83,6;"), std::string::npos) << m_host.calls;

    m_host.calls.clear();
    m_window.reset();
    open({});
    ui().HotKeyEdit()->SetHotKey(0);
    ui().SaveToEdit()->setText("  typed, not checked ");
    pressOk();
    EXPECT_NE(document().find(R"(<HotKey VirtualKeyCode="0" Modifiers="0"/>)"), std::string::npos);
    EXPECT_NE(document().find("<SaveToFilePath>  typed, not checked </SaveToFilePath>"), std::string::npos);
    EXPECT_NE(m_host.calls.find("unregister;"), std::string::npos) << m_host.calls;
}

}  // namespace
