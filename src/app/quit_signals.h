// The quit signals (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM)
// become a call on the UI thread, so the program ends through its normal close
// path and hands the fan back to the driver. SIGPIPE is ignored meanwhile.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace app {

class QuitSignals {
  public:
    // Installs the handlers; `onQuit` runs from the event loop, once per burst of
    // signals. Further signals within two seconds of the first are absorbed;
    // one that comes later, while the first is still not handled, finds the
    // loop stuck: it hands the fan back from the handler and ends the process
    // the default way, so a hung program can still be stopped.
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
