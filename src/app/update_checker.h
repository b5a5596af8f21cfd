// The update check: fetch the maker's description of the newest version, compare
// it with the installed one and, when it is newer, offer to start the updater.
// It runs on the event loop; the window that asked goes on meanwhile.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "app/update_schedule.h"
#include "platform/translation.h"

class QWidget;
namespace platform {
class Window;
}

namespace app {

inline constexpr const char* kUpdateOfferCaption =
    QT_TRANSLATE_NOOP("UpdateChecker", "New version available");
inline constexpr const char* kUpdateOfferText = QT_TRANSLATE_NOOP(
    "UpdateChecker", "A newer version of Vantrel is available. Do you want to download it now?");
inline constexpr const char* kUpdaterName = "VantrelUpdate";

enum class UpdateOutcome {
    DownloadFailed,  // nothing shown, nothing changed
    NotNewer,        // the description is deleted
    Declined,        // the description stays
    UpdaterStarted,  // the program ends
    UpdaterFailed,   // the user was told; the program goes on
};

struct UpdateCheckOptions {
    std::string baseUrl;            // the description is at baseUrl + kUpdateDescriptionResource
    std::string descriptionFolder;  // where "VantrelUpdate.xml" is kept; "" is the current directory
    std::string programFolder;      // where the updater lies
    std::chrono::milliseconds timeout{15000};
    bool checkAtStart = true;           // false: CheckForUpdate never checks (offscreen snapshots)
    Calendar calendar;                  // today, for the schedule
    std::function<void()> handFanBack;  // before "Check now" ends the process
    std::function<void()> endProcess;   // ends "Check now"'s process
    std::function<void(UpdateOutcome)> finished;
};

// The base address: VANTREL_UPDATE_URL from the environment, else the one the
// program was built with ("" when none: every check then fails quietly).
std::string updateBaseUrl();

// What a check runs with unless told otherwise: the base address above, the
// settings document's folder, the executable's folder, the local calendar, the
// fan handed back through the GPU layer, the process ended with status 0.
UpdateCheckOptions defaultUpdateCheckOptions();
// Replaces those defaults (tests); nullopt restores them.
void setDefaultUpdateCheckOptions(std::optional<UpdateCheckOptions> options);

// The scheduled check at start. When the schedule makes one due, the stamps are
// saved and the download starts; true then. The offer belongs to the main window,
// which is sent WM_CLOSE once the updater runs.
bool CheckForUpdate(platform::Window& mainWindow,
                    const UpdateCheckOptions& options = defaultUpdateCheckOptions());

// "Check now": the same check at once, whatever the schedule, stamps untouched;
// the offer belongs to `owner`. Once the updater runs, the fan goes back to the
// driver and the process ends without the windows' closing steps. False when a
// check is already running (one at a time).
bool CheckNow(QWidget& owner, const UpdateCheckOptions& options = defaultUpdateCheckOptions());

// Whether a check is between its start and its outcome.
bool updateCheckRunning();

}  // namespace app
