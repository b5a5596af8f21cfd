// The update check against a real HTTP server on the loopback address, with an
// updater stand-in script, and inside the main window on a simulated card.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "app/update_checker.h"
#include "app/vantrel_dlg.h"
#include "gpu/gpu_context.h"
#include "http_test_server.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "settings/settings_location.h"
#include "settings/settings_reader.h"
#include "support/sim_card.h"

namespace {

namespace fs = std::filesystem;
using app::UpdateOutcome;

constexpr const char* kEarlier =
    "<VantrelUpdate><Version>7</Version><!-- kept from before --></VantrelUpdate>";
const app::CalendarDay kToday{14, 3, 5};  // Tuesday the 14th of May

// A window that records the messages posted to it.
struct OwnerWindow : platform::Window {
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CLOSE) ++closes;
        return platform::Window::WindowProc(message, wParam, lParam);
    }
    int closes = 0;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class UpdateCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantrel-update-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_data = m_root / "data";
        m_program = m_root / "program";
        fs::create_directories(m_data);
        fs::create_directories(m_program);
        settings::setDocumentFolder(m_data.string());
        writeSettings("2", "13");
        std::ofstream(m_data / "VantrelUpdate.xml") << kEarlier;
        platform::setMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, UINT flags) {
                m_boxes.push_back(caption + "|" + text + "|" + std::to_string(flags));
                return m_answer;
            });
    }
    void TearDown() override {
        waitForCheck();
        app::setDefaultUpdateCheckOptions(std::nullopt);
        platform::setMessageBoxHandler(nullptr);
        settings::setDocumentFolder("");
        fs::remove_all(m_root);
    }

    void writeSettings(const std::string& schedule, const std::string& day, const std::string& extra = "") {
        std::ofstream(m_data / "Vantrel.xml")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Vantrel>\n\t<Version>1</Version>\n\t<GeneralDlg>"
            << "<StartMinized>0</StartMinized><UpadteCheck>" << schedule << "</UpadteCheck><UpadteDay>" << day
            << "</UpadteDay><UpdateWeek>1</UpdateWeek><UpadteMonth>1</UpadteMonth></GeneralDlg>\n"
            << extra << "</Vantrel>\n";
    }

    app::UpdateCheckOptions options(const std::string& serverCase) {
        app::UpdateCheckOptions o;
        o.baseUrl = m_server.base(serverCase);
        o.descriptionFolder = m_data.string();
        o.programFolder = m_program.string();
        o.timeout = std::chrono::milliseconds(1000);
        o.calendar = [] { return kToday; };
        o.handFanBack = [this] { m_events.push_back("fan back"); };
        o.endProcess = [this] { m_events.push_back("end"); };
        o.finished = [this](UpdateOutcome outcome) { m_outcome = outcome; };
        return o;
    }

    void waitForCheck() {
        QElapsedTimer clock;
        clock.start();
        while (app::updateCheckRunning() && clock.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents();  // posted messages and deferred deletes
    }

    // The stand-in records its argument count, arguments and working folder.
    void installUpdater(bool executable = true) {
        const fs::path script = m_program / app::kUpdaterName;
        std::ofstream(script) << "#!/bin/sh\n{ echo \"count=$#\"; for a in \"$@\"; do echo \"arg=$a\"; done; "
                                 "echo \"cwd=$(pwd)\"; } > '"
                              << (m_program / "ran.tmp").string() << "' && mv '"
                              << (m_program / "ran.tmp").string() << "' '" << (m_program / "ran.txt").string()
                              << "'\n";
        chmod(script.c_str(), executable ? 0755 : 0644);
    }
    std::string updaterRecord() {
        QElapsedTimer clock;
        clock.start();
        while (!fs::exists(m_program / "ran.txt") && clock.elapsed() < 5000) usleep(10000);
        return readFile(m_program / "ran.txt");
    }

    std::set<std::string> dataFolder() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_data))
            names.insert(entry.path().filename().string());
        return names;
    }
    std::string description() const { return readFile(m_data / "VantrelUpdate.xml"); }
    int32_t stored(settings::IntegerKey key) const {
        return settings::SettingsReader((m_data / "Vantrel.xml").string()).read(key);
    }
    std::string offerBox() const {
        return std::string(app::kUpdateOfferCaption) + "|" + app::kUpdateOfferText + "|" +
               std::to_string(MB_YESNO | MB_ICONQUESTION);
    }

    HttpTestServer m_server;
    fs::path m_root, m_data, m_program;
    int m_answer = IDNO;
    std::vector<std::string> m_boxes;
    std::vector<std::string> m_events;
    std::optional<UpdateOutcome> m_outcome;
};

// What each answer of the server leads to, for a scheduled daily check that is due.
struct ServerCase {
    const char* name;
    bool offered;
    enum { Newer, Earlier, None } fileAfter;
    UpdateOutcome outcome;
};

class ServerCases : public UpdateCheckTest, public ::testing::WithParamInterface<ServerCase> {};

