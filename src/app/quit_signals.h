// SIGINT, SIGTERM and SIGHUP become a call on the UI thread, so the program can
// end through its normal close path and hand the fan back to the driver.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace app {

class QuitSignals {
  public:
    // Installs the handlers; `onQuit` runs from the event loop, once per burst of
    // signals. A second signal that arrives before the first was handled ends
    // the process the default way, so a hung program can still be stopped.
    explicit QuitSignals(std::function<void(int signal)> onQuit);
    // Restores the previous handlers.
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    bool active() const { return m_notifier != nullptr; }

  private:
    void drain();

    std::function<void(int)> m_onQuit;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace app
