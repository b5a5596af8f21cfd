// vantreld: the root service that alone writes to the card on behalf of the program.
//   vantreld [--socket PATH] [--group NAME]
// Without systemd's socket it binds PATH (VANTREL_SERVICE_SOCKET, else /run/vantrel/vantreld.sock).
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bridge.h"
#include "daemon.h"
#include "listen_socket.h"
#include "service_protocol.h"

int main(int argc, char** argv) {
    std::string path = vantrel_service::socketPath();
    std::string group = "vantrel";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--socket" || arg == "--group") && i + 1 < argc) {
            (arg == "--socket" ? path : group) = argv[++i];
        } else {
            std::fprintf(stderr, "usage: vantreld [--socket PATH] [--group NAME]\n");
            return 2;
        }
    }
    std::setvbuf(stderr, nullptr, _IOLBF, 0);

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    signal(SIGPIPE, SIG_IGN);

    bool bound = false;
    int listenFd = vantreld::activatedSocket();
    if (listenFd < 0) {
        std::string error;
        listenFd = vantreld::bindSocket(path, group, error);
        if (listenFd < 0) {
            std::fprintf(stderr, "vantreld: %s\n", error.c_str());
            return 1;
        }
        bound = true;
    }

    // The bridge inside the service writes to NVML itself. Without NVML the service still
    // answers, so that clients are told at once instead of waiting.
    nvml_bridge::Bridge& bridge = nvml_bridge::bridge();
    bridge.service().disable();
    if (bridge.initialize() == nvapi::OK)
        std::fprintf(stderr, "vantreld: serving %zu GPU(s) at %s\n", bridge.devices().size(),
                     bound ? path.c_str() : "the socket systemd passed");
    else
        std::fprintf(stderr, "vantreld: NVML did not start; every write is answered with an error\n");

    vantreld::Daemon(listenFd).run(stopFd);

    bridge.unload();
    if (bound) ::unlink(path.c_str());
    std::fprintf(stderr, "vantreld: stopped\n");
    return 0;
}