TEST_P(ServerCases, OfferFolderAndStamps) {
    const ServerCase c = GetParam();
    OwnerWindow owner;
    ASSERT_TRUE(app::CheckForUpdate(owner, options(c.name)));
    // The stamps are saved before the download.
    EXPECT_EQ(stored(settings::keys::kUpdateDay), 14);
    waitForCheck();

    EXPECT_EQ(m_outcome, c.outcome);
    EXPECT_EQ(m_boxes, c.offered ? std::vector<std::string>{offerBox()} : std::vector<std::string>{});
    switch (c.fileAfter) {
        case ServerCase::Newer:
            EXPECT_NE(description().find("<Version>2</Version>"), std::string::npos);
            break;
        case ServerCase::Earlier:
            EXPECT_EQ(description(), kEarlier);
            break;
        case ServerCase::None:
            EXPECT_FALSE(fs::exists(m_data / "VantrelUpdate.xml"));
            break;
    }
    // No temporary file is left behind, whatever happened.
    std::set<std::string> expected{"Vantrel.xml"};
    if (c.fileAfter != ServerCase::None) expected.insert("VantrelUpdate.xml");
    EXPECT_EQ(dataFolder(), expected);
    EXPECT_EQ(stored(settings::keys::kUpdateDay), 14);
    EXPECT_EQ(stored(settings::keys::kVersion), 1);
    EXPECT_EQ(owner.closes, 0);  // declined or nothing offered
    EXPECT_TRUE(m_events.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Update, ServerCases,
    ::testing::Values(ServerCase{"newer", true, ServerCase::Newer, UpdateOutcome::Declined},
                      ServerCase{"equal", false, ServerCase::None, UpdateOutcome::NotNewer},
                      ServerCase{"older", false, ServerCase::None, UpdateOutcome::NotNewer},
                      ServerCase{"malformed", false, ServerCase::None, UpdateOutcome::NotNewer},
                      ServerCase{"noversion", false, ServerCase::None, UpdateOutcome::NotNewer},
                      ServerCase{"huge", false, ServerCase::Earlier, UpdateOutcome::DownloadFailed},
                      ServerCase{"unsized", false, ServerCase::Earlier, UpdateOutcome::DownloadFailed},
                      ServerCase{"missing", false, ServerCase::Earlier, UpdateOutcome::DownloadFailed},
                      ServerCase{"loop", false, ServerCase::Earlier, UpdateOutcome::DownloadFailed},
                      ServerCase{"hop3", true, ServerCase::Newer, UpdateOutcome::Declined},
                      ServerCase{"hop4", false, ServerCase::Earlier, UpdateOutcome::DownloadFailed},
                      ServerCase{"silent", false, ServerCase::Earlier, UpdateOutcome::DownloadFailed}),
    [](const ::testing::TestParamInfo<ServerCase>& info) { return std::string(info.param.name); });

TEST_F(UpdateCheckTest, NoServerConfiguredIsAQuietFailure) {
    OwnerWindow owner;
    app::UpdateCheckOptions o = options("newer");
    o.baseUrl.clear();
    ASSERT_TRUE(app::CheckNow(owner, o));
    waitForCheck();
    EXPECT_EQ(m_outcome, UpdateOutcome::DownloadFailed);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(description(), kEarlier);
}

TEST_F(UpdateCheckTest, ScheduledYesStartsTheUpdaterAndClosesTheMainWindow) {
    installUpdater();
    m_answer = IDYES;
    OwnerWindow owner;
    ASSERT_TRUE(app::CheckForUpdate(owner, options("newer")));
    waitForCheck();
    EXPECT_EQ(m_outcome, UpdateOutcome::UpdaterStarted);
    // No arguments, beside the description it is to use.
    EXPECT_EQ(updaterRecord(), "count=0\ncwd=" + m_data.string() + "\n");
    EXPECT_NE(description().find("<Version>2</Version>"), std::string::npos);
    EXPECT_EQ(owner.closes, 1);     // the ordinary close, which hands the fan back
    EXPECT_TRUE(m_events.empty());  // the process is not ended from here
}

TEST_F(UpdateCheckTest, CheckNowIgnoresTheScheduleAndEndsWithTheFanBack) {
    writeSettings("0", "3");  // never at start
    const std::string settingsBefore = readFile(m_data / "Vantrel.xml");
    installUpdater();
    m_answer = IDYES;
    OwnerWindow page;
    ASSERT_TRUE(app::CheckNow(page, options("newer")));
    waitForCheck();
    EXPECT_EQ(m_boxes, std::vector<std::string>{offerBox()});
    EXPECT_EQ(updaterRecord().substr(0, 8), "count=0\n");
    EXPECT_EQ(m_events, (std::vector<std::string>{"fan back", "end"}));
    EXPECT_EQ(page.closes, 0);
    EXPECT_EQ(readFile(m_data / "Vantrel.xml"), settingsBefore);  // no stamps
}

TEST_F(UpdateCheckTest, AnUpdaterThatCannotStartIsReportedAndTheProgramStays) {
    m_answer = IDYES;
    OwnerWindow owner;
    // Missing, for the scheduled form.
    ASSERT_TRUE(app::CheckForUpdate(owner, options("newer")));
    waitForCheck();
    EXPECT_EQ(m_outcome, UpdateOutcome::UpdaterFailed);
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_NE(m_boxes[1].find("could not be started"), std::string::npos);
    EXPECT_NE(m_boxes[1].find("|" + std::to_string(MB_OK | MB_ICONERROR)), std::string::npos);
    EXPECT_EQ(owner.closes, 0);

    // Not executable, for "Check now": neither the fan nor the process is touched.
    installUpdater(false);
    m_boxes.clear();
    ASSERT_TRUE(app::CheckNow(owner, options("newer")));
    waitForCheck();
    EXPECT_EQ(m_outcome, UpdateOutcome::UpdaterFailed);
    EXPECT_EQ(m_boxes.size(), 2u);
    EXPECT_TRUE(m_events.empty());
    EXPECT_FALSE(fs::exists(m_program / "ran.txt"));
    EXPECT_NE(description().find("<Version>2</Version>"), std::string::npos);
}

TEST_F(UpdateCheckTest, OneCheckAtATime) {
    OwnerWindow owner;
    ASSERT_TRUE(app::CheckNow(owner, options("silent")));
    EXPECT_TRUE(app::updateCheckRunning());
    EXPECT_FALSE(app::CheckNow(owner, options("newer")));
    EXPECT_FALSE(app::CheckForUpdate(owner, options("newer")));
    EXPECT_EQ(stored(settings::keys::kUpdateDay), 13);  // a refused scheduled check writes no stamps
    waitForCheck();
    EXPECT_EQ(m_outcome, UpdateOutcome::DownloadFailed);
    EXPECT_EQ(m_server.requests("newer"), 0);
}

// The main window on a simulated card whose fan the curve drives.
class MainWindowUpdateTest : public UpdateCheckTest {
  protected:
    void SetUp() override {
        UpdateCheckTest::SetUp();
        m_card = std::make_unique<testsupport::SimCard>(
            "<card frozen=\"1\"><gpu><temperature initial=\"45\" fixed=\"45\"/><coolers><cooler level=\"40\" "
            "defaultMin=\"30\" defaultPolicy=\"32\" policy=\"32\"/></coolers></gpu></card>");
        m_context = std::make_unique<gpu::GpuContext>();
        m_scope = std::make_unique<gpu::GlobalContextScope>(*m_context);
    }
    void TearDown() override {
        m_window.reset();
        UpdateCheckTest::TearDown();
        m_scope.reset();
        m_context.reset();
        m_card.reset();
    }
    CVantrelDlg& open(const std::string& serverCase) {
        writeSettings(
            "3", "7",
            "\t<FanDlg><EnableFan>1</EnableFan><AutoSystem>1</AutoSystem><UpdateTime>100</UpdateTime>"
            "</FanDlg>\n");
        app::setDefaultUpdateCheckOptions(options(serverCase));
        m_window = std::make_unique<CVantrelDlg>();
        m_window->Create();
        return *m_window;
    }
    size_t fanWrites() const {
        size_t n = 0;
        for (const std::string& line : m_card->trace()) n += line.find("policy0=1 ") != std::string::npos;
        return n;
    }

    std::unique_ptr<testsupport::SimCard> m_card;
    std::unique_ptr<gpu::GpuContext> m_context;
    std::unique_ptr<gpu::GlobalContextScope> m_scope;
    std::unique_ptr<CVantrelDlg> m_window;
};

TEST_F(MainWindowUpdateTest, TheWindowAndTheFanCurveGoOnWhileTheServerIsSilent) {
    CVantrelDlg& w = open("silent");
    ASSERT_TRUE(app::updateCheckRunning());
    // Weekly stamps of the 14th, a Tuesday, are on disk before any answer.
    EXPECT_EQ(stored(settings::keys::kUpdateDay), 14);
    EXPECT_EQ(stored(settings::keys::kUpdateWeek), 3);
    const int paints = w.PaintCount();
    waitForCheck();
    EXPECT_EQ(m_outcome, UpdateOutcome::DownloadFailed);
    // A second of waiting: eye frames every 150 ms, fan levels every 100 ms.
    EXPECT_GE(w.PaintCount() - paints, 3);
    EXPECT_GE(fanWrites(), 3u);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(w.IsWindowVisible());
}

TEST_F(MainWindowUpdateTest, AcceptedUpdateClosesTheWindowTheOrdinaryWay) {
    installUpdater();
    m_answer = IDYES;
    CVantrelDlg& w = open("newer");
    waitForCheck();
    EXPECT_EQ(m_outcome, UpdateOutcome::UpdaterStarted);
    EXPECT_EQ(updaterRecord().substr(0, 8), "count=0\n");
    // The close routine ran: the fan is back with the driver, EnableFan written.
    EXPECT_FALSE(w.HasTimer(kFanTimer));
    EXPECT_EQ(m_card->trace().back(), "GPU_SetCoolerLevels gpu=0 target=7 level0=30 policy0=32 status=0");
    EXPECT_EQ(settings::SettingsReader((m_data / "Vantrel.xml").string()).text("/Vantrel/FanDlg/EnableFan"),
              "1");
}

}  // namespace
