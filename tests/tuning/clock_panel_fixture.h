// The main window with its clock panel on the offscreen platform, on a frozen
// simulated card whose writes are traced; message boxes are answered from a list.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/vantrel_dlg.h"
#include "gpu/gpu_context.h"
#include "platform/message_box.h"
#include "settings/settings_location.h"
#include "settings/settings_reader.h"
#include "support/sim_card.h"
#include "tuning/clock_set_dlg.h"
#include "tuning/privilege_notice.h"
#include "tuning/voltage_set_dlg.h"

class ClockPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("clockpanel_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
        settings::setDocumentFolder(m_dir.string());
        tuning::resetPrivilegeNotice();
        platform::setMessageBoxHandler([this](const std::string& text, const std::string& caption, UINT) {
            boxes.push_back(caption + "|" + text);
            if (answers.empty()) return IDYES;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    void TearDown() override {
        m_window.reset();
        m_scope.reset();
        m_context.reset();
        m_card.reset();
        platform::setMessageBoxHandler(nullptr);
        settings::setDocumentFolder("");
        std::filesystem::remove_all(m_dir);
    }

    // The typical card, frozen, with one cooler at 40 % and `extra` inside the GPU.
    static std::string card(const std::string& extra = "") {
        return "<card frozen=\"1\"><gpu><temperature initial=\"45\" fixed=\"45\"/>"
               "<coolers><cooler level=\"40\" defaultMin=\"30\" defaultPolicy=\"32\" "
               "policy=\"32\"/></coolers>" +
               extra + "</gpu></card>";
    }

    void writeSettings(const std::string& enableFan = "0", const std::string& profiles = "") {
        std::ofstream(m_dir / "Vantrel.xml")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Vantrel>\n<Version>1</Version>\n"
            << "<GeneralDlg><StartMinized>0</StartMinized><UpadteCheck>0</UpadteCheck></GeneralDlg>\n"
            << "<FanDlg><EnableFan>" << enableFan << "</EnableFan><AutoSystem>1</AutoSystem>"
            << "<UpdateTime>1000</UpdateTime><FanMap OneX=\"30\" OneY=\"30\" TwoX=\"50\" TwoY=\"40\" "
               "ThreeX=\"60\" "
            << "ThreeY=\"55\" FourX=\"70\" FourY=\"60\" FiveX=\"75\" FiveY=\"70\" SixX=\"80\" SixY=\"80\" "
            << "SeverX=\"85\" SeverY=\"90\" EightX=\"90\" EightY=\"100\" blLine=\"0\"/></FanDlg>\n"
            << "<ClockSetDlg>" << profiles << "</ClockSetDlg>\n"
            << "<QuickSightSettingsDlg><Left>2</Left><Right>2</Right></QuickSightSettingsDlg>\n"
            << "<UIDlg><SaveToFilePath></SaveToFilePath><HotKey VirtualKeyCode=\"0\" "
               "Modifiers=\"0\"/></UIDlg>\n"
            << "</Vantrel>\n";
    }

    // Opens the main window, then the clock panel through the warning.
    CClockSetDlg& open(const std::string& cardXml = card(), const std::string& enableFan = "0",
                       const std::string& profiles = "") {
        writeSettings(enableFan, profiles);
        m_card = std::make_unique<testsupport::SimCard>(cardXml);
        m_context = std::make_unique<gpu::GpuContext>();
        m_scope = std::make_unique<gpu::GlobalContextScope>(*m_context);
        m_window = std::make_unique<CVantrelDlg>();
        m_window->Create();
        runEvents();
        m_window->SendMessage(WM_COMMAND, IDC_MAIN_CUSTOMIZE);
        boxes.clear();
        EXPECT_NE(m_window->ClockSetPanel(), nullptr);
        return *m_window->ClockSetPanel();
    }

    CVoltageSetDlg& openVoltage(CClockSetDlg& clock) {
        clock.SendMessage(WM_COMMAND, IDC_CLOCK_VOLTAGE);
        EXPECT_NE(clock.VoltagePanel(), nullptr);
        return *clock.VoltagePanel();
    }

    static void runEvents() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    std::vector<std::string> trace() const { return m_card->trace(); }
    std::string setting(const char* path, const char* attribute = nullptr) const {
        settings::SettingsReader r((m_dir / "Vantrel.xml").string());
        return attribute ? r.text(path, attribute) : r.text(path);
    }

    std::vector<std::string> boxes;  // "caption|text"
    std::deque<int> answers;         // then IDYES
    std::filesystem::path m_dir;
    std::unique_ptr<testsupport::SimCard> m_card;
    std::unique_ptr<gpu::GpuContext> m_context;
    std::unique_ptr<gpu::GlobalContextScope> m_scope;
    std::unique_ptr<CVantrelDlg> m_window;
};

// Trace lines of the simulated card.
namespace lines {
inline std::string clock(int domain, int kHz, int status = 0) {
    return "GPU_SetPstates20 gpu=0 version=1 numPstates=1 numClocks=1 numBaseVol=0 p0.id=0 "
           "p0.clock0.domain=" +
           std::to_string(domain) + " p0.clock0.delta=" + std::to_string(kHz) +
           " status=" + std::to_string(status);
}
inline std::string coreVoltage(int uV, int status = 0) {
    return "GPU_SetPstates20 gpu=0 version=1 numPstates=1 numClocks=0 numBaseVol=1 p0.id=0 p0.volt0.domain=0 "
           "p0.volt0.delta=" +
           std::to_string(uV) + " status=" + std::to_string(status);
}
inline std::string overVoltage(int uV, int status = 0) {
    return "GPU_SetPstates20 gpu=0 version=2 numPstates=0 numClocks=0 numBaseVol=0 numOverVol=1 ov0.domain=0 "
           "ov0.delta=" +
           std::to_string(uV) + " status=" + std::to_string(status);
}
inline std::string enableOverclock(int status = 0) {
    return "GPU_EnableOverclockedPstates gpu=0 enable=1 status=" + std::to_string(status);
}
inline std::string power(int milli, int status = 0) {
    return "GPU_PowerPoliciesSetStatus gpu=0 count=1 policy0=0 power0=" + std::to_string(milli) +
           " status=" + std::to_string(status);
}
inline std::string thermal(int target, int flags, int status = 0) {
    return "GPU_ThermalPoliciesSetStatus gpu=0 count=1 controller0=1 target0=" + std::to_string(target) +
           " flags0=" + std::to_string(flags) + " status=" + std::to_string(status);
}
inline std::string cooler(int level, int policy, int status = 0) {
    return "GPU_SetCoolerLevels gpu=0 target=7 level0=" + std::to_string(level) +
           " policy0=" + std::to_string(policy) + " status=" + std::to_string(status);
}
}  // namespace lines
