// The clock panel over the NVML bridge on the fake NVML: the units Apply and
// Default reach NVML's setters in, and the message a refusal for lack of root
// privilege gives.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <fstream>

#include "fake_nvml.h"
#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"
#include "platform/message_box.h"
#include "settings/settings_location.h"
#include "support/fake_main_window.h"
#include "tuning/clock_set_dlg.h"
#include "tuning/privilege_notice.h"

namespace {

class NvmlPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_fakeLib = dlopen("libnvidia-ml.so.1", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_fakeLib, nullptr) << dlerror();
        auto reset = reinterpret_cast<void (*)()>(dlsym(m_fakeLib, "fakeNvmlReset"));
        auto state = reinterpret_cast<FakeNvmlState* (*)()>(dlsym(m_fakeLib, "fakeNvmlState"));
        ASSERT_TRUE(reset && state);
        reset();
        fake = state();
        m_dir = std::filesystem::temp_directory_path() / ("nvmlpanel_" + std::to_string(getpid()));
        std::filesystem::create_directories(m_dir);
        settings::setDocumentFolder(m_dir.string());
        tuning::resetPrivilegeNotice();
        platform::setMessageBoxHandler([this](const std::string& text, const std::string& caption, UINT) {
            boxes.push_back(caption + "|" + text);
            return IDYES;
        });
        gpu::DriverBinding::setLibraryPath(NVML_BRIDGE_PATH);
    }
    void TearDown() override {
        m_panel.reset();
        m_scope.reset();
        m_context.reset();
        gpu::DriverBinding::setLibraryPath("");
        platform::setMessageBoxHandler(nullptr);
        settings::setDocumentFolder("");
        std::filesystem::remove_all(m_dir);
        if (m_fakeLib) dlclose(m_fakeLib);
    }

    CClockSetDlg& open() {
        m_context = std::make_unique<gpu::GpuContext>();
        m_scope = std::make_unique<gpu::GlobalContextScope>(*m_context);
        m_link.fanControl = app::MainWindowServices::kFanOff;
        m_panel = std::make_unique<CClockSetDlg>(m_link);
        m_panel->Create();
        fake->log[0] = '\0';
        return *m_panel;
    }

    FakeNvmlState* fake = nullptr;
    std::vector<std::string> boxes;
    testsupport::FakeMainWindow m_link;

  private:
    void* m_fakeLib = nullptr;
    std::filesystem::path m_dir;
    std::unique_ptr<gpu::GpuContext> m_context;
    std::unique_ptr<gpu::GlobalContextScope> m_scope;
    std::unique_ptr<CClockSetDlg> m_panel;
};

TEST_F(NvmlPanelTest, ApplyAndDefaultReachNvmlInItsUnits) {
    CClockSetDlg& p = open();
    EXPECT_EQ(std::string(fake->log), "");  // opening writes nothing
    p.GpuClockSlider().SetPos(p.GpuClockSlider().GetPos() + 50);
    p.MemClockSlider().SetPos(p.MemClockSlider().GetPos() + 100);
    p.PowerSlider().SetPos(90);
    p.TempSlider().SetPos(87);
    p.FanManualButton().SetCheck(true);
    p.FanSlider().SetPos(60);
    p.SendMessage(WM_COMMAND, IDC_CLOCK_APPLY);
    EXPECT_EQ(std::string(fake->log),
              "SetClockOffsets dev0 type0 50\n"        // MHz
              "SetClockOffsets dev0 type2 200\n"       // 100 MHz in 500 kHz units
              "SetPowerManagementLimit dev0 288000\n"  // 90 % of 320 W, in mW
              "SetTemperatureThreshold dev0 5 87\n"    // the current acoustic threshold, °C
              "SetFanSpeed dev0 fan0 60\nSetFanSpeed dev0 fan1 60\n");
    EXPECT_EQ(boxes.size(), 1u);  // the confirmation only

    fake->log[0] = '\0';
    p.SendMessage(WM_COMMAND, IDC_CLOCK_DEFAULT);
    EXPECT_EQ(
        std::string(fake->log),
        "SetClockOffsets dev0 type0 0\nSetClockOffsets dev0 type2 0\nSetPowerManagementLimit dev0 320000\n"
        "SetDefaultFanSpeed dev0 fan0\nSetDefaultFanSpeed dev0 fan1\n"
        "SetTemperatureThreshold dev0 5 83\n");
}

TEST_F(NvmlPanelTest, WithoutPrivilegeOneMessageAndNoWrite) {
    fake->denySetters = 1;
    CClockSetDlg& p = open();
    const float gpu = p.GpuClockSlider().GetPos();
    p.GpuClockSlider().SetPos(gpu + 50);
    p.PowerSlider().SetPos(90);
    p.SendMessage(WM_COMMAND, IDC_CLOCK_APPLY);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Warning|You sure you want to apply the settings?",
                                               std::string("Vantrel|") + tuning::kPrivilegeText}));
    EXPECT_EQ(p.GpuClockSlider().GetPos(), gpu);
    EXPECT_EQ(p.PowerSlider().GetPos(), 100.0f);
    EXPECT_EQ(std::string(fake->log), "");

    boxes.clear();
    p.SendMessage(WM_COMMAND, IDC_CLOCK_DEFAULT);
    EXPECT_TRUE(boxes.empty());  // once per run
    EXPECT_EQ(std::string(fake->log), "");
}

}  // namespace
