#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/driver_choice.h"
#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace {

using Args = std::vector<std::string>;

TEST(DriverChoice, OrderOfPrecedenceAndRelativePaths) {
    const std::string exe = "/opt/vantrel";
    const std::string start = "/home/user/cards";
    EXPECT_EQ(app::chooseDriver({}, nullptr, exe, start).libraryPath, "/opt/vantrel/lib/libnvapi-nvml.so");
    EXPECT_EQ(app::chooseDriver({}, "", exe, start).libraryPath, "/opt/vantrel/lib/libnvapi-nvml.so");
    EXPECT_EQ(app::chooseDriver({"--simulate"}, nullptr, exe, start).libraryPath,
              "/opt/vantrel/lib/libnvapi-sim.so");
    EXPECT_EQ(app::chooseDriver({"--simulate"}, "../my.so", exe, start).libraryPath, "/home/user/my.so");
    EXPECT_EQ(app::chooseDriver({"--driver", "x.so", "--simulate"}, "/env.so", exe, start).libraryPath,
              "/home/user/cards/x.so");
    EXPECT_EQ(app::chooseDriver({"--driver=/abs/y.so"}, "/env.so", exe, start).libraryPath, "/abs/y.so");
    // A trailing --driver without a path is ignored like any unknown option.
    EXPECT_EQ(app::chooseDriver({"--bogus", "--driver"}, nullptr, exe, start).libraryPath,
              "/opt/vantrel/lib/libnvapi-nvml.so");
}

TEST(DriverChoice, SimulatedCardAndStatus) {
    app::DriverChoice c =
        app::chooseDriver({"--simulate", "two.xml", "--status"}, nullptr, "/opt/v", "/work");
    EXPECT_EQ(c.simulatedCard, "/work/two.xml");
    EXPECT_TRUE(c.statusOnly);
    EXPECT_EQ(c.libraryPath, "/opt/v/lib/libnvapi-sim.so");

    c = app::chooseDriver({"--simulate", "--status"}, nullptr, "/opt/v", "/work");
    EXPECT_EQ(c.simulatedCard, "");  // an option is never taken for the card
    EXPECT_TRUE(c.statusOnly);
    EXPECT_FALSE(app::chooseDriver({"--snapshot", "dir"}, nullptr, "/opt/v", "/work").statusOnly);

    unsetenv("VANTREL_SIM_CARD");
    app::applyDriverChoice(app::chooseDriver({"--simulate", "/cards/a.xml"}, nullptr, "/opt/v", "/work"));
    EXPECT_STREQ(std::getenv("VANTREL_SIM_CARD"), "/cards/a.xml");
    EXPECT_EQ(gpu::DriverBinding::libraryPath(), "/opt/v/lib/libnvapi-sim.so");
    unsetenv("VANTREL_SIM_CARD");
    gpu::DriverBinding::setLibraryPath("");
}

TEST(DriverChoice, SnapshotFolderIsTakenFromTheStartDirectory) {
    app::DriverChoice c =
        app::chooseDriver({"--snapshot", "shots", "--simulate", "a.xml"}, nullptr, "/opt/v", "/work");
    EXPECT_TRUE(c.snapshot);
    EXPECT_EQ(c.snapshotDir, "/work/shots");
    EXPECT_EQ(c.simulatedCard, "/work/a.xml");
    EXPECT_EQ(c.libraryPath, "/opt/v/lib/libnvapi-sim.so");
    EXPECT_EQ(app::chooseDriver({"--snapshot=/abs/dir"}, nullptr, "/opt/v", "/work").snapshotDir, "/abs/dir");
    // Without a folder (none, an option next, an empty name) the request stays, the folder is "".
    for (const Args& args : {Args{"--snapshot"}, Args{"--snapshot", "--simulate"}, Args{"--snapshot", ""},
                             Args{"--snapshot="}}) {
        c = app::chooseDriver(args, nullptr, "/opt/v", "/work");
        EXPECT_TRUE(c.snapshot);
        EXPECT_EQ(c.snapshotDir, "");
    }
    EXPECT_FALSE(app::chooseDriver({}, nullptr, "/opt/v", "/work").snapshot);
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

// Runs the program; returns its exit status and what it wrote on the chosen stream.
int runProgram(const std::string& arguments, bool stderrOnly, std::string& output) {
    std::string command = std::string("env -u VANTREL_DRIVER -u VANTREL_SIM_CARD VANTREL_SIM_FROZEN=1 '") +
                          VANTREL_EXECUTABLE + "' " + arguments +
                          (stderrOnly ? " 2>&1 >/dev/null" : " 2>/dev/null");
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    std::array<char, 4096> buffer;
    output.clear();
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) output.append(buffer.data(), n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(StatusReport, AMissingLibraryPrintsTheFailureOnStderrAndExitsOne) {
    std::string err;
    EXPECT_EQ(runProgram("--status --driver /nonexistent/lib.so", true, err), 1);
    EXPECT_EQ(err, std::string(app::kStartFailureText) + "\n");
}

TEST(StatusReport, ASimulatedTwoGpuCardIsReportedForTheFirstGpu) {
    char path[] = "/tmp/vantrel-status-card-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    std::ofstream(path) << R"(<card frozen="1"><gpu name="Alpha"/><gpu name="Beta"/></card>)";
    std::string out;
    EXPECT_EQ(runProgram(std::string("--simulate ") + path + " --status", false, out), 0);
    std::remove(path);
    std::string block = out.substr(out.find("== Vantrel status =="));
    EXPECT_NE(block.find("\nGPUs: 2, in use: 0\nGPU 0: Alpha\nGPU 1: Beta\n"), std::string::npos) << block;
    EXPECT_NE(block.find("\nGPU temperature: 38 °C (default range 0 to 127 °C)\n"), std::string::npos)
        << block;
    EXPECT_NE(block.find("\nFan: level 35 % (range 30 to 100 %), tachometer 1225 RPM\n"), std::string::npos)
        << block;
    EXPECT_NE(block.find("\nName: Alpha\n"), std::string::npos) << block;
    EXPECT_NE(block.find("\nVideo BIOS: "), std::string::npos) << block;
}

}  // namespace
