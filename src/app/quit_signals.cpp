#include "app/quit_signals.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>

#include "gpu/emergency_hand_back.h"

namespace app {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM};
// A repeat this soon after the first signal is the same request (a closing
// terminal sends SIGHUP then SIGTERM); later, the event loop counts as stuck.
constexpr int64_t kStuckAfterNs = 2'000'000'000;
int g_pipe[2] = {-1, -1};
std::atomic<bool> g_pending{false};
std::atomic<int64_t> g_firstAt{0};
struct sigaction g_previous[std::size(kSignals)];
struct sigaction g_previousPipe;

int64_t monotonicNs() {
    timespec t = {};
    clock_gettime(CLOCK_MONOTONIC, &t);  // async-signal-safe
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

void onSignal(int signal) {
    const int saved = errno;
    if (g_pending.exchange(true)) {
        if (monotonicNs() - g_firstAt.load() < kStuckAfterNs) {
            errno = saved;
            return;
        }
        // Still not handled: the event loop is stuck. Hand the fan back from
        // here, then end the default way.
        gpu::emergencyHandBack();
        std::signal(signal, SIG_DFL);
        raise(signal);
        errno = saved;
        return;
    }
    g_firstAt = monotonicNs();
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
    for (int s : kSignals) sigaddset(&action.sa_mask, s);  // one handler at a time
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &action, &g_previous[i]);
    // A closed pipe or socket is a failed write, not the end of the program.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &g_previousPipe);
}

QuitSignals::~QuitSignals() {
    if (!m_notifier) return;
    for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
    sigaction(SIGPIPE, &g_previousPipe, nullptr);
    m_notifier.reset();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void QuitSignals::drain() {
    unsigned char byte = 0;
    int last = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) last = byte;
    // g_pending stays set: the program is ending, and a further signal long
    // after this one means it is stuck.
    if (last && m_onQuit) m_onQuit(last);
}

}  // namespace app
