#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/command_line.h"
#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "run_program.h"

namespace {

using Args = std::vector<std::string>;

app::CommandLine parse(const Args& args, const char* environment = nullptr) {
    return app::parseCommandLine(args, environment, "/opt/v", "/work");
}

TEST(CommandLine, DriverOrderOfPrecedenceAndRelativePaths) {
    EXPECT_EQ(parse({}).libraryPath, "/opt/v/lib/libnvapi-nvml.so");
    EXPECT_EQ(parse({}, "").libraryPath, "/opt/v/lib/libnvapi-nvml.so");
    EXPECT_EQ(parse({"--simulate"}).libraryPath, "/opt/v/lib/libnvapi-sim.so");
    EXPECT_EQ(parse({"--simulate"}, "../my.so").libraryPath, "/my.so");
    EXPECT_EQ(parse({"--driver", "x.so", "--simulate"}, "/env.so").libraryPath, "/work/x.so");
    EXPECT_EQ(parse({"--driver=/abs/y.so"}, "/env.so").libraryPath, "/abs/y.so");
    EXPECT_EQ(parse({}).run, app::CommandLine::Run::Window);
}

TEST(CommandLine, SimulatedCardInEveryForm) {
    for (const Args& args :
         {Args{"--simulate", "two.xml", "--status"}, Args{"--status", "--simulate=two.xml"},
          Args{"two.xml", "--simulate", "--status"}}) {
        app::CommandLine c = parse(args);
        EXPECT_EQ(c.run, app::CommandLine::Run::Status);
        EXPECT_EQ(c.simulatedCard, "/work/two.xml");
        EXPECT_EQ(c.libraryPath, "/opt/v/lib/libnvapi-sim.so");
    }
    EXPECT_EQ(parse({"--simulate", "--status"}).simulatedCard, "");

    unsetenv("VANTREL_SIM_CARD");
    app::applyDriverChoice(parse({"--simulate", "/cards/a.xml"}));
    EXPECT_STREQ(std::getenv("VANTREL_SIM_CARD"), "/cards/a.xml");
    EXPECT_EQ(gpu::DriverBinding::libraryPath(), "/opt/v/lib/libnvapi-sim.so");
    unsetenv("VANTREL_SIM_CARD");
    gpu::DriverBinding::setLibraryPath("");
}

TEST(CommandLine, SnapshotFolderIsTakenFromTheStartDirectory) {
    app::CommandLine c = parse({"--snapshot", "shots", "--simulate", "a.xml"});
    EXPECT_EQ(c.run, app::CommandLine::Run::Snapshot);
    EXPECT_EQ(c.snapshotDir, "/work/shots");
    EXPECT_EQ(c.simulatedCard, "/work/a.xml");
    EXPECT_EQ(parse({"--snapshot=/abs/dir"}).snapshotDir, "/abs/dir");
}

TEST(CommandLine, StatusOptionsWithEitherValueForm) {
    app::CommandLine c = parse({"--status", "--format=json", "--gpu", "all", "--loop=2.5"});
    EXPECT_EQ(c.status.format, app::StatusFormat::Json);
    EXPECT_EQ(c.status.gpu, app::kAllGpus);
    EXPECT_EQ(c.status.loopSeconds, 2.5);
    c = parse({"--status", "--format", "csv", "--gpu=1"});
    EXPECT_EQ(c.status.format, app::StatusFormat::Csv);
    EXPECT_EQ(c.status.gpu, 1);
    EXPECT_EQ(c.status.loopSeconds, 0);
    EXPECT_EQ(parse({"--status"}).status.gpu, -1);
}

TEST(CommandLine, MistakesAreErrorsNotIgnored) {
    for (const Args& args :
         {Args{"--bogus"}, Args{"--driver"}, Args{"--driver="}, Args{"--snapshot"}, Args{"--snapshot="},
          Args{"--snapshot", "--simulate"}, Args{"--driver", "--status"}, Args{"stray"},
          Args{"--simulate", "a.xml", "b.xml"}, Args{"--status", "--format", "xml"},
          Args{"--status", "--gpu", "-1"}, Args{"--status", "--gpu", "one"}, Args{"--status", "--loop", "0"},
          Args{"--status", "--loop", "nan"}, Args{"--format=json"}, Args{"--status", "--snapshot", "d"},
          Args{"--driver", "a", "--driver", "b"}}) {
        app::CommandLine c = parse(args);
        EXPECT_EQ(c.run, app::CommandLine::Run::Error) << args.front() << " " << args.size();
        EXPECT_FALSE(c.text.empty());
    }
    EXPECT_EQ(parse({"--help", "--bogus"}).run, app::CommandLine::Run::Error);
    EXPECT_EQ(parse({"--status", "--help"}).run, app::CommandLine::Run::Help);
    EXPECT_EQ(parse({"-v"}).run, app::CommandLine::Run::Version);
}

TEST(CommandLine, LoadErrorNamesTheLoadersReason) {
    EXPECT_NE(app::driverLoadError("/nonexistent/lib.so").find("No such file"), std::string::npos);
    EXPECT_EQ(app::driverLoadError(SIM_DRIVER_PATH), "");
}

TEST(Startup, AMissingDriverLibraryShowsTheFailureBoxAndEndsWithZero) {
    gpu::DriverBinding::setLibraryPath("/nonexistent/libnvapi-nvml.so");
    std::vector<std::string> boxes;
    platform::setMessageBoxHandler([&](const std::string& text, const std::string& caption, UINT flags) {
        boxes.push_back(caption + "|" + text + "|" + std::to_string(flags));
        return IDOK;
    });
    bool mainWindowRan = false;
    EXPECT_EQ(app::runApplication([&] { mainWindowRan = true; }), 0);
    platform::setMessageBoxHandler(nullptr);
    EXPECT_FALSE(mainWindowRan);
    EXPECT_EQ(boxes, std::vector<std::string>{
                         "Error|The program can not start, your graphics card does not support or "
                         "need to install the latest NVIDIA drivers|16"});
    gpu::DriverBinding::setLibraryPath("");
}

TEST(Startup, WithADriverTheMainWindowRunsBesideTheExecutableAndTheDriverIsUnloadedAfter) {
    setenv("VANTREL_SIM_FROZEN", "1", 1);
    gpu::DriverBinding::setLibraryPath(SIM_DRIVER_PATH);
    std::string before = app::currentDirectory();
    ASSERT_EQ(chdir("/"), 0);
    std::string workingDir;
    int gpus = -1;
    bool loadedInside = false;
    EXPECT_EQ(app::runApplication([&] {
                  workingDir = app::currentDirectory();
                  gpus = gpu::globalContext().count;
                  loadedInside = gpu::DriverBinding::isLoaded();
              }),
              0);
    EXPECT_EQ(workingDir, platform::executableDir());
    EXPECT_EQ(gpus, 1);
    EXPECT_TRUE(loadedInside);
    EXPECT_FALSE(gpu::DriverBinding::isLoaded());
    EXPECT_EQ(gpu::globalContext().count, 0);  // the global context is gone with the run
    ASSERT_EQ(chdir(before.c_str()), 0);
    gpu::DriverBinding::setLibraryPath("");
    unsetenv("VANTREL_SIM_FROZEN");
}

TEST(Startup, PerUserFolderFollowsXdgAndIgnoresRelativeOrMissingHomes) {
    EXPECT_EQ(platform::perUserFolder("/x/conf", "/home/u"), "/x/conf/vantrel");
    EXPECT_EQ(platform::perUserFolder(nullptr, "/home/u"), "/home/u/.config/vantrel");
    EXPECT_EQ(platform::perUserFolder("", "/home/u"), "/home/u/.config/vantrel");
    EXPECT_EQ(platform::perUserFolder("conf", "/home/u"), "/home/u/.config/vantrel");
    EXPECT_EQ(platform::perUserFolder(nullptr, nullptr), "");
    EXPECT_EQ(platform::perUserFolder("", "relative"), "");
}

// A runtime folder in a temporary place, with the shipped document; `installed`
// adds the install step's marker.
class WorkingDirTest : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-workdir-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_program = m_root / "program";
        std::filesystem::create_directories(m_program);
        std::ofstream(m_program / "Vantrel.xml") << "<Vantrel><General/></Vantrel>\n";
        m_before = app::currentDirectory();
        const char* saved = std::getenv("XDG_CONFIG_HOME");
        m_savedConfig = saved ? std::optional<std::string>(saved) : std::nullopt;
        setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(m_before.c_str()), 0);
        if (m_savedConfig)
            setenv("XDG_CONFIG_HOME", m_savedConfig->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        platform::enterWorkingDir(m_before);  // resets the program-files folder
        EXPECT_EQ(chdir(m_before.c_str()), 0);
        std::filesystem::remove_all(m_root);
    }
    void markInstalled() const { std::ofstream(m_program / platform::kInstalledMarker) << "installed\n"; }
    size_t programFiles() const {
        return size_t(std::distance(std::filesystem::directory_iterator(m_program),
                                    std::filesystem::directory_iterator()));
    }

    std::filesystem::path m_root, m_program;
    std::string m_before;
    std::optional<std::string> m_savedConfig;
};

