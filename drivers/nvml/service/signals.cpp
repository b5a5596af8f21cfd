#include "signals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "bridge.h"

namespace vantreld {
namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM};
constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr unsigned kMaxDevices = 64;

// Everything the handler touches is set before it is installed and never allocated.
nvml::SetDefaultFanSpeedFn setDefaultFanSpeed = nullptr;
nvmlDevice_t devices[kMaxDevices] = {};
unsigned fanCounts[kMaxDevices] = {};
unsigned deviceCount = 0;
std::atomic<uint64_t> held{0};
alignas(16) char alternateStack[64 * 1024];

void say(const char* text) {
    (void)!::write(STDERR_FILENO, text, std::strlen(text));
}

void onFault(int sig) {
    // Once, even if the hand-back itself faults.
    const uint64_t fans = held.exchange(0);
    if (fans != 0 && setDefaultFanSpeed) {
        // A fault inside NVML may leave its lock held: a hand-back that hangs ends by SIGALRM.
        ::signal(SIGALRM, SIG_DFL);
        sigset_t alarm;
        sigemptyset(&alarm);
        sigaddset(&alarm, SIGALRM);
        sigprocmask(SIG_UNBLOCK, &alarm, nullptr);
        ::alarm(2);
        say("vantreld: fatal signal; giving the held fans back to the driver\n");
        for (unsigned p = 0; p < deviceCount; ++p)
            if (fans & (uint64_t{1} << p))
                for (unsigned fan = 0; fan < fanCounts[p]; ++fan) setDefaultFanSpeed(devices[p], fan);
    }
    // SA_RESETHAND left the default action: the signal, blocked in here, kills on return.
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

}  // namespace

int stopSignalFd() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kStopSignals) sigaddset(&set, s);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) return -1;
    ::signal(SIGPIPE, SIG_IGN);
    return signalfd(-1, &set, SFD_CLOEXEC);
}

void CrashHandBack::install() {
    nvml_bridge::Bridge& b = nvml_bridge::bridge();
    if (b.initialized()) {
        setDefaultFanSpeed = b.fn().setDefaultFanSpeed;
        deviceCount = static_cast<unsigned>(std::min<std::size_t>(b.devices().size(), kMaxDevices));
        for (unsigned p = 0; p < deviceCount; ++p) {
            devices[p] = b.devices()[p].nvml;
            fanCounts[p] = b.devices()[p].fanCount;
        }
    }
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    ::sigaltstack(&stack, nullptr);  // a stack overflow still gets its hand-back
    struct sigaction action {};
    action.sa_handler = onFault;
    action.sa_flags = SA_RESETHAND | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int s : kFaultSignals) sigaction(s, &action, nullptr);
}

void CrashHandBack::setHeld(uint64_t positions) {
    held.store(positions);
}

}  // namespace vantreld
