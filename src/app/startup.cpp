#include "app/startup.h"

#include "gpu/gpu_context.h"
#include "platform/message_box.h"
#include "platform/process.h"

namespace app {
namespace {
void showStartFailure(const char* text) {
    platform::MessageBox(platform::translate("Startup", text),
                         platform::translate("Startup", kStartFailureCaption), MB_ICONERROR);
}
}  // namespace

int runApplication(const std::function<void()>& runMainWindow) {
    gpu::GpuContext context;
    if (context.driverMissing()) {
        showStartFailure(kStartFailureText);
        return 0;
    }
    gpu::GlobalContextScope global(context);
    // Settings, pictures and the font are found beside the executable whatever
    // directory the program was started from; what it writes goes there too
    // unless that folder is installed or not the user's to write.
    if (!platform::enterWorkingDir()) {
        // An installed program never falls back to writing among its own files.
        showStartFailure(kNoSettingsFolderText);
        return 1;
    }
    if (runMainWindow) runMainWindow();
    return 0;
}

}  // namespace app