TEST_F(WorkingDirTest, AWritableFolderWithoutTheMarkerIsTheWorkingDirectory) {
    EXPECT_FALSE(platform::isInstalledFolder(m_program.string()));
    ASSERT_TRUE(platform::enterWorkingDir(m_program.string()));
    EXPECT_EQ(app::currentDirectory(), m_program.string());
    EXPECT_EQ(platform::programFilesDir(), "");
    EXPECT_FALSE(std::filesystem::exists(m_root / "config"));
}

TEST_F(WorkingDirTest, AnInstalledFolderIsNeverTheWorkingDirectoryEvenWhenWritable) {
    markInstalled();
    ASSERT_EQ(access(m_program.c_str(), W_OK), 0);  // as it is for root
    ASSERT_TRUE(platform::enterWorkingDir(m_program.string()));
    const std::filesystem::path user = m_root / "config" / "vantrel";
    EXPECT_EQ(app::currentDirectory(), user.string());
    EXPECT_EQ(platform::programFilesDir(), m_program.string());
    std::ifstream seeded(user / "Vantrel.xml");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(seeded), {}), "<Vantrel><General/></Vantrel>\n");
    EXPECT_EQ(programFiles(), 2u) << "the runtime folder gained a file";

    // A per-user folder that cannot be made: no start, and still no write beside the program.
    std::ofstream(m_root / "file") << "x";
    setenv("XDG_CONFIG_HOME", (m_root / "file" / "config").c_str(), 1);
    ASSERT_EQ(chdir(m_program.c_str()), 0);
    EXPECT_FALSE(platform::enterWorkingDir(m_program.string()));
    EXPECT_EQ(platform::programFilesDir(), "");
    EXPECT_EQ(programFiles(), 2u);
}

