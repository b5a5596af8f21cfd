#include "app/update_checker.h"

#include <QCoreApplication>
#include <QPointer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/update_description.h"
#include "app/update_download.h"
#include "gpu/tuning.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/qt_message_box.h"
#include "platform/window.h"
#include "settings/file_access.h"
#include "settings/settings_location.h"
#include "settings/settings_writer.h"

#ifndef VANTREL_UPDATE_URL
#define VANTREL_UPDATE_URL ""
#endif

namespace app {
namespace {

std::optional<UpdateCheckOptions>& replacedDefaults() {
    static std::optional<UpdateCheckOptions> options;
    return options;
}

std::string translated(const char* source) {
    return QCoreApplication::translate("UpdateChecker", source).toStdString();
}

std::string inFolder(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}

// One check from download to outcome. It lives on its own, not as a child of the
// window that asked, so closing a settings page does not drop an answer on its way.
class UpdateCheck : public QObject {
  public:
    enum class Form { Scheduled, Manual };

    UpdateCheck(Form form, QWidget& owner, UpdateCheckOptions options)
        : QObject(QCoreApplication::instance()),
          m_form(form),
          m_owner(&owner),
          m_options(std::move(options)) {}

    void start() {
        s_running = this;
        std::string base = m_options.baseUrl;
        while (!base.empty() && base.back() == '/') base.pop_back();
        const QUrl url(QString::fromStdString(base + kUpdateDescriptionResource));
        m_download =
            std::make_unique<UpdateDownload>(url, DownloadLimits{m_options.timeout},
                                             [this](std::optional<QByteArray> body) { onDownloaded(body); });
        m_download->start();
    }

    static inline QPointer<UpdateCheck> s_running;

  private:
    void onDownloaded(const std::optional<QByteArray>& body) {
        if (!body) return conclude(UpdateOutcome::DownloadFailed);
        const std::string path = inFolder(m_options.descriptionFolder, kUpdateDescriptionName);
        const int32_t installed = settings::SettingsReader().read(settings::keys::kVersion);
        if (!offersNewerVersion(std::string_view(body->constData(), size_t(body->size())), installed)) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
            return conclude(UpdateOutcome::NotNewer);
        }
        // The earlier copy is replaced only by a complete one.
        if (!settings::replaceFileAtomically(path, std::string_view(body->constData(), size_t(body->size()))))
            return conclude(UpdateOutcome::DownloadFailed);
        // The main window closing meanwhile ends the program: nothing to offer then.
        if (m_form == Form::Scheduled && (!mainWindow() || mainWindow()->IsDestroyed()))
            return conclude(UpdateOutcome::Declined);

        int answer;
        {
            platform::MessageBoxOwner boxOwner(m_owner);
            answer = platform::MessageBox(translated(kUpdateOfferText), translated(kUpdateOfferCaption),
                                          MB_YESNO | MB_ICONQUESTION);
        }
        if (answer != IDYES) return conclude(UpdateOutcome::Declined);

        const std::string updater = inFolder(m_options.programFolder, kUpdaterName);
        const std::string error = platform::startProcess(updater, {updater}, m_options.descriptionFolder);
        if (!error.empty()) {
            platform::MessageBoxOwner boxOwner(m_owner);
            platform::MessageBox(
                QCoreApplication::translate("UpdateChecker", "The updater \"%1\" could not be started: %2.")
                    .arg(QString::fromStdString(updater), QString::fromStdString(error))
                    .toStdString(),
                translated(kUpdateOfferCaption), MB_OK | MB_ICONERROR);
            return conclude(UpdateOutcome::UpdaterFailed);
        }
        if (m_form == Form::Scheduled) {
            if (mainWindow()) mainWindow()->PostMessage(WM_CLOSE);
            return conclude(UpdateOutcome::UpdaterStarted);
        }
        // "Check now" ends at once, without any window's closing steps; the fan is
        // the user's, so it goes back to the driver first.
        if (m_options.handFanBack) m_options.handFanBack();
        conclude(UpdateOutcome::UpdaterStarted);
        if (m_options.endProcess) m_options.endProcess();
    }

    platform::Window* mainWindow() const { return qobject_cast<platform::Window*>(m_owner.data()); }

    void conclude(UpdateOutcome outcome) {
        if (s_running == this) s_running = nullptr;
        if (m_options.finished) m_options.finished(outcome);
        deleteLater();
    }

    Form m_form;
    QPointer<QWidget> m_owner;
    UpdateCheckOptions m_options;
    std::unique_ptr<UpdateDownload> m_download;
};

bool startCheck(UpdateCheck::Form form, QWidget& owner, const UpdateCheckOptions& options) {
    if (updateCheckRunning()) return false;
    (new UpdateCheck(form, owner, options))->start();
    return true;
}

}  // namespace

std::string updateBaseUrl() {
    const char* environment = std::getenv("VANTREL_UPDATE_URL");
    return environment && *environment ? environment : VANTREL_UPDATE_URL;
}

UpdateCheckOptions defaultUpdateCheckOptions() {
    if (replacedDefaults()) return *replacedDefaults();
    UpdateCheckOptions options;
    options.baseUrl = updateBaseUrl();
    options.descriptionFolder = settings::documentFolder();
    options.programFolder = platform::executableDir();
    options.calendar = localCalendarDay;
    options.handFanBack = [] { gpu::restoreFanDefault(); };
    options.endProcess = [] {
        // As the runtime's exit would, minus the destructors of a still-running
        // window system, which are not safe to run from inside its event loop.
        std::fflush(nullptr);
        std::_Exit(0);
    };
    return options;
}

void setDefaultUpdateCheckOptions(std::optional<UpdateCheckOptions> options) {
    replacedDefaults() = std::move(options);
}

bool CheckForUpdate(platform::Window& mainWindow, const UpdateCheckOptions& options) {
    if (!options.checkAtStart || updateCheckRunning()) return false;
    settings::SettingsWriter document;
    if (!takeScheduledCheck(document, options.calendar ? options.calendar() : localCalendarDay()))
        return false;
    return startCheck(UpdateCheck::Form::Scheduled, mainWindow, options);
}

bool CheckNow(QWidget& owner, const UpdateCheckOptions& options) {
    return startCheck(UpdateCheck::Form::Manual, owner, options);
}

bool updateCheckRunning() {
    return !UpdateCheck::s_running.isNull();
}

}  // namespace app
