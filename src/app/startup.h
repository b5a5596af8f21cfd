// The process frame between the application object and the main window.
#pragma once

#include <functional>

#include "platform/translation.h"

namespace app {

// Source texts; shown through platform::translate("Startup", …).
inline constexpr const char* kStartFailureText = QT_TRANSLATE_NOOP(
    "Startup",
    "The program can not start, your graphics card does not support or need to install the latest NVIDIA "
    "drivers");
inline constexpr const char* kStartFailureCaption = QT_TRANSLATE_NOOP("Startup", "Error");
inline constexpr const char* kNoSettingsFolderText = QT_TRANSLATE_NOOP(
    "Startup",
    "The program can not start: there is no folder for your settings. Set HOME or XDG_CONFIG_HOME to a "
    "folder you may write to.");

// Builds the global GPU context. Without a driver library it shows the start-up
// failure box and returns 0 before anything else happens. Otherwise it makes the
// executable's folder the working directory (the per-user folder for an
// installed program), runs the main window and returns 0; the context unloads
// the driver on the way out. An installed program without a per-user folder shows
// why and returns 1.
int runApplication(const std::function<void()>& runMainWindow);

}  // namespace app