TEST(StatusReport, AMissingLibraryPrintsTheFailureOnStderrAndExitsThree) {
    std::string err;
    EXPECT_EQ(runProgram("--status --driver /nonexistent/lib.so", true, err), 3);
    // Which library and why first, then the failure text.
    EXPECT_EQ(err.find("vantrel: cannot load the driver library /nonexistent/lib.so: "), 0u) << err;
    EXPECT_NE(err.find("No such file"), std::string::npos) << err;
    EXPECT_TRUE(err.ends_with(std::string("\n") + app::kStartFailureText + "\n")) << err;
}

const char* const kTwoGpus =
    R"(<card frozen="1"><gpu name="Alpha"/><gpu name="Be,ta &quot;2&quot;"/></card>)";

TEST(StatusReport, ASimulatedTwoGpuCardIsReportedForTheFirstGpu) {
    CardFile card(R"(<card frozen="1"><gpu name="Alpha"/><gpu name="Beta"/></card>)");
    std::string out;
    EXPECT_EQ(runProgram(std::string("--simulate ") + card.path + " --status", false, out), 0);
    // stdout holds the report alone.
    ASSERT_EQ(out.find("\n== Vantrel status ==\n"), 0u) << out;
    std::string block = out.substr(out.find("== Vantrel status =="));
    EXPECT_NE(block.find("\nGPUs: 2, in use: 0\nGPU 0: Alpha\nGPU 1: Beta\n"), std::string::npos) << block;
    EXPECT_NE(block.find("\nGPU temperature: 38 °C (default range 0 to 127 °C)\n"), std::string::npos)
        << block;
    EXPECT_NE(block.find("\nFan: level 35 % (range 30 to 100 %), tachometer 1225 RPM\n"), std::string::npos)
        << block;
    EXPECT_NE(block.find("\nName: Alpha\n"), std::string::npos) << block;
    EXPECT_NE(block.find("\nVideo BIOS: "), std::string::npos) << block;
}

