#include "app/exit_hand_back.h"

#include <signal.h>

#include <atomic>
#include <cstdlib>
#include <iterator>

#include "gpu/emergency_hand_back.h"
#include "gpu/tuning.h"

namespace app {

namespace {

constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction g_previous[std::size(kCrashSignals)];
std::atomic<bool> g_installed{false};
std::atomic<bool> g_crashHandled{false};
// The handler runs here, so a stack overflow can still hand the fan back.
alignas(16) char g_altStack[64 * 1024];

// A crash signal: one best-effort hand-back through the entries resolved while
// the program was sound (the driver itself may be what crashed; a second crash
// in there meets the previous action at once, as does any later crash signal).
// Then the previous action (the default: die of this signal, or a sanitizer's
// report) is put back and meets the same signal: a fault raised by an
// instruction recurs when the handler returns, a sent one is raised again.
void onCrash(int signal, siginfo_t* info, void*) {
    if (!g_crashHandled.exchange(true)) gpu::emergencyHandBack();
    for (size_t i = 0; i < std::size(kCrashSignals); ++i)
        if (kCrashSignals[i] == signal) sigaction(signal, &g_previous[i], nullptr);
    if (!info || info->si_code <= 0) raise(signal);
}

// exit() while the driver is still loaded skipped the close path.
void onExit() {
    if (gpu::emergencyHandBackArmed()) gpu::restoreEveryFan();
}

}  // namespace

ExitHandBack::ExitHandBack() {
    gpu::armEmergencyHandBack();
    static const bool hooked = std::atexit(onExit) == 0;
    (void)hooked;
    if (g_installed.exchange(true)) return;
    stack_t stack = {};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action = {};
    action.sa_sigaction = onCrash;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    for (size_t i = 0; i < std::size(kCrashSignals); ++i)
        sigaction(kCrashSignals[i], &action, &g_previous[i]);
}

ExitHandBack::~ExitHandBack() {
    if (!g_installed.exchange(false)) return;
    for (size_t i = 0; i < std::size(kCrashSignals); ++i)
        sigaction(kCrashSignals[i], &g_previous[i], nullptr);
}

}  // namespace app
