#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/driver_choice.h"
#include "app/main_window.h"
#include "app/snapshot_windows.h"
#include "app/startup.h"
#include "app/status_report.h"
#include "platform/process.h"
#include "platform/qt_message_box.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    app::DriverChoice choice = app::chooseDriver(args, std::getenv("VANTREL_DRIVER"),
                                                 platform::executableDir(), app::currentDirectory());
    app::applyDriverChoice(choice);
    // Decided before any window-system object exists, so it runs without a display.
    if (choice.statusOnly) return app::printStatus(stdout, stderr);

    if (choice.snapshot) {
        if (choice.snapshotDir.empty()) {
            std::fprintf(stderr, "vantrel: --snapshot needs a folder\n");
            return 2;
        }
        // Never on a screen, and no message box waits for an answer: texts go to stderr.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        QApplication application(argc, argv);
        return app::runSnapshots(choice.snapshotDir, stderr);
    }

    QApplication application(argc, argv);
    platform::installQtMessageBox();
    return app::runApplication(app::runMainWindow);
}
