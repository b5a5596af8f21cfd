#include "app/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace app {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
int g_pipe[2] = {-1, -1};
std::atomic<bool> g_pending{false};
struct sigaction g_previous[3];

void onSignal(int signal) {
    if (g_pending.exchange(true)) {
        // Still not handled: the event loop is stuck. End the default way.
        std::signal(signal, SIG_DFL);
        raise(signal);
        return;
    }
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

QuitSignals::QuitSignals(std::function<void(int)> onQuit) : m_onQuit(std::move(onQuit)) {
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;  // one instance at a time
    g_pending = false;
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { drain(); });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &action, &g_previous[i]);
}

QuitSignals::~QuitSignals() {
    if (!m_notifier) return;
    for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
    m_notifier.reset();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void QuitSignals::drain() {
    unsigned char byte = 0;
    int last = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) last = byte;
    // g_pending stays set: the program is ending, and a further signal means it is stuck.
    if (last && m_onQuit) m_onQuit(last);
}

}  // namespace app
