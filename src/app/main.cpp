#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/set_command.h"
#include "app/single_instance.h"
#include "app/snapshot_windows.h"
#include "app/startup.h"
#include "app/status_report.h"
#include "app/write_probe.h"
#include "platform/display_choice.h"
#include "platform/process.h"
#include "platform/qt_message_box.h"
#include "platform/qt_translation.h"

int main(int argc, char** argv) {
    // Decided before any window-system object exists: help, version, errors and
    // the status report need no display.
    const app::CommandLine commandLine =
        app::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::getenv("VANTREL_DRIVER"),
                              platform::executableDir(), app::currentDirectory());
    using Run = app::CommandLine::Run;
    switch (commandLine.run) {
        case Run::Help:
        case Run::Version:
            std::fputs(commandLine.text.c_str(), stdout);
            return 0;
        case Run::Error:
            std::fprintf(stderr, "vantrel: %s\nTry 'vantrel --help'.\n", commandLine.text.c_str());
            return app::kExitUsage;
        default:
            break;
    }
    app::applyDriverChoice(commandLine);
    const std::string loadError = app::driverLoadError(commandLine.libraryPath);
    if (!loadError.empty())
        std::fprintf(stderr, "vantrel: cannot load the driver library %s: %s\n",
                     commandLine.libraryPath.c_str(), loadError.c_str());

    if (commandLine.run == Run::Status) return app::runStatus(commandLine.status);
    if (commandLine.run == Run::Set || commandLine.run == Run::ApplyProfile)
        return app::runSetCommand(commandLine, stdout, stderr);
    if (commandLine.run == Run::ServiceStatus)
        return app::runServiceStatus(commandLine.status, stdout, stderr);
    if (commandLine.run == Run::SelfTest)
        return app::runWriteProbe(stdout, stderr, commandLine.status.verbose);
    if (commandLine.run == Run::Snapshot) {
        // Never on a screen, and no message box waits for an answer: texts go to stderr.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        QApplication application(argc, argv);
        return app::runSnapshots(commandLine.snapshotDir, stderr);
    }

    // Qt aborts when its platform cannot start: choose one that can, or say why not.
    platform::PlatformChoice choice = platform::choosePlatform();
    if (!choice.ok()) {
        std::fprintf(stderr, "vantrel: %s\n", choice.error().c_str());
        return 1;
    }
    // As an option rather than in the environment, so programs started from here
    // choose their own platform.
    std::vector<char*> qtArguments(argv, argv + argc);
    static char platformOption[] = "-platform";
    std::string platformName = choice.platform();
    if (!platformName.empty())
        qtArguments.insert(qtArguments.begin() + (argc > 0 ? 1 : 0), {platformOption, platformName.data()});
    int qtArgumentCount = int(qtArguments.size());
    qtArguments.push_back(nullptr);
    QApplication application(qtArgumentCount, qtArguments.data());
    choice.releaseConnection();
    // The runtime folder is the executable's from the start: every box, the
    // start-up ones too, is in the user's language.
    platform::installTranslations(platform::executableDir());
    const char* display = std::getenv("DISPLAY");
    app::SingleInstance instance(app::instanceSocketPath(
        std::getenv("XDG_RUNTIME_DIR"), display ? display : std::getenv("WAYLAND_DISPLAY"), getuid()));
    if (!instance.first()) return 0;  // the running one was asked to come to the front
    platform::installQtMessageBox();
    return app::runApplication(app::runMainWindow);
}