TEST(StatusReport, JsonIsOneValidDocumentWithEveryGpu) {
    CardFile card(kTwoGpus);
    std::string out;
    EXPECT_EQ(
        runProgram(std::string("--simulate=") + card.path + " --status --format json --gpu all", false, out),
        0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_NE(out.find(R"("gpu_count":2,"gpu_in_use":0,"gpus":[{"index":0,"name":"Alpha",)"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find(R"({"index":1,"name":"Be,ta \"2\"","temperature_c":38,)"), std::string::npos) << out;
    std::string checked;
    EXPECT_EQ(runProgram(std::string("--simulate ") + card.path +
                             " --status --format=json | python3 -m json.tool >/dev/null && echo valid",
                         false, checked),
              0);
    EXPECT_EQ(checked, "valid\n");
}

TEST(StatusReport, CsvHasOneHeaderThenARowPerGpu) {
    CardFile card(kTwoGpus);
    std::string out;
    EXPECT_EQ(
        runProgram(std::string("--simulate ") + card.path + " --status --format csv --gpu all", false, out),
        0);
    EXPECT_EQ(out.find("index,name,temperature_c,"), 0u) << out;
    EXPECT_NE(out.find("\n0,Alpha,38,"), std::string::npos) << out;
    EXPECT_NE(out.find("\n1,\"Be,ta \"\"2\"\"\",38,"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out;
    EXPECT_EQ(
        runProgram(std::string("--simulate ") + card.path + " --status --format csv --gpu 1", false, out), 0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;
    EXPECT_NE(out.find("\n1,\"Be,ta"), std::string::npos) << out;
}

// A GPU whose driver keeps the fan to itself: no fan value is made up.
TEST(StatusReport, AFanTheDriverDoesNotReportIsBlankNotZero) {
    CardFile card(R"(<card frozen="1"><gpu>
        <fault interface="GPU_GetCoolerSettings GPU_SetCoolerLevels GPU_GetTachReading" status="-104"/></gpu></card>)");
    std::string out;
    EXPECT_EQ(runProgram(std::string("--simulate ") + card.path + " --status", false, out), 0);
    EXPECT_NE(out.find("\nFan: unavailable, tachometer unavailable\n"), std::string::npos) << out;
    EXPECT_EQ(runProgram(std::string("--simulate ") + card.path + " --status --format json", false, out), 0);
    EXPECT_NE(out.find(R"("fan_level_percent":null,"fan_rpm":null)"), std::string::npos) << out;
}

TEST(StatusReport, NoGpuABrokenCardAndAMissingGpuHaveTheirOwnExitCodes) {
    CardFile empty(R"(<card frozen="1"></card>)");
    CardFile broken("<card><gpu");
    CardFile two(kTwoGpus);
    std::string out, err;
    for (const auto& [args, code] :
         {std::pair{std::string("--simulate ") + empty.path + " --status", 5},
          {std::string("--simulate ") + broken.path + " --status --format json", 4},
          {std::string("--simulate ") + two.path + " --status --gpu 2", 6}}) {
        EXPECT_EQ(runProgram(args, false, out), code) << args;
        EXPECT_EQ(out, "") << args;
        EXPECT_EQ(runProgram(args, true, err), code) << args;
        EXPECT_NE(err.find("vantrel: "), std::string::npos) << err;
    }
}

// Each reading failing in turn: its fields are null (JSON), empty (CSV) or
// "unavailable" (text), never 0, and the other readings are still there.
TEST(StatusReport, AFailingReadingIsAbsentInEveryFormat) {
    struct Case {
        const char* interface;
        const char* field;
        const char* textLine;
    };
    for (const Case& c :
         {Case{"GPU_GetThermalSettings", "temperature_c", "\nGPU temperature: unavailable"},
          Case{"GPU_GetAllClockFrequencies", "gpu_clock_mhz", "\nClocks: unavailable\n"},
          Case{"GPU_GetDynamicPstatesInfoEx", "gpu_usage_percent", "\nUsage: unavailable\n"},
          Case{"GPU_GetMemoryInfo", "memory_used_mib", "\nMemory: unavailable\n"},
          Case{"GPU_GetVoltageStatus", "voltage_uv", "\nVoltage: current unavailable"},
          Case{"GPU_GetTachReading", "fan_rpm", "tachometer unavailable\n"},
          Case{"GPU_GetCoolerSettings", "fan_level_percent", "\nFan: unavailable"},
          Case{"GPU_PowerPoliciesGetStatus", "power_limit_percent", "limit unavailable"},
          Case{"GPU_GetRamBusWidth", "memory_bus_width_bits", "\nMemory bus width: unavailable\n"}}) {
        CardFile card(std::string(R"(<card frozen="1"><gpu><fault interface=")") + c.interface +
                      R"(" status="-104"/></gpu></card>)");
        const std::string sim = std::string("--simulate ") + card.path + " --status";
        std::string out;
        EXPECT_EQ(runProgram(sim + " --format json", false, out), 0) << c.interface;
        EXPECT_NE(out.find(std::string("\"") + c.field + "\":null"), std::string::npos) << c.interface << out;
        EXPECT_NE(out.find("\"gpu_count\":1"), std::string::npos) << out;
        EXPECT_EQ(
            runProgram(sim + " --format csv --no-header --query index," + c.field + ",name", false, out), 0);
        EXPECT_EQ(out, "0,,Vantrel Sim 680\n") << c.interface;
        EXPECT_EQ(runProgram(sim, false, out), 0) << c.interface;
        EXPECT_NE(out.find(c.textLine), std::string::npos) << c.interface << out;
    }
}

TEST(StatusReport, ChosenFieldsAsNumbersWithATimestampAndNoDiagnostics) {
    CardFile card(R"(<card frozen="1"><gpu name="Alpha" busWidth="256"/></card>)");
    const std::string sim = std::string("--simulate ") + card.path + " --status";
    std::string out;
    EXPECT_EQ(
        runProgram(sim + " --format csv --query name,memory_bus_width_bits,memory_bus_width", false, out), 0);
    EXPECT_EQ(out, "name,memory_bus_width_bits,memory_bus_width\nAlpha,256,256Bit\n");
    EXPECT_EQ(runProgram(sim + " --format csv --no-header --no-units --query memory_bus_width,bandwidth",
                         false, out),
              0);
    EXPECT_EQ(out.find("256,"), 0u) << out;
    EXPECT_EQ(out.find("GB/s"), std::string::npos) << out;

    EXPECT_EQ(runProgram(sim + " --format json --query memory_bus_width_bits,bandwidth_gb_s", false, out), 0);
    EXPECT_NE(out.find("\"gpus\":[{\"memory_bus_width_bits\":256,\"bandwidth_gb_s\":"), std::string::npos)
        << out;
    // One timestamp per report, ISO 8601 with the zone's offset.
    const size_t at = out.find("{\"timestamp\":\"");
    ASSERT_EQ(at, 0u) << out;
    const std::string stamp = out.substr(14, 25);
    EXPECT_EQ(stamp[4], '-') << stamp;
    EXPECT_EQ(stamp[10], 'T') << stamp;
    EXPECT_TRUE(stamp[19] == '+' || stamp[19] == '-') << stamp;
    EXPECT_EQ(stamp[22], ':') << stamp;

    // Quiet by default; --verbose shows the GPU layer's lines on stderr.
    EXPECT_EQ(runProgram(sim, true, out), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(runProgram(sim + " --verbose", true, out), 0);
    EXPECT_NE(out.find("Power topology info:\n"), std::string::npos) << out;
}

TEST(StatusReport, UnknownQueryFieldsAreNamedAndExitTwo) {
    std::string err;
    EXPECT_EQ(runProgram("--simulate --status --format csv --query temperature_c,bogus,fan_rmp", true, err),
              2);
    EXPECT_NE(err.find("Unknown --query field: bogus, fan_rmp."), std::string::npos) << err;
    EXPECT_EQ(runProgram("--simulate --no-header", true, err), 2);
    std::string out;
    EXPECT_EQ(runProgram("--help", false, out), 0);
    for (const char* code : {"  3  ", "  4  ", "  5  ", "  6  "})
        EXPECT_NE(out.find(code), std::string::npos) << out;
}

// The NVML bridge over the fake NVML with several GPUs: every GPU reported, the
// bridge's estimates named, and the write probe changing nothing.
TEST(StatusReport, EveryGpuOfTheNvmlBridge) {
    const std::string fake =
        std::string("LD_LIBRARY_PATH=") + FAKE_NVML_DIR + " FAKE_NVML_COUNT=3 VANTREL_SERVICE_SOCKET= ";
    std::string out;
    ASSERT_EQ(runProgram("--status --format csv --no-header --gpu all --query index,gpu_clock_mhz", false,
                         out, fake),
              0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out;
    EXPECT_EQ(out.find("0,"), 0u) << out;
    EXPECT_NE(out.find("\n2,"), std::string::npos) << out;
    EXPECT_EQ(runProgram("--status --format json --gpu 1", false, out, fake), 0);
    EXPECT_NE(out.find("\"estimated\":[\"base_gpu_clock_mhz\""), std::string::npos) << out;
    EXPECT_EQ(runProgram("--status", false, out,
                         std::string("LD_LIBRARY_PATH=") + FAKE_NVML_DIR + " FAKE_NVML_COUNT=0 "),
              5);
    EXPECT_EQ(runProgram("--status", false, out, "LD_LIBRARY_PATH=/nonexistent "), 3);
    EXPECT_EQ(runProgram("--status", false, out,
                         std::string("LD_LIBRARY_PATH=") + FAKE_NVML_DIR + " FAKE_NVML_INIT=9 "),
              4);
}

TEST(StatusReport, LoopReportsUntilInterrupted) {
    CardFile card(kTwoGpus);
    std::string out;
    // Stopped after about a second by SIGINT: at least two reports, one header, exit 0.
    EXPECT_EQ(runProgram(std::string("--simulate ") + card.path +
                             " --status --format csv --loop 0.3 & sleep 1; kill -INT $!; wait $!",
                         false, out),
              0);
    EXPECT_EQ(out.find("index,"), 0u) << out;
    EXPECT_EQ(out.find("index,", 1), std::string::npos) << out;
    EXPECT_GE(std::count(out.begin(), out.end(), '\n'), 3) << out;
}

TEST(ProgramCommandLine, HelpAndVersionNeedNoDisplayMistakesExitTwo) {
    std::string out;
    EXPECT_EQ(runProgram("--help", false, out), 0);
    EXPECT_NE(out.find("--status"), std::string::npos) << out;
    EXPECT_NE(out.find("--format <format>"), std::string::npos) << out;
    EXPECT_EQ(runProgram("--version", false, out), 0);
    EXPECT_EQ(out.find("vantrel "), 0u) << out;
    EXPECT_EQ(runProgram("--bogus", true, out), 2);
    EXPECT_NE(out.find("vantrel: Unknown option 'bogus'."), std::string::npos) << out;
    EXPECT_EQ(runProgram("--status --loop", true, out), 2);
    EXPECT_NE(out.find("Missing value after '--loop'"), std::string::npos) << out;
}

// Without a display the program says so in one line and ends with 1, never with
// Qt's abort; the report needs no display and still runs.
TEST(ProgramStart, WithoutAnyDisplayOneLineAndExitOne) {
    const std::filesystem::path runtime =
        std::filesystem::temp_directory_path() / ("no_display_" + std::to_string(getpid()));
    std::filesystem::create_directories(runtime);
    const std::string noDisplay =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM XDG_RUNTIME_DIR='" +
        runtime.string() + "' ";
    std::string err;
    for (const std::string& environment :
         {noDisplay, noDisplay + "DISPLAY=:9876 WAYLAND_DISPLAY=wayland-9 "}) {
        EXPECT_EQ(runProgram("--simulate", true, err, environment), 1);
        EXPECT_EQ(err.find("vantrel: no display"), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_EQ(runProgram("--simulate", true, err, noDisplay + "QT_QPA_PLATFORM=xcb "), 1);
    EXPECT_EQ(err.find("vantrel: QT_QPA_PLATFORM is xcb"), 0u) << err;
    std::string out;
    EXPECT_EQ(runProgram("--simulate --status", false, out, noDisplay), 0);
    EXPECT_FALSE(out.empty());
    std::filesystem::remove_all(runtime);
}

}  // namespace
